#pragma once

#include <QObject>
#include <QTimer>

namespace zorneta {

struct Services;

// Brings the line back after its device went away.
//
// While the user has the port open, a fault that closes it (an adapter
// pulled out, a regulator switched off) does not end reception: the same
// port number is tried again every PollIntervalMs until it opens, so the
// same device path, or the device the number maps to again, is reopened with
// the same settings. Reception then goes on in the same session (counter,
// table, start time) and into the same recording file. The status bar says
// what is happening. The line-error question about the loss is asked as
// before; its Cancel, the user closing the port, a thermocouple break and the
// program's end stop the waiting.
//
// The loss is noticed on the first event raised after it (connected to the
// port before the reading handler, so the waiting is under way while the
// handler asks about the fault).
class PortReconnect : public QObject {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 500;

    // `connectionTimer` is the status bar's connection timer: it runs on
    // after the line is back, counting from the same start.
    PortReconnect(Services &services, QTimer &connectionTimer);

    // On by default; off, a lost port stays closed.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // The user opened the port: a loss from now on is waited out.
    void receptionStarted();
    // Reception ended on purpose: nothing is waited for any more.
    void receptionEnded();

    // How often the lost port is tried again (PollIntervalMs unless set).
    void setPollInterval(int ms) { m_poll.setInterval(ms); }

    bool waiting() const { return m_waiting; }
    const QTimer &pollTimer() const { return m_poll; }

Q_SIGNALS:
    void lineLost();
    void lineRestored();

private:
    void noticeLoss();
    void tryReopen();

    Services &m_services;
    QTimer &m_connectionTimer;
    QTimer m_poll;
    bool m_enabled = true;
    bool m_receiving = false;
    bool m_waiting = false;
};

} // namespace zorneta
