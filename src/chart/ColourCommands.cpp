#include "chart/ColourCommands.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "common/Colour.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "session/PersistedSettings.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

namespace {
using Axis = ChartSurface::Axis;
using Backdrop = ChartSurface::Backdrop;

void setFill(ChartSurface::BackdropStyle &style, std::int32_t colour) {
    style.fillRed = redPart(colour);
    style.fillGreen = greenPart(colour);
    style.fillBlue = bluePart(colour);
}
} // namespace

bool ColourCommands::run(Command command) {
    switch (command) {
    case Command::ChooseXAxisColour:
        chooseXAxisColour();
        return true;
    case Command::ChooseYAxisColour:
        chooseYAxisColour();
        return true;
    case Command::ChooseY2AxisColour:
        chooseY2AxisColour();
        return true;
    case Command::ChooseCurveColour:
        chooseCurveColour();
        return true;
    case Command::ChooseLegendColour:
        chooseLegendColour();
        return true;
    case Command::ChoosePlotColour:
        choosePlotColour();
        return true;
    case Command::ChooseChartColour:
        chooseChartColour();
        return true;
    case Command::ChooseIndicatorBackColour:
        chooseBackColour();
        return true;
    case Command::ChooseIndicatorTextColour:
        choosePenColour();
        return true;
    default:
        return false;
    }
}

bool ColourCommands::chooseColour(std::int32_t *colour) {
    const auto chosen = m_services.prompts.colorDialog(m_lastChosen);
    if (!chosen)
        return false;
    m_lastChosen = *chosen;
    *colour = *chosen;
    return true;
}

void ColourCommands::chooseXAxisColour() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::X, redPart(c), greenPart(c), bluePart(c));
}

void ColourCommands::chooseYAxisColour() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::Y, redPart(c), greenPart(c), bluePart(c));
}

void ColourCommands::chooseY2AxisColour() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::Y2, redPart(c), greenPart(c), bluePart(c));
}

void ColourCommands::chooseCurveColour() {
    // The curve only: the saved curve colour stays, so a new chart set-up
    // brings it back.
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setSeriesPenColor(redPart(c), greenPart(c), bluePart(c));
}

void ColourCommands::chooseLegendColour() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle style = chart.backdrop(Backdrop::Legend);
    setFill(style, c);
    (void)chart.setBackdrop(Backdrop::Legend, style);
}

void ColourCommands::choosePlotColour() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle style = chart.backdrop(Backdrop::Plot);
    style.fillStyle = 1;
    setFill(style, c);
    (void)chart.setBackdrop(Backdrop::Plot, style);
}

void ColourCommands::chooseChartColour() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle plot = chart.backdrop(Backdrop::Plot);
    plot.fillStyle = 1;
    (void)chart.setBackdrop(Backdrop::Plot, plot);
    // The chart's own backdrop filled, so the colour shows.
    ChartSurface::BackdropStyle whole = chart.backdrop(Backdrop::Chart);
    whole.fillStyle = 1;
    setFill(whole, c);
    (void)chart.setBackdrop(Backdrop::Chart, whole);
    m_services.view.setPointTextBackground(c);
}

void ColourCommands::chooseBackColour() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    m_state.indicatorBackColor = c;
    m_services.view.setIndicatorColors(m_state.indicatorBackColor, m_state.indicatorTextColor);
    (void)m_settings.saveInteger(Keys::GroundColor, c);
}

void ColourCommands::choosePenColour() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    m_state.indicatorTextColor = c;
    m_services.view.setIndicatorColors(m_state.indicatorBackColor, m_state.indicatorTextColor);
    (void)m_settings.saveInteger(Keys::PenColor, c);
}

} // namespace zorneta
