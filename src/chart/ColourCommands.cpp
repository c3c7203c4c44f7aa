#include "chart/ColourCommands.h"

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
    style.fillRed = RedPart(colour);
    style.fillGreen = GreenPart(colour);
    style.fillBlue = BluePart(colour);
}
} // namespace

bool ColourCommands::run(const QString &name) {
    using Command = void (ColourCommands::*)();
    static const struct {
        const char16_t *name;
        Command command;
    } commands[] = {
        {u"mnuColorX", &ColourCommands::mnuColorX_Click},
        {u"mnuAxisYColor", &ColourCommands::mnuAxisYColor_Click},
        {u"mnuAxisY2Color", &ColourCommands::mnuAxisY2Color_Click},
        {u"mnuCurveColor", &ColourCommands::mnuCurveColor_Click},
        {u"mnuLegendColor", &ColourCommands::mnuLegendColor_Click},
        {u"mnuPlotColor", &ColourCommands::mnuPlotColor_Click},
        {u"mnuChartColor", &ColourCommands::mnuChartColor_Click},
        {u"mnuBackColor", &ColourCommands::mnuBackColor_Click},
        {u"mnuPenColor", &ColourCommands::mnuPenColor_Click},
    };
    for (const auto &c : commands) {
        if (name == QStringView(c.name)) {
            (this->*c.command)();
            return true;
        }
    }
    return false;
}

bool ColourCommands::chooseColour(std::int32_t *colour) {
    const auto chosen = m_services.prompts.colorDialog(m_lastChosen);
    if (!chosen)
        return false;
    m_lastChosen = *chosen;
    *colour = *chosen;
    return true;
}

void ColourCommands::mnuColorX_Click() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::X, RedPart(c), GreenPart(c), BluePart(c));
}

void ColourCommands::mnuAxisYColor_Click() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::Y, RedPart(c), GreenPart(c), BluePart(c));
}

void ColourCommands::mnuAxisY2Color_Click() {
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setAxisPenColor(Axis::Y2, RedPart(c), GreenPart(c), BluePart(c));
}

void ColourCommands::mnuCurveColor_Click() {
    // The curve only: the saved curve colour stays, so a new chart set-up
    // brings it back.
    std::int32_t c = 0;
    if (chooseColour(&c))
        (void)m_services.chart.setSeriesPenColor(RedPart(c), GreenPart(c), BluePart(c));
}

void ColourCommands::mnuLegendColor_Click() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle style = chart.backdrop(Backdrop::Legend);
    setFill(style, c);
    (void)chart.setBackdrop(Backdrop::Legend, style);
}

void ColourCommands::mnuPlotColor_Click() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    ChartSurface &chart = m_services.chart;
    ChartSurface::BackdropStyle style = chart.backdrop(Backdrop::Plot);
    style.fillStyle = 1;
    setFill(style, c);
    (void)chart.setBackdrop(Backdrop::Plot, style);
}

void ColourCommands::mnuChartColor_Click() {
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

void ColourCommands::mnuBackColor_Click() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    m_state.IndicatorBackColor = c;
    m_services.view.setIndicatorColors(m_state.IndicatorBackColor, m_state.IndicatorTextColor);
    (void)m_settings.saveInteger(Keys::GroundColor, c);
}

void ColourCommands::mnuPenColor_Click() {
    std::int32_t c = 0;
    if (!chooseColour(&c))
        return;
    m_state.IndicatorTextColor = c;
    m_services.view.setIndicatorColors(m_state.IndicatorBackColor, m_state.IndicatorTextColor);
    (void)m_settings.saveInteger(Keys::PenColor, c);
}

} // namespace zorneta
