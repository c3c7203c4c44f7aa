#include "settings/GraphSettings.h"

#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "chart/ChartModel.h"
#include "common/PeriodTables.h"
#include "common/Formats.h"
#include "platform/Prompts.h"
#include "session/PersistedSettings.h"
#include "session/MainView.h"
#include "session/Services.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace zorneta {

namespace {

struct Colour {
    int red, green, blue;
};
constexpr Colour Colours[] = {{150, 0, 0}, {0, 130, 0}, {0, 0, 255}, {10, 10, 10}};
constexpr int Widths[] = {10, 25, 50, 100, 200};
constexpr int GridTicks[] = {10, 50, 100, 500, 1000, 5000};
const QString *const GridItems[] = {&menu::XDivisions10,  &menu::XDivisions50,   &menu::XDivisions100,
                                    &menu::XDivisions500, &menu::XDivisions1000, &menu::XDivisions2500};

QStringList list(std::initializer_list<const char16_t *> entries) {
    QStringList out;
    for (const char16_t *e : entries)
        out.append(QString::fromUtf16(e));
    return out;
}

// A text's number rounded to a 16-bit count; nothing when it does not fit.
std::optional<std::int16_t> toCount(const QString &text) {
    const double v = std::round(leadingNumber(text));
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

} // namespace

GraphSettings::GraphSettings(Services &services, SessionState &state, PersistedSettings &settings, ChartModel &chart)
    : m_services(services), m_state(state), m_settings(settings), m_chart(chart) {}

QStringList GraphSettings::speedEntries() {
    return list({u"Каждую точку", u"10 точек", u"50 точек", u"100 точек", u"500 точек", u"1000 точек"});
}

QStringList GraphSettings::passOverEntries() {
    return list({u"0,64 сек", u"3,12 сек", u"12,8 сек", u"1 мин 04 сек", u"2 мин 40  сек", u"5 мин 20  сек"});
}

QStringList GraphSettings::colorEntries() {
    return list({u"Красный ", u"Зелёный", u"Синий", u"Чёрный"});
}

QStringList GraphSettings::thinEntries() {
    return list({u"1  мм", u"2  мм", u"3  мм ", u"4  мм", u"5  мм"});
}

QStringList GraphSettings::vGridEntries() {
    return list({u"10 точек", u"50 точек", u"100 точек", u" 500 точек", u"1000 точек", u"5000 точек"});
}

void GraphSettings::ensureLoaded() {
    if (!m_loaded)
        load();
}

void GraphSettings::load() {
    m_loaded = true;
    cutStartText = QString::number(m_state.cutStartPoints);
    endPointsText = QString::number(m_state.endPoints);
    loadGraphSettings();
}

void GraphSettings::presetFromStore() {
    ensureLoaded();
    alarmTemperatureText = m_settings.text(Keys::SigTemp, QStringLiteral("266"));
    updatePeriodPosition = m_settings.listPosition(Keys::Speed, 1, int(speedEntries().size()));
    readPeriodPosition = m_settings.listPosition(Keys::PassOver, 1, int(passOverEntries().size()));
    curveColourPosition = m_settings.listPosition(Keys::Color, 3, int(colorEntries().size()));
    curveWidthPosition = m_settings.listPosition(Keys::Thin, 1, int(thinEntries().size()));
    xDivisionsPosition = m_settings.listPosition(Keys::VGrid, 1, int(vGridEntries().size()));
    Q_EMIT changed();
}

void GraphSettings::loadGraphSettings() {
    presetFromStore();
    m_state.xAxisHidden = m_settings.boolean(Keys::Opto, true);
    m_state.y2AxisHidden = m_settings.boolean(Keys::Y2, true);
    m_state.legendShown = m_settings.boolean(Keys::Legend, true);
    chooseXAxisOption(m_state.xAxisHidden ? 1 : 0);
    chooseY2AxisOption(m_state.y2AxisHidden ? 1 : 0);
    chooseLegendOption(m_state.legendShown ? 0 : 1);
    Q_EMIT changed();
}

void GraphSettings::followMenu(PeriodList list, int position) {
    ensureLoaded();
    switch (list) {
    case PeriodList::Update:
        updatePeriodPosition = position;
        break;
    case PeriodList::Read:
        readPeriodPosition = position;
        break;
    case PeriodList::XDivisions:
        xDivisionsPosition = position;
        break;
    }
    Q_EMIT changed();
}

void GraphSettings::chooseXAxisOption(int index) {
    xAxisOption = index;
    m_state.xAxisHidden = index == 1;
}

void GraphSettings::chooseY2AxisOption(int index) {
    y2AxisOption = index;
    m_state.y2AxisHidden = index == 1;
}

void GraphSettings::chooseLegendOption(int index) {
    legendOption = index;
    m_state.legendShown = index == 0;
}

void GraphSettings::warn(const QString &description) {
    m_services.prompts.messageBox(QString::fromUtf16(AppTitle), description, Prompts::Icon::Exclamation,
                                  Prompts::Buttons::Ok);
}

bool GraphSettings::confirm() {
    SessionState &s = m_state;
    MainView &view = m_services.view;
    QString error;
    // The signal temperature and the two section lengths.
    double v = leadingNumber(alarmTemperatureText);
    const auto cutStart = toCount(cutStartText);
    if (cutStart)
        s.cutStartPoints = *cutStart;
    else
        error = QStringLiteral("Число точек с начала вне допустимого диапазона (от -32768 до 32767): ") + cutStartText;
    const auto cutEnd = toCount(endPointsText);
    if (cutEnd)
        s.endPoints = *cutEnd;
    else
        error = QStringLiteral("Число точек с конца вне допустимого диапазона (от -32768 до 32767): ") + endPointsText;
    if (v < 1)
        v = 2500;
    // The signal temperature on the main window, in the Russian number form.
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    view.setSigText(russian.toString(v, 'g', 15) + QStringLiteral("  град"));
    // Colour, grid divisions, width, update period, read period.
    s.curveRed = s.curveGreen = s.curveBlue = 0;
    if (curveColourPosition >= 0 && curveColourPosition < 4) {
        s.curveRed = Colours[curveColourPosition].red;
        s.curveGreen = Colours[curveColourPosition].green;
        s.curveBlue = Colours[curveColourPosition].blue;
    }
    if (xDivisionsPosition >= 0 && xDivisionsPosition < 6) {
        s.xTickDivisions = static_cast<std::int16_t>(GridTicks[xDivisionsPosition]);
        view.setItemChecked(menu::XDivisions1, false);
        for (int i = 0; i < 6; ++i)
            view.setItemChecked(*GridItems[i], i == xDivisionsPosition);
    } else {
        s.xTickDivisions = 10;
    }
    s.xLabelDivisions = static_cast<std::int16_t>(2 * s.xTickDivisions);
    s.curveWidth = (curveWidthPosition >= 0 && curveWidthPosition < 5) ? Widths[curveWidthPosition] : 0;
    if (updatePeriodPosition >= 0 && updatePeriodPosition < 6) {
        s.updatePeriod = UpdatePeriods[updatePeriodPosition].period;
        checkOnly(view, UpdatePeriods, updatePeriodPosition);
    } else {
        s.updatePeriod = 10;
    }
    if (readPeriodPosition >= 0 && readPeriodPosition < 6) {
        s.readPeriod = ReadPeriods[readPeriodPosition].period;
        checkOnly(view, ReadPeriods, readPeriodPosition);
    } else {
        s.readPeriod = 5;
    }
    // Check point: an error is reported (once) and keeps the dialog open;
    // nothing is stored.
    if (!error.isEmpty()) {
        warn(error);
        return false;
    }
    // Store.
    (void)m_settings.save(Keys::SigTemp, alarmTemperatureText);
    (void)m_settings.saveInteger(Keys::Speed, updatePeriodPosition);
    (void)m_settings.saveInteger(Keys::PassOver, readPeriodPosition);
    (void)m_settings.saveInteger(Keys::Color, curveColourPosition);
    (void)m_settings.saveInteger(Keys::Thin, curveWidthPosition);
    (void)m_settings.saveInteger(Keys::VGrid, xDivisionsPosition);
    (void)m_settings.saveBool(Keys::Opto, s.xAxisHidden);
    (void)m_settings.saveBool(Keys::Y2, s.y2AxisHidden);
    (void)m_settings.saveBool(Keys::Legend, s.legendShown);
    // Apply to the chart.
    m_chart.setupChart(s.curveRed, s.curveGreen, s.curveBlue);
    // Close.
    unload();
    return true;
}

void GraphSettings::cancel() {
    unload();
}

void GraphSettings::unload() {
    m_loaded = false;
}

} // namespace zorneta
