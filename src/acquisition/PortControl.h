#pragma once

#include <QObject>
#include <QTimer>

namespace zorneta {

class AcquisitionCore;
class ChartModel;
class PortReconnect;
struct Services;
struct SessionState;

// Opening and closing the serial link from the main window, and the
// connection timer on the status bar.
class PortControl : public QObject {
    Q_OBJECT
public:
    PortControl(Services &services, AcquisitionCore &core, ChartModel &chart);

    // Toggles the port: menu "Открыть Порт", the toolbar's "PortOpen" and
    // "ClosePort", the two connection pictures.
    void togglePort();

    // The closed port on the main window: menu check, picture, status bar
    // panels, and the connection timer stopped with the duration shown.
    void showPortClosed();
    // The same, with the menu's check mark following the port.
    void showClosed();

    void startTiming();
    void showDuration();
    void showConnectionTime();
    // The connect-time panel's texts for `elapsed` ("hh:nn:ss"): while
    // receiving, and once reception has ended.
    static QString connectionTimeText(const QString &elapsed);
    static QString durationText(const QString &elapsed);

    QTimer &connectionTimer() { return m_connectionTimer; }

    // Waiting for a lost device to come back.
    PortReconnect &reconnect();

private:
    void askAboutPreviousSession();

    Services &m_services;
    AcquisitionCore &m_core;
    SessionState &m_state;
    ChartModel &m_chart;
    QTimer m_connectionTimer;
};

} // namespace zorneta
