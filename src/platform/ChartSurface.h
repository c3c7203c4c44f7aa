#pragma once

#include "common/ReadingsTable.h"
#include "platform/Status.h"

#include <QObject>
#include <QPoint>
#include <QString>

namespace zorneta {

// The chart of the heating curve. It holds no data of its own: it is handed a
// whole table of readings (see ReadingsTable) and draws row 2 from the second
// column on as one curve, row 1 as the X-axis labels and the text in row 2 of
// the first column as the series title. The second value axis Y2 is only shown,
// hidden and coloured.
//
// Operations that can be refused return a failed Status and leave the chart as
// it was.
class ChartSurface : public QObject {
    Q_OBJECT
public:
    enum class Axis { X = 0, Y = 1, Y2 = 2 };
    enum class Backdrop { Legend, Plot, Chart };
    // Fill styles: 0 none, 1 brush. Frame styles: 0 none, 1 single line.
    // Shadow styles: 0 none, 1 drop.
    struct BackdropStyle {
        int fillStyle = 0;
        int fillRed = 255, fillGreen = 255, fillBlue = 255;
        int frameStyle = 0;
        float frameWidth = 0.0f;
        int shadowStyle = 0;
    };
    struct ValueScale {
        bool automatic = true;
        double minimum = 0.0;
        double maximum = 100.0;
        int majorDivision = 1;
        int minorDivision = 1;
    };

    using QObject::QObject;
    ~ChartSurface() override = default;

    // Data.
    virtual void setChartData(const ReadingsTable &table) = 0;
    virtual void refresh() = 0;

    // Axes.
    virtual Status setAxisPenWidth(Axis axis, float width) = 0;
    virtual Status setAxisPenColor(Axis axis, int red, int green, int blue) = 0;
    virtual Status setAxisScaleHidden(Axis axis, bool hidden) = 0;
    virtual bool axisScaleHidden(Axis axis) const = 0;

    // X-axis category spacing.
    virtual Status setDivisionsPerLabel(int divisions) = 0;
    virtual Status setDivisionsPerTick(int divisions) = 0;
    virtual Status setLabelTick(bool onTicks) = 0;
    virtual Status setCategoryScaleAuto(Axis axis, bool automatic) = 0;
    virtual Status setAxisLabelFont(Axis axis, bool bold, int size) = 0;

    // Y value range.
    virtual Status setValueScale(Axis axis, const ValueScale &scale) = 0;
    virtual ValueScale valueScale(Axis axis) const = 0;

    // The curve.
    virtual Status setSeriesPenColor(int red, int green, int blue) = 0;
    virtual Status setSeriesPenWidth(float width) = 0;

    // Legend and backdrops.
    virtual void setShowLegend(bool shown) = 0;
    virtual bool showLegend() const = 0;
    virtual Status setBackdrop(Backdrop part, const BackdropStyle &style) = 0;
    // The style a backdrop is drawn with now.
    virtual BackdropStyle backdrop(Backdrop part) const = 0;

    // Current data cell: point number as the column, series number as the row.
    virtual Status setCurrentCell(int column, int row) = 0;
    virtual double currentCellValue() const = 0;
    virtual QString rowLabel(int row) const = 0;
    virtual Status setRowLabel(int row, const QString &label) = 0;

    // Clipboard. A paste refused (text that is not chart data, or data beyond
    // what the chart takes) says why in its description, as the user reads it.
    virtual Status editCopy() = 0;
    virtual Status editPaste() = 0;

    // Placement in its window.
    virtual void move(int left, int top, int width, int height) = 0;

    // Exploring the time axis (the wheel zooms, a drag pans): show the whole
    // curve again, which then follows the newest reading.
    virtual void resetZoom() = 0;
    // The X-axis labels as the clock times the readings came at (where
    // known) instead of the elapsed times.
    virtual void setClockTimeAxis(bool clockTimes) = 0;

Q_SIGNALS:
    // Mouse events. Mouse flags: 1 left button, 4 Shift, 8 Ctrl (added up).
    void chartSelected(int mouseFlags);
    void legendSelected(int mouseFlags);
    void axisSelected(int axisId, int mouseFlags);
    void axisLabelSelected(int axisId, int mouseFlags);
    void pointSelected(int series, int point, int mouseFlags);
    void chartActivated(int mouseFlags);
    void legendActivated(int mouseFlags);
    void seriesActivated(int series, int mouseFlags);
    // Any mouse button pressed on the chart: 1 left, 2 right, 4 middle; the
    // position is in global screen coordinates.
    void mouseDown(int button, int shift, const QPoint &globalPos);
};

} // namespace zorneta
