#include "chart/ViewRanges.h"

#include "chart/ChartModel.h"
#include "common/ItemNames.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "session/SessionState.h"

#include <algorithm>

namespace zorneta {

namespace {
const QString SetValueTitle = QStringLiteral("Зорнета:    Установите значение");
const QString GraphEndItem = menu::GraphEndOnly;
} // namespace

ViewRanges::ViewRanges(Services &services, SessionState &state, ChartModel &chart)
    : m_services(services), m_state(state), m_chart(chart) {
    m_endViewTimer.setInterval(EndViewPeriodMs);
    connect(&m_endViewTimer, &QTimer::timeout, this, &ViewRanges::endEndViewByTimer);
}

void ViewRanges::info(const QString &title, const QString &text) {
    m_services.prompts.messageBox(title, text, Prompts::Icon::Information, Prompts::Buttons::Ok);
}

void ViewRanges::showGraphEnd() {
    SessionState &s = m_state;
    const qint64 e = s.endPoints;
    if (e == 0) {
        info(SetValueTitle, QStringLiteral("Длина участка конца графика равна 0 !"));
        return;
    }
    if (e < 0) {
        info(SetValueTitle, QStringLiteral("Длина участка конца графика не может быть отрицательной !"));
        return;
    }
    const qint64 n = s.pointCount;
    if (n <= MinimumReadingsForEndView) {
        m_services.prompts.messageBox(
            QStringLiteral("Зорнета:  Пока ещё нечего рассматривать"),
            QStringLiteral("  Смысл увеличения масштаба графика появляется только при слишком большом количестве "
                           "считанных точек.\r\r   Команда сработает только при числе циклов считывания большем 50."),
            Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    } else {
        // The window starts e readings before the newest one, or at the first
        // reading when the session is shorter than that.
        const qint64 first = std::max<qint64>(1, n - e);
        ReadingsTable end(first, n + e);
        for (int row = 1; row <= ReadingsTable::Rows; ++row) {
            for (qint64 column = first; column <= n; ++column)
                (void)end.copyCell(row, column, s.readings, column);
        }
        s.endReadings = std::move(end);
        s.onlyEnd = true;
        s.endStart = static_cast<float>(first);
        m_services.view.setItemEnabled(GraphEndItem, false);
        // The view lasts one whole period of the timer from now.
        m_endViewTimer.start();
    }
    if (s.onlyEnd)
        m_chart.showEndReadings();
}

void ViewRanges::endEndView() {
    m_state.onlyEnd = false;
    m_services.view.setItemEnabled(GraphEndItem, true);
    ChartSurface::ValueScale scale = m_services.chart.valueScale(ChartSurface::Axis::Y);
    scale.automatic = true;
    (void)m_services.chart.setValueScale(ChartSurface::Axis::Y, scale);
}

void ViewRanges::endEndViewByTimer() {
    endEndView();
}

void ViewRanges::showGraphAll() {
    ChartSurface &chart = m_services.chart;
    m_state.endReadings = ReadingsTable(0, 1);
    // The whole curve at once: the value axis scales itself again too.
    endEndView();
    chart.setChartData(m_state.readings);
    // Whatever stretch the wheel or a drag put on view goes too.
    chart.resetZoom();
    (void)chart.setCategoryScaleAuto(ChartSurface::Axis::Y, true);
    chart.refresh();
}

void ViewRanges::cutGraphStart() {
    SessionState &s = m_state;
    const qint64 c = s.cutStartPoints;
    if (c < 0) {
        info(SetValueTitle, QStringLiteral("Размер отрезаемого участка не может быть отрицательным !"));
        return;
    }
    if (c < s.pointCount) {
        const ReadingsTable before = s.readings;
        s.pointCount -= c;
        ReadingsTable after(1, before.lastColumn() - c);
        for (int row = 1; row <= ReadingsTable::Rows; ++row) {
            for (qint64 column = 1; column <= after.lastColumn(); ++column)
                (void)after.copyCell(row, column, before, c + column);
        }
        s.readings = std::move(after);
        m_services.chart.setChartData(s.readings);
        s.endReadings = ReadingsTable();
        // The end view has lost its table: the whole graph is shown from now on.
        if (s.onlyEnd)
            endEndView();
    } else {
        info(QStringLiteral("Зорнета:    Внимание"),
             QStringLiteral("Объем отрезаемого участка превышает количество считанных точек на графике !\n\n   "
                            "Дождитесь достаточного увеличения количества точек графика или уменьшите размер "
                            "отрезаемого участка (см. Свойства графика)"));
    }
    if (c == 0)
        info(SetValueTitle, QStringLiteral("Размер отрезаемого участка равен 0 !"));
}

} // namespace zorneta
