#pragma once

#include "web/ServeConfig.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace zorneta {

class AcquisitionCore;

namespace web {
class MonitorModel;
class WebServer;
} // namespace web

// The web endpoint of a running program, fed from the acquisition core: each
// stored reading and each line fault as the core reports it, and the line's
// state, the alarm, the recording file and its size after every line event
// and four times a second.
class MonitorFeed : public QObject {
    Q_OBJECT
public:
    MonitorFeed(AcquisitionCore &core, const web::ServeConfig &config, QObject *parent = nullptr);
    ~MonitorFeed() override;

    // Starts serving; false with a Russian *error.
    bool start(QString *error);
    // Reception has ended for good with the recorder's exit status: the
    // endpoint reports it and goes on serving.
    void receptionEnded(int status);

    web::MonitorModel &model();
    web::WebServer &server();

private:
    void takeReading(double value);
    // The line's state and the alarm (after every line event), and with them
    // the recording file's size (four times a second).
    void takeLine();
    void takeState();

    AcquisitionCore &m_core;
    std::unique_ptr<web::MonitorModel> m_model;
    std::unique_ptr<web::WebServer> m_server;
    QTimer m_poll;
    bool m_recordingSeen = false;
};

} // namespace zorneta
