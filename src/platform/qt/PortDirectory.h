#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace zorneta {

// Which device each serial port number 1..16 stands for.
//
// On Linux port n is, unless bound otherwise, the n-th serial device present:
// first the USB adapters /dev/ttyUSB*, then the USB modems /dev/ttyACM*, each
// family in natural numeric order (ttyUSB2 before ttyUSB10), then the built-in
// ports /dev/ttyS* in numeric order. The device list is read again on every
// look-up, so an adapter plugged in while the program runs is found. A number
// can be bound to any device path (a pseudo-terminal of the simulator, a
// symbolic link made by udev...), which takes precedence over the scan.
//
// On Windows port n is "COMn".
class PortDirectory {
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    // Scans /dev (on Windows: names COM1..COM16).
    PortDirectory();

    // A directory whose scan reads the given device directory instead of /dev.
    static PortDirectory scanning(const QString &deviceDirectory);
    // A directory whose scan returns the given paths (only the serial device
    // families above are kept, and ordered as above).
    static PortDirectory withCandidates(const QStringList &devicePaths);

    // Binds port `number` to `path`. Fails (false, *error set) for a number
    // outside 1..16 or an empty path.
    bool bind(int number, const QString &path, QString *error = nullptr);
    void unbind(int number);
    bool isBound(int number) const { return m_bound.contains(number); }

    // The device port `number` stands for; empty when there is none.
    QString devicePath(int number) const;
    // "Com3 (/dev/ttyUSB0)", "Com5 (нет устройства)", for display.
    QString describe(int number) const;
    // "Com3".
    static QString portName(int number);
    static bool isValidNumber(int number) { return number >= FirstPort && number <= LastPort; }

    // The serial devices in port order, as the scan finds them now (bindings
    // not applied).
    QStringList scannedDevices() const;

    // Reads a binding "N=PATH" as given to the --com option. Fails (false,
    // *error set, outputs untouched) when there is no "=", N is not a number
    // 1..16 or PATH is empty.
    static bool parseBinding(const QString &text, int *number, QString *path, QString *error = nullptr);

    // Keeps the serial device paths among `paths` and puts them in port order.
    static QStringList orderDevices(const QStringList &paths);
    // The serial devices found in `deviceDirectory`, in port order.
    static QStringList scanDirectory(const QString &deviceDirectory);

private:
    std::function<QStringList()> m_scan;
    QMap<int, QString> m_bound;
};

} // namespace zorneta
