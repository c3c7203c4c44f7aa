#pragma once

#include <QString>

namespace zorneta::sim {

// A pseudo-terminal pair standing in for a serial cable: the program opens the
// device path (the slave side) as its serial port, the simulated regulator
// reads and writes the master side.
//
// The slave side is kept open here in raw mode, so the line stays up while the
// program closes and reopens its port, as a real device stays connected.
class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    // Opens the pair; on failure returns false and sets *error.
    bool open(QString *error = nullptr);
    // Closes both sides: to the program it looks like an unplugged adapter.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    QString devicePath() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};

} // namespace zorneta::sim
