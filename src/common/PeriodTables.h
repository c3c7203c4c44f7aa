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
    {menu::mnuY064Sec, 1, 0},
    {menu::mnuY64Sec, 10, 1},
    {menu::mnuY32Sec, 50, 2},
    {menu::mnuY1min, 100, 3},
    {menu::mnuY5min, 500, 4},
    {menu::mnuY10min, 1000, 5},
}};

inline constexpr std::array<PeriodChoice, 6> ReadPeriods{{
    {menu::mnuR064Sec, 1, 0},
    {menu::mnuR3Sec, 5, 1},
    {menu::mnuR12Sec, 20, 2},
    {menu::mnuR1min, 100, 3},
    {menu::mnuR2min, 250, 4},
    {menu::mnuR5min, 500, 5},
}};

// "Через 2500 точек" keeps its old name mnuX26min; it gives the chart 5000
// divisions per tick and 10000 per label.
inline constexpr std::array<DivisionChoice, 7> XDivisions{{
    {menu::mnuX064Sec, 1, 1, 1, 0},
    {menu::mnuX64Sec, 10, 10, 10, 0},
    {menu::mnuX32Sec, 50, 50, 50, 1},
    {menu::mnuX1min, 100, 100, 100, 2},
    {menu::mnuX5min, 500, 500, 500, 3},
    {menu::mnuX10min, 1000, 1000, 1000, 4},
    {menu::mnuX26min, 5000, 5000, 10000, 5},
}};

// The three lists of the graph settings dialog that the menus keep in step.
enum class PeriodList { Update, Read, XDivisions };

} // namespace zorneta
