#pragma once

#include "chart/SeriesData.h"

#include <QLocale>
#include <QObject>
#include <QPoint>

namespace zorneta {

struct Services;

// What the chart does when it is clicked: the value of a point in the point
// value field, the legend's frame, the axis scales, the chart menus, the copy
// of the data and the current-parameters window. Connects itself to the
// chart's mouse signals.
class ChartGestures : public QObject {
    Q_OBJECT
public:
    // Texts of the point value field.
    static QString pointPrompt() { return QStringLiteral("Значение точки на кривой в град."); }
    static QString choosePointText() { return QStringLiteral("Выбери точку на кривой"); }
    static QString pointValueText(int point, double value, const QLocale &locale);

    ChartGestures(Services &services, SeriesData &seriesData, QLocale locale = QLocale::system());

    // Chart events.
    void chartSelected();
    void pointSelected(int series, int point);
    void legendSelected(int mouseFlags);
    void legendActivated();
    void axisSelected(int axisId);
    void axisLabelSelected(int axisId);
    void chartActivated();
    void seriesActivated();
    void mouseDown(int button);

    // The point value field: the focus brings the prompt back, a double
    // click empties it.
    void PointText_GotFocus();
    void PointText_DblClick();

private:
    Services &m_services;
    SeriesData &m_seriesData;
    QLocale m_locale;
};

} // namespace zorneta
