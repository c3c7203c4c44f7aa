#pragma once

#include "simulator/PtyPair.h"
#include "simulator/TemperatureProfile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace zorneta::sim {

// The value a regulator sends when its thermocouple circuit is broken.
constexpr int BreakValue = 9999;

// One group on the line: four decimal digits, CR, LF ("0020\r\n"). Values
// outside 0..9999 are clamped.
QByteArray formatGroup(int value);
// The group sent in place of a reading spoiled on the line: six bytes ending in
// CR LF, not four digits before them.
QByteArray garbledGroup();

struct SimOptions {
    int periodMs = 640; // one group every period
    // When above 0, one group every this many microseconds in place of
    // periodMs (groups due are sent on a 1 ms tick, so rates above 1000 a
    // second go out a few at a time).
    int periodMicros = 0;
    // Reading numbers count from 1.
    qint64 breakAt = -1;    // this reading is sent as 9999; -1 for none
    QList<qint64> garbleAt; // these readings are sent garbled
    bool split = false;     // every group goes out in pieces of 2, 3 and 1 bytes a few ms apart
    qint64 burstAt = -1;    // readings burstAt .. burstAt+burstCount-1 go out in one write; -1 for none
    int burstCount = 3;
    bool echoReceived = false; // report what the program sends through bytesReceived
    double speedup = 1.0;      // the heating program runs this many times faster
    HeatingProgram program;
};

// A thermoregulator on the far end of a pseudo-terminal: the program under
// test opens devicePath() as its serial port and receives a group every
// period, the temperature following the heating program.
//
// The line never blocks: when the kernel buffer is full (nobody reads the
// port) the group is dropped, as on a cable with no listener, and counted in
// groupsDropped(). A group the kernel takes only in part is dropped too; the
// program sees a truncated group, as after an overrun.
class ThermoSimulator : public QObject {
    Q_OBJECT
public:
    explicit ThermoSimulator(const SimOptions &options = {}, QObject *parent = nullptr);
    ~ThermoSimulator() override;

    const SimOptions &options() const { return m_options; }
    const TemperatureProfile &profile() const { return m_profile; }

    // Opens the pseudo-terminal unless already open and starts sending. On
    // failure returns false and sets *error. Reading numbers carry on across
    // stop(), unplug() and a new start(): it is the same regulator.
    bool start(QString *error = nullptr);
    // Stops sending; the device stays plugged in, silent.
    void stop();
    // Stops sending and closes the pseudo-terminal: the program's port sees
    // the device vanish. start() plugs in a new one (its path may differ).
    void unplug();

    bool isRunning() const;
    bool isPlugged() const { return m_pty.isOpen(); }
    // The path the program opens; empty while unplugged.
    QString devicePath() const;

    qint64 groupsSent() const { return m_values.size(); }
    qint64 groupsDropped() const { return m_dropped; }
    // The value of every group sent, in order; garbled groups as -1.
    QList<int> valuesSent() const { return m_values; }
    // Seconds since the first start at which the given reading is taken, on
    // the profile's clock (readings come one period apart).
    double secondsAtReading(qint64 reading) const;

    // Puts arbitrary bytes on the line at once, in one write. Returns false
    // unless the kernel took them all.
    bool writeRaw(const QByteArray &bytes);

Q_SIGNALS:
    // A whole group is on the line; index is its reading number.
    void groupWritten(int index, QByteArray bytes);
    // Each write to the line as it happened: a piece of a split group, a
    // whole group, a burst, or what writeRaw() put there.
    void chunkWritten(QByteArray bytes);
    // Bytes the program sent to the regulator (with echoReceived only).
    void bytesReceived(QByteArray bytes);

private:
    struct Reading {
        qint64 index = 0;
        int value = 0; // -1 when garbled
        QByteArray bytes;
    };

    Reading reading(qint64 index) const;
    void tick();
    void sendNext();
    void writeNextPiece();
    void finishPieces();
    bool writeChunk(const QByteArray &bytes);
    void record(const QList<Reading> &readings, bool written);
    void readAvailable();
    void dropPending();

    SimOptions m_options;
    TemperatureProfile m_profile;
    PtyPair m_pty;
    QTimer *m_timer = nullptr;
    QTimer *m_pieceTimer = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    qint64 m_nextReading = 1;
    // With periodMicros: since the last start, and the groups sent since.
    QElapsedTimer m_paceClock;
    qint64 m_pacedSends = 0;
    QList<int> m_values;
    qint64 m_dropped = 0;
    // The split group being written piece by piece.
    Reading m_pending;
    int m_pendingOffset = 0;
    int m_pendingPiece = 0;
    bool m_pendingFailed = false;
};

} // namespace zorneta::sim
