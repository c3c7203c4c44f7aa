#include "shell/MonitorFeed.h"

#include "acquisition/PortReconnect.h"
#include "platform/SerialPort.h"
#include "settings/AlarmTemperature.h"
#include "shell/HeadlessRecorder.h"
#include "shell/TerminalLogic.h"
#include "web/MonitorModel.h"
#include "web/WebServer.h"

#include <QDateTime>
#include <QFileInfo>

namespace zorneta {

MonitorFeed::MonitorFeed(TerminalLogic &logic, const web::ServeConfig &config, QObject *parent)
    : QObject(parent), m_logic(logic),
      m_model(std::make_unique<web::MonitorModel>(QDateTime::currentMSecsSinceEpoch())),
      m_server(std::make_unique<web::WebServer>(*m_model, config)) {
    m_seen = logic.state().pointCount;
    // Connected after the reading handler: runs when it has stored the reading.
    connect(&logic.services().port, &SerialPort::commEventRaised, this, &MonitorFeed::lineEvent);
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

void MonitorFeed::lineEvent() {
    const int code = m_logic.services().port.commEvent();
    if (code >= CommEvents::Break)
        m_model->countFault(code);
    takeReadings();
    takeLine();
}

void MonitorFeed::takeReadings() {
    const SessionState &state = m_logic.state();
    // A new session starts its count again; the model's numbering goes on.
    if (state.pointCount < m_seen)
        m_seen = 0;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (qint64 point = m_seen + 1; point <= state.pointCount; ++point) {
        if (!state.readings.isNumber(2, point))
            continue;
        const double value = state.readings.number(2, point);
        if (value == ReadingPipeline::BreakValue)
            m_model->addBreak(now);
        else
            m_model->addReading(now, value);
    }
    m_seen = state.pointCount;
}

void MonitorFeed::takeState() {
    takeLine();
    RecordingFile &recording = m_logic.recording();
    if (recording.isOpen()) {
        if (!m_recordingSeen)
            m_model->setRecordingStarted(QDateTime::currentMSecsSinceEpoch());
        m_recordingSeen = true;
        m_model->setRecording(recording.logFilePath(), QFileInfo(recording.logFilePath()).size());
    } else {
        m_recordingSeen = false;
        m_model->setRecordingStarted(std::nullopt);
        m_model->setRecording(QString(), 0);
    }
}

void MonitorFeed::takeLine() {
    const SerialPort &port = m_logic.services().port;
    const SessionState &state = m_logic.state();
    using Line = web::MonitorModel::LineState;
    m_model->setLineState(port.portOpen()                               ? Line::Open
                          : m_logic.portControl().reconnect().waiting() ? Line::LostWaiting
                                                                        : Line::Closed);
    const bool alarmSet = state.temperature != 0 && state.temperature != AlarmTemperature::NoTemperature;
    m_model->setAlarm(alarmSet ? std::optional<double>(double(state.temperature)) : std::nullopt);
    m_model->setAlarmReached(alarmSet && state.alarmCount > 0);
}

} // namespace zorneta
