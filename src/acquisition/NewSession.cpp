#include "acquisition/NewSession.h"

#include "acquisition/AcquisitionCore.h"
#include "acquisition/PortControl.h"
#include "acquisition/TerminalOutput.h"
#include "chart/PeriodCommands.h"
#include "common/Formats.h"
#include "platform/ChartSurface.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/Services.h"
#include "session/SessionState.h"

namespace zorneta {

QString NewSession::questionTitle() {
    return QStringLiteral("Зорнета       Новый сеанс приема данных");
}

QString NewSession::confirmationText() {
    return QStringLiteral("   Вы уверены, что хотите начать новый сеанс приёма данных? Все предыдущие данные, "
                          "накопленные в оперативной памяти для построения графика, будут уничтожены и поле графика "
                          "очищено. \n\n"
                          "   Однако, если Вы записываете данные в файл, то запись продолжится и предыдущие данные, "
                          "записанные в этот файл, сохранятся. Освободится оперативная память для дальнейшей работы."
                          "\n\n"
                          "   Если Вы сомневаетесь в целесообразности данной операции, то перед тем, как её "
                          "осуществить, сделайте снимок графика с записью в файл.\n\n"
                          "Уничтожить данные из оперативной памяти?");
}

void NewSession::startNewSession() {
    // Readings that arrive while the user answers are recorded and shown at
    // once, and wait before the table: they land in the session the answers
    // make, stamped from its start.
    m_core.pipeline().holdReadings();
    m_services.prompts.showMessageBox(questionTitle(), confirmationText(), Prompts::Icon::Critical,
                                      Prompts::Buttons::OkCancel, Prompts::DefaultButton::Second,
                                      [this](Prompts::Answer confirmed) {
                                          if (confirmed != Prompts::Answer::Ok) {
                                              m_core.pipeline().releaseReadings();
                                              return;
                                          }
                                          SessionState &s = m_core.state();
                                          s.readings = freshReadings();
                                          s.pointCount = 0;
                                          s.previousReading.reset();
                                          m_output.clearTerminal();
                                          askRestart();
                                      });
}

void NewSession::askRestart() {
    m_services.prompts.showMessageBox(
        questionTitle(), QStringLiteral("   Обнулить время начала нового сеанса приёма данных"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::Second,
        [this](Prompts::Answer restart) {
            SessionState &s = m_core.state();
            if (restart == Prompts::Answer::Yes)
                m_port.startTiming();
            // Before the port was ever opened there is no start: the title
            // then names the moment the session began.
            const QDateTime titled = s.startTime.isValid() ? s.startTime : m_services.clock.now();
            (void)s.readings.setText(2, 1, seriesTitleText(titled));
            m_services.chart.setChartData(s.readings);
            // The X-axis division is automatic after a new session.
            s.xTickDivisions = 10;
            s.autoTickDivision = false;
            m_periods.toggleAutoTickDivision();
            m_core.pipeline().releaseReadings();
        });
}

} // namespace zorneta
