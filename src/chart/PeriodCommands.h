#pragma once

#include <QString>

#include <array>

namespace zorneta {

class GraphSettings;
class MainView;
struct Services;
struct SessionState;

// The three radio families of the chart's menus: update period, read period
// and X-axis divisions, with the automatic mode of the last. Each command sets
// its value, moves the family's check mark and keeps the graph settings
// dialog's list in step (loading the dialog hidden when needed). Nothing is
// stored: the dialog stores the choices when it is confirmed.
class PeriodCommands {
public:
    struct Item {
        const char16_t *name;
        int period;
        int listPosition;
    };
    static const std::array<Item, 6> UpdatePeriods;
    static const std::array<Item, 6> ReadPeriods;
    struct Division {
        const char16_t *name;
        int divisions;  // XTickDivisions = XLabelDivisions
        int chartTick;  // given to the chart
        int chartLabel; // given to the chart
        int listPosition;
    };
    static const std::array<Division, 7> XDivisions;

    PeriodCommands(Services &services, SessionState &state, GraphSettings &graph)
        : m_services(services), m_state(state), m_graph(graph) {}

    // Runs the command of a menu item of the three families; false when the
    // name belongs to none of them.
    bool run(const QString &name);

    void chooseUpdatePeriod(std::size_t index);
    void chooseReadPeriod(std::size_t index);
    void chooseXDivision(std::size_t index);
    void mnuAutoTickDivis_Click();

    // Checks item `index` of a family and clears the others, in menu order.
    template <std::size_t N, typename T>
    static void checkOnly(MainView &view, const std::array<T, N> &family, std::size_t index);

private:
    Services &m_services;
    SessionState &m_state;
    GraphSettings &m_graph;
};

} // namespace zorneta

#include "shell/MainView.h"

template <std::size_t N, typename T>
void zorneta::PeriodCommands::checkOnly(MainView &view, const std::array<T, N> &family, std::size_t index) {
    for (std::size_t i = 0; i < N; ++i)
        view.setItemChecked(QString::fromUtf16(family[i].name), i == index);
}
