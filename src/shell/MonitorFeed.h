#pragma once

#include "web/ServeConfig.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace zorneta {

class TerminalLogic;

namespace web {
class MonitorModel;
class WebServer;
} // namespace web

// The web endpoint of a running program, and the one place that reads the
// program's state for it: what the port, the session state, the reconnection
// and the recording show is turned into the facts of web::MonitorModel (each
// new stored reading, line faults by code, the line's state, the alarm, the
// recording file and its size), after every line event and four times a second.
class MonitorFeed : public QObject {
    Q_OBJECT
public:
    MonitorFeed(TerminalLogic &logic, const web::ServeConfig &config, QObject *parent = nullptr);
    ~MonitorFeed() override;

    // Starts serving; false with a Russian *error.
    bool start(QString *error);
    // Reception has ended for good with the recorder's exit status: the
    // endpoint reports it and goes on serving.
    void receptionEnded(int status);

    web::MonitorModel &model();
    web::WebServer &server();

private:
    void lineEvent();
    void takeReadings();
    // The line's state and the alarm (after every line event), and with them
    // the recording file's size (four times a second).
    void takeLine();
    void takeState();

    TerminalLogic &m_logic;
    std::unique_ptr<web::MonitorModel> m_model;
    std::unique_ptr<web::WebServer> m_server;
    QTimer m_poll;
    qint64 m_seen = 0;
    bool m_recordingSeen = false;
};

} // namespace zorneta
