#pragma once

#include "common/ItemNames.h"

#include <array>
#include <cstddef>

namespace zorneta {

// The choices of the chart's three radio menus (update period, read period,
// X-axis divisions), in menu order, with the position of each choice in the
// graph settings dialog's lists. The menu commands and the dialog read the
// same tables.
struct PeriodChoice {
    const QString &name; // menu item
    int period;
    int listPosition;
};

struct DivisionChoice {
    const QString &name; // menu item
    int divisions;       // XTickDivisions = XLabelDivisions
    int chartTick;       // given to the chart
    int chartLabel;      // given to the chart
    int listPosition;
};

inline constexpr std::array<PeriodChoice, 6> UpdatePeriods{{
    {menu::UpdateEvery1, 1, 0},
    {menu::UpdateEvery10, 10, 1},
    {menu::UpdateEvery50, 50, 2},
    {menu::UpdateEvery100, 100, 3},
    {menu::UpdateEvery500, 500, 4},
    {menu::UpdateEvery1000, 1000, 5},
}};

inline constexpr std::array<PeriodChoice, 6> ReadPeriods{{
    {menu::ReadEvery1, 1, 0},
    {menu::ReadEvery5, 5, 1},
    {menu::ReadEvery20, 20, 2},
    {menu::ReadEvery100, 100, 3},
    {menu::ReadEvery250, 250, 4},
    {menu::ReadEvery500, 500, 5},
}};

// "Через 2500 точек" keeps its old name XDivisions2500; it gives the chart 5000
// divisions per tick and 10000 per label.
inline constexpr std::array<DivisionChoice, 7> XDivisions{{
    {menu::XDivisions1, 1, 1, 1, 0},
    {menu::XDivisions10, 10, 10, 10, 0},
    {menu::XDivisions50, 50, 50, 50, 1},
    {menu::XDivisions100, 100, 100, 100, 2},
    {menu::XDivisions500, 500, 500, 500, 3},
    {menu::XDivisions1000, 1000, 1000, 1000, 4},
    {menu::XDivisions2500, 5000, 5000, 10000, 5},
}};

// The three lists of the graph settings dialog that the menus keep in step.
enum class PeriodList { Update, Read, XDivisions };

} // namespace zorneta
