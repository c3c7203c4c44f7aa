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
    void mnuOpen_Click();

    // The closed port on the main window: menu check, picture, status bar
    // panels, and the connection timer stopped with the duration shown.
    void showPortClosed();

    void StartTiming();
    void ShowDuration();
    void Timer1_Timer();

    QTimer &Timer1() { return m_timer1; }

    // Waiting for a lost device to come back.
    PortReconnect &reconnect() { return m_reconnect; }

private:
    void showClosed();

    Services &m_services;
    SessionState &m_state;
    ChartModel &m_chart;
    QTimer m_timer1;
    PortReconnect m_reconnect;
};

} // namespace zorneta
