#pragma once

#include "acquisition/PortReconnect.h"

#include <QObject>
#include <QTimer>

namespace zorneta {

class ChartModel;
struct Services;
struct SessionState;

// Opening and closing the serial link, the connection timer on the status bar.
class PortControl : public QObject {
    Q_OBJECT
public:
    PortControl(Services &services, SessionState &state, ChartModel &chart);

    // Toggles the port: menu "Открыть Порт", the toolbar's "PortOpen" and
    // "ClosePort", the two connection pictures, and the thermocouple break.
    void togglePort();

    // The closed port on the main window: menu check, picture, status bar
    // panels, and the connection timer stopped with the duration shown.
    void showPortClosed();

    void startTiming();
    void showDuration();
    void showConnectionTime();
    // The connect-time panel's texts for `elapsed` ("hh:nn:ss"): while
    // receiving, and once reception has ended.
    static QString connectionTimeText(const QString &elapsed);
    static QString durationText(const QString &elapsed);

    QTimer &connectionTimer() { return m_connectionTimer; }

    // Waiting for a lost device to come back.
    PortReconnect &reconnect() { return m_reconnect; }

private:
    void showClosed();

    Services &m_services;
    SessionState &m_state;
    ChartModel &m_chart;
    QTimer m_connectionTimer;
    PortReconnect m_reconnect;
};

} // namespace zorneta
