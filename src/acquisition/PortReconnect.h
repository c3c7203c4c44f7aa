#pragma once

#include <QObject>
#include <QTimer>

namespace zorneta {

class SerialPort;

// Brings the line back after its device went away.
//
// While reception is on, a fault that closes the port (an adapter pulled out,
// a regulator switched off) does not end it: the same port number is tried
// again every PollIntervalMs until it opens, so the same device path, or the
// device the number maps to again, is reopened with the same settings.
// Reception then goes on in the same session (counter, table, start time) and
// into the same recording file. Ending reception on purpose (closing the port,
// Cancel in the line-error question, a thermocouple break, the program's end)
// stops the waiting.
class PortReconnect : public QObject {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 500;

    explicit PortReconnect(SerialPort &port);

    // On by default; off, a lost port stays closed.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // Reception started: a loss from now on is waited out.
    void receptionStarted();
    // Reception ended on purpose: nothing is waited for any more.
    void receptionEnded();

    // How often the lost port is tried again (PollIntervalMs unless set).
    void setPollInterval(int ms) { m_poll.setInterval(ms); }

    bool waiting() const { return m_waiting; }
    // Reception is on: started and not ended on purpose.
    bool receiving() const { return m_receiving; }
    const QTimer &pollTimer() const { return m_poll; }

Q_SIGNALS:
    void lineLost();
    void lineRestored();

private:
    void openChanged(bool open);
    void tryReopen();

    SerialPort &m_port;
    QTimer m_poll;
    bool m_enabled = true;
    bool m_receiving = false;
    bool m_waiting = false;
};

} // namespace zorneta
