#include "chart/PeriodCommands.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "platform/ChartSurface.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

bool PeriodCommands::run(const QString &name) {
    for (std::size_t i = 0; i < UpdatePeriods.size(); ++i) {
        if (name == UpdatePeriods[i].name) {
            chooseUpdatePeriod(i);
            return true;
        }
    }
    for (std::size_t i = 0; i < ReadPeriods.size(); ++i) {
        if (name == ReadPeriods[i].name) {
            chooseReadPeriod(i);
            return true;
        }
    }
    for (std::size_t i = 0; i < XDivisions.size(); ++i) {
        if (name == XDivisions[i].name) {
            chooseXDivision(i);
            return true;
        }
    }
    if (name == menu::mnuAutoTickDivis) {
        toggleAutoTickDivision();
        return true;
    }
    return false;
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
    view.setItemChecked(menu::mnuAutoTickDivis, m_state.autoTickDivision);
    for (const DivisionChoice &d : XDivisions)
        view.setItemEnabled(d.name, !m_state.autoTickDivision);
    chooseXDivision(1); // "Через 10 точек"
}

void PeriodCommands::tellList(PeriodList list, int position) {
    if (listChosen)
        listChosen(list, position);
}

} // namespace zorneta
