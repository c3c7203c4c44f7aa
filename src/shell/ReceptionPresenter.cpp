#include "shell/ReceptionPresenter.h"

#include "acquisition/AcquisitionCore.h"
#include "acquisition/PortControl.h"
#include "acquisition/TerminalOutput.h"
#include "chart/ChartModel.h"
#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/Beeper.h"
#include "platform/ChartSurface.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "recording/RecordingFile.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

ReceptionPresenter::ReceptionPresenter(Services &services, AcquisitionCore &core, PortControl &port, ChartModel &chart,
                                       TerminalOutput &output, RecordingFile &recording)
    : m_services(services), m_core(core), m_port(port), m_chart(chart), m_output(output), m_recording(recording) {
    ReadingPipeline &pipeline = core.pipeline();
    connect(&pipeline, &ReadingPipeline::lineShown, this, &ReceptionPresenter::showLine);
    connect(&pipeline, &ReadingPipeline::chartDue, this, [this] { m_chart.updateChart(); });
    connect(&pipeline, &ReadingPipeline::xDivisionsChanged, this, &ReceptionPresenter::applyXDivisions);
    connect(&pipeline, &ReadingPipeline::alarmReached, this, &ReceptionPresenter::showAlarm);
    connect(&pipeline, &ReadingPipeline::lineFault, this, &ReceptionPresenter::showFault);
    connect(&pipeline, &ReadingPipeline::eventDone, this, &ReceptionPresenter::showEventDone);
    connect(&core, &AcquisitionCore::thermocoupleBreak, this, &ReceptionPresenter::showBreak);
    connect(&core.reconnect(), &PortReconnect::lineLost, this, &ReceptionPresenter::showLineLost);
    connect(&core.reconnect(), &PortReconnect::lineRestored, this, &ReceptionPresenter::showLineRestored);
    connect(&core.record(), &RecordWriter::writeFailed, this, &ReceptionPresenter::askAboutWriteFailure);
    connect(&core.record(), &RecordWriter::fileRecreated, this, &ReceptionPresenter::showFileRecreated);
}

QString ReceptionPresenter::alarmText(qint64 temperature, const QDateTime &at) {
    return QStringLiteral("Достигнута заданная температура   \" ") + QString::number(temperature) +
           QStringLiteral(" \"  градусов в ") + timeWithDotsText(at);
}

void ReceptionPresenter::showLine(const QByteArray &line) {
    m_output.showLine(m_services.view.terminalBox(), line);
}

void ReceptionPresenter::applyXDivisions(int divisions) {
    (void)m_services.chart.setDivisionsPerTick(divisions);
    (void)m_services.chart.setDivisionsPerLabel(divisions);
}

void ReceptionPresenter::showAlarm(qint64 temperature, const QDateTime &at) {
    m_services.view.showAlarm(alarmText(temperature, at));
    for (int i = 0; i < AlarmBeeps; ++i)
        m_services.beeper.beep();
}

void ReceptionPresenter::showBreak(bool closed) {
    if (closed) {
        m_services.view.setItemChecked(menu::OpenPort, m_services.port.portOpen());
        m_port.showClosed();
    }
    m_services.prompts.showMessageBox(
        QStringLiteral("Зорнета:  Внимание - неисправность !"),
        QStringLiteral("Обнаружен обрыв в цепи Термопары. \n\nЗапись в файл  остановлена.  "
                       "Коммуникационный порт закрыт"),
        Prompts::Icon::Exclamation, Prompts::Buttons::Ok, Prompts::DefaultButton::First, nullptr);
}

void ReceptionPresenter::showFault(int, const QString &text, const QDateTime &at) {
    MainView &view = m_services.view;
    view.setPanelText(panel::Status, text + QStringLiteral("  ") + timeOfDayText(at));
    if (m_errorQuestionOpen) {
        // The question about an earlier fault is still open: its answer
        // decides for this one too, so questions never pile up.
        return;
    }
    for (int i = 0; i < ErrorBeeps; ++i)
        m_services.beeper.beep();
    m_errorQuestionOpen = true;
    m_services.prompts.showMessageBox(
        QStringLiteral("Зорнета:   Ошибка коммуникационного Порта"),
        text + QStringLiteral("\n\nОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"),
        Prompts::Icon::Critical, Prompts::Buttons::OkCancel, Prompts::DefaultButton::First,
        [this](Prompts::Answer answer) {
            m_errorQuestionOpen = false;
            if (answer != Prompts::Answer::Cancel)
                return;
            MainView &v = m_services.view;
            m_core.closePort();
            v.showConnected(false);
            // The menu's check mark follows the port, as everywhere else.
            v.setItemChecked(menu::OpenPort, m_services.port.portOpen());
            v.setPanelText(panel::Status, QStringLiteral("Порт закрыт ") + dateTimeText(m_services.clock.now()));
            m_port.showDuration();
        });
}

void ReceptionPresenter::showEventDone(qint64 pointCount) {
    MainView &view = m_services.view;
    if (view.seriesDataVisible())
        view.refreshSeriesData();
    view.setPanelText(panel::Counter, QString::number(pointCount));
}

void ReceptionPresenter::showLineLost() {
    m_services.view.setPanelText(panel::Status, QStringLiteral("Порт потерян ... ожидание подключения  ") +
                                                    timeOfDayText(m_services.clock.now()));
}

void ReceptionPresenter::showLineRestored() {
    MainView &view = m_services.view;
    view.showConnected(true);
    view.setItemChecked(menu::OpenPort, true);
    view.setPanelText(panel::Status, QStringLiteral("Порт восстановлен  ") + timeOfDayText(m_services.clock.now()));
    m_port.connectionTimer().start();
}

void ReceptionPresenter::askAboutWriteFailure(const QString &description) {
    m_services.prompts.showMessageBox(QString::fromUtf16(AppTitle), description, Prompts::Icon::Critical,
                                      Prompts::Buttons::RetryCancel, Prompts::DefaultButton::First,
                                      [this](Prompts::Answer answer) {
                                          if (answer == Prompts::Answer::Retry)
                                              m_core.record().retry();
                                          else
                                              m_recording.closeRecording();
                                      });
}

void ReceptionPresenter::showFileRecreated(const QString &path) {
    m_services.view.setPanelText(panel::Status, QStringLiteral("Файл записи удалён и создан заново: ") + path +
                                                    QStringLiteral("  ") + timeOfDayText(m_services.clock.now()));
}

} // namespace zorneta
