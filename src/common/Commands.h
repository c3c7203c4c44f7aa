#pragma once

#include "common/ItemNames.h"

#include <QString>

#include <array>
#include <optional>

namespace zorneta {

// Every command the main window's menus and toolbar can run.
enum class Command {
    TogglePort,
    OpenPortSettings,
    OpenRecording,
    CloseRecording,
    Exit,
    RescaleValues,
    ShowUpdatePeriodMenu,
    ShowReadPeriodMenu,
    ShowXDivisionsMenu,
    ShowColourMenu,
    ToggleIndicator,
    ToggleLegend,
    ToggleLegendFromChart,
    UpdateEvery1,
    UpdateEvery10,
    UpdateEvery50,
    UpdateEvery100,
    UpdateEvery500,
    UpdateEvery1000,
    ReadEvery1,
    ReadEvery5,
    ReadEvery20,
    ReadEvery100,
    ReadEvery250,
    ReadEvery500,
    ToggleAutoXDivisions,
    XDivisions1,
    XDivisions10,
    XDivisions50,
    XDivisions100,
    XDivisions500,
    XDivisions1000,
    XDivisions2500,
    ChooseXAxisColour,
    ChooseYAxisColour,
    ChooseY2AxisColour,
    ChooseCurveColour,
    ChooseLegendColour,
    ChoosePlotColour,
    ChooseChartColour,
    ChooseIndicatorBackColour,
    ChooseIndicatorTextColour,
    OpenGraphSettings,
    EnterAlarmTemperature,
    CutGraphStart,
    ShowWholeGraph,
    ShowGraphEnd,
    CopyData,
    InsertData,
    TakeSnapshot,
    PasteSnapshot,
    EraseSnapshot,
    StartNewSession,
    ShowHelp,
    ShowPriceList,
    ShowAbout,
    ShowWholeCurve,
    ToggleClockTimeAxis,
    ReviewRecording,
    ExportSessionCsv,
    ReportSession,
};

// Where a command is chosen: a menu item (by its objectName) or a toolbar
// button (by its key).
struct CommandBinding {
    enum class Source { MenuItem, ToolbarKey };
    Source source;
    const QString &name;
    Command command;
};

// Every menu item that runs a command and every toolbar key, with the command
// it runs. Menus and submenus run none.
inline const std::array<CommandBinding, 80> CommandTable{{
    {CommandBinding::Source::MenuItem, menu::OpenRecording, Command::OpenRecording},
    {CommandBinding::Source::MenuItem, menu::CloseRecording, Command::CloseRecording},
    {CommandBinding::Source::MenuItem, menu::Exit, Command::Exit},
    {CommandBinding::Source::MenuItem, menu::ViewUpdatePeriods, Command::ShowUpdatePeriodMenu},
    {CommandBinding::Source::MenuItem, menu::ViewReadPeriods, Command::ShowReadPeriodMenu},
    {CommandBinding::Source::MenuItem, menu::ViewXDivisions, Command::ShowXDivisionsMenu},
    {CommandBinding::Source::MenuItem, menu::ViewColours, Command::ShowColourMenu},
    {CommandBinding::Source::MenuItem, menu::IndicatorOnOff, Command::ToggleIndicator},
    {CommandBinding::Source::MenuItem, menu::LegendOnOff, Command::ToggleLegendFromChart},
    {CommandBinding::Source::MenuItem, menu::WholeCurve, Command::ShowWholeCurve},
    {CommandBinding::Source::MenuItem, menu::ClockTimeAxis, Command::ToggleClockTimeAxis},
    {CommandBinding::Source::MenuItem, menu::OpenPort, Command::TogglePort},
    {CommandBinding::Source::MenuItem, menu::PortSettings, Command::OpenPortSettings},
    {CommandBinding::Source::MenuItem, menu::AlarmTemperature, Command::EnterAlarmTemperature},
    {CommandBinding::Source::MenuItem, menu::CutGraphStart, Command::CutGraphStart},
    {CommandBinding::Source::MenuItem, menu::WholeGraph, Command::ShowWholeGraph},
    {CommandBinding::Source::MenuItem, menu::GraphEndOnly, Command::ShowGraphEnd},
    {CommandBinding::Source::MenuItem, menu::CopyData, Command::CopyData},
    {CommandBinding::Source::MenuItem, menu::InsertData, Command::InsertData},
    {CommandBinding::Source::MenuItem, menu::TakeSnapshot, Command::TakeSnapshot},
    {CommandBinding::Source::MenuItem, menu::PasteSnapshot, Command::PasteSnapshot},
    {CommandBinding::Source::MenuItem, menu::EraseSnapshot, Command::EraseSnapshot},
    {CommandBinding::Source::MenuItem, menu::NewSession, Command::StartNewSession},
    {CommandBinding::Source::MenuItem, menu::GraphSettings, Command::OpenGraphSettings},
    {CommandBinding::Source::MenuItem, menu::HelpContents, Command::ShowHelp},
    {CommandBinding::Source::MenuItem, menu::PriceList, Command::ShowPriceList},
    {CommandBinding::Source::MenuItem, menu::About, Command::ShowAbout},
    {CommandBinding::Source::MenuItem, menu::ReviewRecording, Command::ReviewRecording},
    {CommandBinding::Source::MenuItem, menu::ExportSessionCsv, Command::ExportSessionCsv},
    {CommandBinding::Source::MenuItem, menu::ReportSession, Command::ReportSession},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery1, Command::UpdateEvery1},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery10, Command::UpdateEvery10},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery50, Command::UpdateEvery50},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery100, Command::UpdateEvery100},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery500, Command::UpdateEvery500},
    {CommandBinding::Source::MenuItem, menu::UpdateEvery1000, Command::UpdateEvery1000},
    {CommandBinding::Source::MenuItem, menu::ReadEvery1, Command::ReadEvery1},
    {CommandBinding::Source::MenuItem, menu::ReadEvery5, Command::ReadEvery5},
    {CommandBinding::Source::MenuItem, menu::ReadEvery20, Command::ReadEvery20},
    {CommandBinding::Source::MenuItem, menu::ReadEvery100, Command::ReadEvery100},
    {CommandBinding::Source::MenuItem, menu::ReadEvery250, Command::ReadEvery250},
    {CommandBinding::Source::MenuItem, menu::ReadEvery500, Command::ReadEvery500},
    {CommandBinding::Source::MenuItem, menu::ChartGraphSettings, Command::OpenGraphSettings},
    {CommandBinding::Source::MenuItem, menu::IndicatorBackColour, Command::ChooseIndicatorBackColour},
    {CommandBinding::Source::MenuItem, menu::IndicatorTextColour, Command::ChooseIndicatorTextColour},
    {CommandBinding::Source::MenuItem, menu::CurveColour, Command::ChooseCurveColour},
    {CommandBinding::Source::MenuItem, menu::LegendColour, Command::ChooseLegendColour},
    {CommandBinding::Source::MenuItem, menu::ChartColour, Command::ChooseChartColour},
    {CommandBinding::Source::MenuItem, menu::PlotColour, Command::ChoosePlotColour},
    {CommandBinding::Source::MenuItem, menu::XAxisColour, Command::ChooseXAxisColour},
    {CommandBinding::Source::MenuItem, menu::YAxisColour, Command::ChooseYAxisColour},
    {CommandBinding::Source::MenuItem, menu::Y2AxisColour, Command::ChooseY2AxisColour},
    {CommandBinding::Source::MenuItem, menu::ChartLegendOnOff, Command::ToggleLegend},
    {CommandBinding::Source::MenuItem, menu::Rescale, Command::RescaleValues},
    {CommandBinding::Source::MenuItem, menu::AutoXDivisions, Command::ToggleAutoXDivisions},
    {CommandBinding::Source::MenuItem, menu::XDivisions1, Command::XDivisions1},
    {CommandBinding::Source::MenuItem, menu::XDivisions10, Command::XDivisions10},
    {CommandBinding::Source::MenuItem, menu::XDivisions50, Command::XDivisions50},
    {CommandBinding::Source::MenuItem, menu::XDivisions100, Command::XDivisions100},
    {CommandBinding::Source::MenuItem, menu::XDivisions500, Command::XDivisions500},
    {CommandBinding::Source::MenuItem, menu::XDivisions1000, Command::XDivisions1000},
    {CommandBinding::Source::MenuItem, menu::XDivisions2500, Command::XDivisions2500},
    {CommandBinding::Source::ToolbarKey, toolbar::PortOpen, Command::TogglePort},
    {CommandBinding::Source::ToolbarKey, toolbar::Properties, Command::OpenPortSettings},
    {CommandBinding::Source::ToolbarKey, toolbar::ClosePort, Command::TogglePort},
    {CommandBinding::Source::ToolbarKey, toolbar::OpenLogFile, Command::OpenRecording},
    {CommandBinding::Source::ToolbarKey, toolbar::CloseLogFile, Command::CloseRecording},
    {CommandBinding::Source::ToolbarKey, toolbar::Copy, Command::CopyData},
    {CommandBinding::Source::ToolbarKey, toolbar::Paste, Command::InsertData},
    {CommandBinding::Source::ToolbarKey, toolbar::AlarmTemperature, Command::EnterAlarmTemperature},
    {CommandBinding::Source::ToolbarKey, toolbar::Legend, Command::ToggleLegendFromChart},
    {CommandBinding::Source::ToolbarKey, toolbar::CopySnap, Command::TakeSnapshot},
    {CommandBinding::Source::ToolbarKey, toolbar::PasteSnap, Command::PasteSnapshot},
    {CommandBinding::Source::ToolbarKey, toolbar::DeleteSnap, Command::EraseSnapshot},
    {CommandBinding::Source::ToolbarKey, toolbar::GraphEnd, Command::ShowGraphEnd},
    {CommandBinding::Source::ToolbarKey, toolbar::GraphStart, Command::CutGraphStart},
    {CommandBinding::Source::ToolbarKey, toolbar::GraphAll, Command::ShowWholeGraph},
    {CommandBinding::Source::ToolbarKey, toolbar::GraphSettings, Command::OpenGraphSettings},
    {CommandBinding::Source::ToolbarKey, toolbar::Help, Command::ShowHelp},
    {CommandBinding::Source::ToolbarKey, toolbar::NewSession, Command::StartNewSession},
}};

// The command of a menu item or a toolbar key, matched exactly (letter case
// counts); nothing for a name that runs none.
inline std::optional<Command> commandFor(CommandBinding::Source source, const QString &name) {
    for (const CommandBinding &b : CommandTable) {
        if (b.source == source && b.name == name)
            return b.command;
    }
    return std::nullopt;
}
inline std::optional<Command> commandForMenuItem(const QString &name) {
    return commandFor(CommandBinding::Source::MenuItem, name);
}
inline std::optional<Command> commandForToolbarKey(const QString &key) {
    return commandFor(CommandBinding::Source::ToolbarKey, key);
}

} // namespace zorneta
