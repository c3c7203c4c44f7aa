#pragma once

#include "common/Commands.h"
#include "common/PeriodTables.h"

#include <QString>

#include <functional>

namespace zorneta {

struct Services;
struct SessionState;

// The three radio families of the chart's menus: update period, read period
// and X-axis divisions, with the automatic mode of the last. Each command sets
// its value, moves the family's check mark and tells the graph settings
// dialog which list position it chose, so the dialog stays in step. Nothing
// is stored: the dialog stores the choices when it is confirmed.
class PeriodCommands {
public:
    PeriodCommands(Services &services, SessionState &state) : m_services(services), m_state(state) {}

    // Runs a command of the three families; false for any other command.
    // The commands of each family are declared in menu order.
    bool run(Command command);

    void chooseUpdatePeriod(std::size_t index);
    void chooseReadPeriod(std::size_t index);
    void chooseXDivision(std::size_t index);
    void toggleAutoTickDivision();

    // Called with the dialog list and the position a menu command chose.
    std::function<void(PeriodList list, int position)> listChosen;

private:
    void tellList(PeriodList list, int position);

    Services &m_services;
    SessionState &m_state;
};

} // namespace zorneta
