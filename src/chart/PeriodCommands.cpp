#include "chart/PeriodCommands.h"

#include "common/Commands.h"
#include "session/SessionState.h"
#include "platform/ChartSurface.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

bool PeriodCommands::run(Command command) {
    switch (command) {
    case Command::UpdateEvery1:
    case Command::UpdateEvery10:
    case Command::UpdateEvery50:
    case Command::UpdateEvery100:
    case Command::UpdateEvery500:
    case Command::UpdateEvery1000:
        chooseUpdatePeriod(std::size_t(int(command) - int(Command::UpdateEvery1)));
        return true;
    case Command::ReadEvery1:
    case Command::ReadEvery5:
    case Command::ReadEvery20:
    case Command::ReadEvery100:
    case Command::ReadEvery250:
    case Command::ReadEvery500:
        chooseReadPeriod(std::size_t(int(command) - int(Command::ReadEvery1)));
        return true;
    case Command::XDivisions1:
    case Command::XDivisions10:
    case Command::XDivisions50:
    case Command::XDivisions100:
    case Command::XDivisions500:
    case Command::XDivisions1000:
    case Command::XDivisions2500:
        chooseXDivision(std::size_t(int(command) - int(Command::XDivisions1)));
        return true;
    case Command::ToggleAutoXDivisions:
        toggleAutoTickDivision();
        return true;
    default:
        return false;
    }
}

void PeriodCommands::chooseUpdatePeriod(std::size_t index) {
    m_state.updatePeriod = UpdatePeriods[index].period;
    checkOnly(m_services.view, UpdatePeriods, index);
    tellList(PeriodList::Update, UpdatePeriods[index].listPosition);
}

void PeriodCommands::chooseReadPeriod(std::size_t index) {
    m_state.readPeriod = ReadPeriods[index].period;
    checkOnly(m_services.view, ReadPeriods, index);
    tellList(PeriodList::Read, ReadPeriods[index].listPosition);
}

void PeriodCommands::chooseXDivision(std::size_t index) {
    const DivisionChoice &d = XDivisions[index];
    m_state.xTickDivisions = static_cast<std::int16_t>(d.divisions);
    m_state.xLabelDivisions = static_cast<std::int16_t>(d.divisions);
    (void)m_services.chart.setDivisionsPerTick(d.chartTick);
    (void)m_services.chart.setDivisionsPerLabel(d.chartLabel);
    checkOnly(m_services.view, XDivisions, index);
    tellList(PeriodList::XDivisions, d.listPosition);
}

void PeriodCommands::toggleAutoTickDivision() {
    MainView &view = m_services.view;
    m_state.autoTickDivision = !m_state.autoTickDivision;
    view.setItemChecked(menu::AutoXDivisions, m_state.autoTickDivision);
    for (const DivisionChoice &d : XDivisions)
        view.setItemEnabled(d.name, !m_state.autoTickDivision);
    chooseXDivision(1); // "Через 10 точек"
}

void PeriodCommands::tellList(PeriodList list, int position) {
    if (listChosen)
        listChosen(list, position);
}

} // namespace zorneta
