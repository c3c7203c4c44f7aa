#include "acquisition/NewSession.h"

#include "acquisition/PortControl.h"
#include "acquisition/TerminalOutput.h"
#include "chart/PeriodCommands.h"
#include "common/Formats.h"
#include "platform/ChartSurface.h"
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
    SessionState &s = m_state;
    SerialPort &port = m_services.port;
    // Readings that arrive while the user answers wait in the port, so they
    // land in the session the answers make, stamped from its start.
    port.setEventsHeld(true);
    const auto confirmed = m_services.prompts.messageBox(questionTitle(), confirmationText(), Prompts::Icon::Critical,
                                                         Prompts::Buttons::OkCancel, Prompts::DefaultButton::Second);
    if (confirmed != Prompts::Answer::Ok) {
        port.setEventsHeld(false);
        return;
    }
    s.readings = freshReadings();
    s.pointCount = 0;
    const auto restart = m_services.prompts.messageBox(
        questionTitle(), QStringLiteral("   Обнулить время начала нового сеанса приёма данных"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::DefaultButton::Second);
    if (restart == Prompts::Answer::Yes)
        m_port.startTiming();
    (void)s.readings.setText(2, 1, seriesTitleText(s.startTime));
    m_services.chart.setChartData(s.readings);
    m_output.clearTerminal();
    // The X-axis division is automatic after a new session.
    s.xTickDivisions = 10;
    s.autoTickDivision = false;
    m_periods.toggleAutoTickDivision();
    port.setEventsHeld(false);
}

} // namespace zorneta
