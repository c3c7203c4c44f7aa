#pragma once

#include <QObject>
#include <QTimer>

namespace zorneta {

class ChartModel;
struct Services;
struct SessionState;

// What part of the session the chart shows: the whole graph, a zoomed view of
// its end that lasts until the next tick of the end-view timer, and cutting
// the oldest readings off the session for good.
class ViewRanges : public QObject {
    Q_OBJECT
public:
    // Period of the end-view timer.
    static constexpr int EndViewPeriodMs = 65535;
    // The end view opens only on sessions longer than this.
    static constexpr qint64 MinimumReadingsForEndView = 50;

    ViewRanges(Services &services, SessionState &state, ChartModel &chart);

    // "Только конец графика" and the toolbar's "GraphEnd": the last EndPoints
    // readings with room for as many more, the value axis zoomed around the
    // newest reading.
    void showGraphEnd();
    // "Весь график" and the toolbar's "GraphAll".
    void showGraphAll();
    // "Обрезать начало графика" and the toolbar's "GraphStart": drops the
    // first CutStartPoints readings.
    void cutGraphStart();
    // Each tick of the end-view timer ends the end view.
    void endEndViewByTimer();

    // Runs from start-up; entering the end view restarts it.
    QTimer &endViewTimer() { return m_endViewTimer; }

private:
    // Leaves the end view: the flag, the menu item, automatic value scaling.
    void endEndView();
    void info(const QString &title, const QString &text);

    Services &m_services;
    SessionState &m_state;
    ChartModel &m_chart;
    QTimer m_endViewTimer;
};

} // namespace zorneta
