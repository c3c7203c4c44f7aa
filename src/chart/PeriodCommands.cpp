#include "chart/PeriodCommands.h"

#include "acquisition/SessionState.h"
#include "platform/ChartSurface.h"
#include "settings/GraphSettings.h"
#include "shell/Services.h"

namespace zorneta {

const std::array<PeriodCommands::Item, 6> PeriodCommands::UpdatePeriods{{
    {u"mnuY064Sec", 1, 0},
    {u"mnuY64Sec", 10, 1},
    {u"mnuY32Sec", 50, 2},
    {u"mnuY1min", 100, 3},
    {u"mnuY5min", 500, 4},
    {u"mnuY10min", 1000, 5},
}};

const std::array<PeriodCommands::Item, 6> PeriodCommands::ReadPeriods{{
    {u"mnuR064Sec", 1, 0},
    {u"mnuR3Sec", 5, 1},
    {u"mnuR12Sec", 20, 2},
    {u"mnuR1min", 100, 3},
    {u"mnuR2min", 250, 4},
    {u"mnuR5min", 500, 5},
}};

const std::array<PeriodCommands::Division, 7> PeriodCommands::XDivisions{{
    {u"mnuX064Sec", 1, 1, 1, 0},
    {u"mnuX64Sec", 10, 10, 10, 0},
    {u"mnuX32Sec", 50, 50, 50, 1},
    {u"mnuX1min", 100, 100, 100, 2},
    {u"mnuX5min", 500, 500, 500, 3},
    {u"mnuX10min", 1000, 1000, 1000, 4},
    {u"mnuX26min", 5000, 5000, 10000, 5},
}};

bool PeriodCommands::run(const QString &name) {
    for (std::size_t i = 0; i < UpdatePeriods.size(); ++i) {
        if (name == QString::fromUtf16(UpdatePeriods[i].name)) {
            chooseUpdatePeriod(i);
            return true;
        }
    }
    for (std::size_t i = 0; i < ReadPeriods.size(); ++i) {
        if (name == QString::fromUtf16(ReadPeriods[i].name)) {
            chooseReadPeriod(i);
            return true;
        }
    }
    for (std::size_t i = 0; i < XDivisions.size(); ++i) {
        if (name == QString::fromUtf16(XDivisions[i].name)) {
            chooseXDivision(i);
            return true;
        }
    }
    if (name == u"mnuAutoTickDivis") {
        mnuAutoTickDivis_Click();
        return true;
    }
    return false;
}

void PeriodCommands::chooseUpdatePeriod(std::size_t index) {
    m_state.UpdatePeriod = UpdatePeriods[index].period;
    checkOnly(m_services.view, UpdatePeriods, index);
    m_graph.ensureLoaded();
    m_graph.cboSpeed = UpdatePeriods[index].listPosition;
    Q_EMIT m_graph.changed();
}

void PeriodCommands::chooseReadPeriod(std::size_t index) {
    m_state.ReadPeriod = ReadPeriods[index].period;
    checkOnly(m_services.view, ReadPeriods, index);
    m_graph.ensureLoaded();
    m_graph.cboPassOver = ReadPeriods[index].listPosition;
    Q_EMIT m_graph.changed();
}

void PeriodCommands::chooseXDivision(std::size_t index) {
    const Division &d = XDivisions[index];
    m_state.XTickDivisions = static_cast<std::int16_t>(d.divisions);
    m_state.XLabelDivisions = static_cast<std::int16_t>(d.divisions);
    (void)m_services.chart.setDivisionsPerTick(d.chartTick);
    (void)m_services.chart.setDivisionsPerLabel(d.chartLabel);
    checkOnly(m_services.view, XDivisions, index);
    m_graph.ensureLoaded();
    m_graph.cboVGrid = d.listPosition;
    Q_EMIT m_graph.changed();
}

void PeriodCommands::mnuAutoTickDivis_Click() {
    MainView &view = m_services.view;
    m_state.AutoTickDivision = !m_state.AutoTickDivision;
    view.setItemChecked(QStringLiteral("mnuAutoTickDivis"), m_state.AutoTickDivision);
    for (const Division &d : XDivisions)
        view.setItemEnabled(QString::fromUtf16(d.name), !m_state.AutoTickDivision);
    chooseXDivision(1); // "Через 10 точек"
}

} // namespace zorneta
