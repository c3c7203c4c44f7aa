#include "shell/MonitorFeed.h"

#include "acquisition/AcquisitionCore.h"
#include "platform/SerialPort.h"
#include "settings/AlarmTemperature.h"
#include "shell/HeadlessRecorder.h"
#include "web/MonitorModel.h"
#include "web/WebServer.h"

#include <QDateTime>
#include <QFileInfo>

namespace zorneta {

MonitorFeed::MonitorFeed(AcquisitionCore &core, const web::ServeConfig &config, QObject *parent)
    : QObject(parent), m_core(core), m_model(std::make_unique<web::MonitorModel>(QDateTime::currentMSecsSinceEpoch())),
      m_server(std::make_unique<web::WebServer>(*m_model, config)) {
    ReadingPipeline &pipeline = core.pipeline();
    connect(&pipeline, &ReadingPipeline::readingStored, this, [this](qint64, double value) { takeReading(value); });
    connect(&pipeline, &ReadingPipeline::lineFault, this, [this](int code) {
        if (code >= CommEvents::Break)
            m_model->countFault(code);
    });
    connect(&pipeline, &ReadingPipeline::eventDone, this, &MonitorFeed::takeLine);
    // The reconnection and the recording change without a line event.
    m_poll.setInterval(250);
    connect(&m_poll, &QTimer::timeout, this, &MonitorFeed::takeState);
    m_poll.start();
    takeState();
}

MonitorFeed::~MonitorFeed() = default;

bool MonitorFeed::start(QString *error) {
    return m_server->listen(error);
}

web::MonitorModel &MonitorFeed::model() {
    return *m_model;
}

web::WebServer &MonitorFeed::server() {
    return *m_server;
}

void MonitorFeed::receptionEnded(int status) {
    takeState();
    m_model->setEnded(status == HeadlessRecorder::ThermocoupleBreak
                          ? QStringLiteral("обрыв в цепи термопары, порт закрыт")
                          : QStringLiteral("порт потерян или файл записи недоступен"));
}

void MonitorFeed::takeReading(double value) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (value == ReadingPipeline::BreakValue)
        m_model->addBreak(now);
    else
        m_model->addReading(now, value);
}

void MonitorFeed::takeState() {
    takeLine();
    const RecordWriter &recording = m_core.record();
    if (recording.isOpen()) {
        if (!m_recordingSeen)
            m_model->setRecordingStarted(QDateTime::currentMSecsSinceEpoch());
        m_recordingSeen = true;
        m_model->setRecording(recording.path(), QFileInfo(recording.path()).size());
    } else {
        m_recordingSeen = false;
        m_model->setRecordingStarted(std::nullopt);
        m_model->setRecording(QString(), 0);
    }
}

void MonitorFeed::takeLine() {
    const SerialPort &port = m_core.port();
    const SessionState &state = m_core.state();
    using Line = web::MonitorModel::LineState;
    m_model->setLineState(port.portOpen()                ? Line::Open
                          : m_core.reconnect().waiting() ? Line::LostWaiting
                                                         : Line::Closed);
    const bool alarmSet = state.temperature != 0 && state.temperature != AlarmTemperature::NoTemperature;
    m_model->setAlarm(alarmSet ? std::optional<double>(double(state.temperature)) : std::nullopt);
    m_model->setAlarmReached(alarmSet && state.alarmCount > 0);
}

} // namespace zorneta
