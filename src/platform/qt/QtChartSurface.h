#pragma once

#include "common/CurveDecimator.h"
#include "common/CurveZoom.h"
#include "platform/ChartSurface.h"

#include <QList>
#include <QPair>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>

class QChart;
class QChartView;
class QCategoryAxis;
class QGraphicsEllipseItem;
class QGraphicsLineItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QKeyEvent;
class QLineSeries;
class QMouseEvent;
class QWheelEvent;
class QValueAxis;
class QWidget;

namespace zorneta {

class ChartHitTest;
class FramePacer;

// The chart of the heating curve drawn with Qt Charts.
//
// The surface owns a QChartView (widget()); put it into a window's layout or
// move it with move(). The view is deleted with the surface unless its window
// deleted it first.
//
// The table is kept as a copy, so the caller may change or drop its own; the
// copy shares the table's blocks, so it costs little whatever the length of
// the session. The curve is thinned for drawing (see CurveDecimator): when
// there are more points than pixel columns in the plot area, only the lowest
// and the highest point of every pixel column are drawn, in the order they
// were read, so the drawn curve looks the same while the series never holds
// more than two points per pixel column. Nothing done on a new table goes
// through all its columns: an update costs about the plot width plus the
// blocks of the table that changed.
//
// While the view is on screen, tables handed over faster than the screen
// refreshes are drawn at most once a frame: a table is only kept (a copy that
// shares the blocks) and a frame asked of the FramePacer; when it comes, the newest
// table becomes the curve, the X axes, the title and the value range at once,
// and the view paints once. When a frame only moved the newest end of the
// curve (the axes, the value range and the other X labels as they were), only
// the strip of the view from the first changed point on is painted again.
// What reads the table back (the current cell, the row label, the
// clipboard) always sees the newest table. Off screen every
// table is drawn at once.
//
// The X axis is made of two axes sharing one range (point p sits at x = p):
// a value axis that draws the line, the tick marks and the grid, and a
// category axis under it that only draws the labels. Both are thinned so that
// at most MaxXLabels labels and MaxXTicks tick marks are drawn.
//
// A click is placed on the chart by ChartHitTest; the clipboard carries the
// table as chartDataText() writes it and readChartDataText() reads it.
//
// The time axis can be explored (its state is a CurveZoom over x): the wheel
// over the plot zooms about the pointer, a drag with the left button (once
// the pointer has moved the drag distance; the click itself is reported on
// the press, as always) or with the middle button pans, Home on the chart or
// resetZoom() shows the whole again. While zoomed only the stretch on view is
// thinned to the plot width. A zoom or pan that leaves the newest reading on
// view moves the view on to the end, so it follows the readings to come. A
// crosshair and a readout (elapsed time, clock time when known, temperature
// or a thermocouple break) follow the pointer over the plot.
class QtChartSurface : public ChartSurface {
    Q_OBJECT
public:
    static constexpr int MaxXLabels = 25;
    static constexpr int MaxXTicks = 100;
    // On screen, frames begin at least this many times as far apart as the
    // last one took to draw and paint: the chart keeps to at most a sixteenth
    // of the time, however slow the machine or long the session.
    static constexpr qint64 FrameSpacingPerCost = 16;

    explicit QtChartSurface(QWidget *viewParent = nullptr);
    ~QtChartSurface() override;

    QWidget *widget() const;

    // Old chart pen widths (25 for axes, 40 for the curve, 10..60 from the
    // line-width choice) to pixels.
    static double penPixels(double width);

    void setChartData(const ReadingsTable &table) override;
    void refresh() override;

    Status setAxisPenWidth(Axis axis, float width) override;
    Status setAxisPenColor(Axis axis, int red, int green, int blue) override;
    Status setAxisScaleHidden(Axis axis, bool hidden) override;
    bool axisScaleHidden(Axis axis) const override;

    Status setDivisionsPerLabel(int divisions) override;
    Status setDivisionsPerTick(int divisions) override;
    Status setLabelTick(bool onTicks) override;
    Status setCategoryScaleAuto(Axis axis, bool automatic) override;
    Status setAxisLabelFont(Axis axis, bool bold, int size) override;

    Status setValueScale(Axis axis, const ValueScale &scale) override;
    ValueScale valueScale(Axis axis) const override;

    Status setSeriesPenColor(int red, int green, int blue) override;
    Status setSeriesPenWidth(float width) override;

    void setShowLegend(bool shown) override;
    bool showLegend() const override;
    Status setBackdrop(Backdrop part, const BackdropStyle &style) override;
    BackdropStyle backdrop(Backdrop part) const override;

    Status setCurrentCell(int column, int row) override;
    double currentCellValue() const override;
    QString rowLabel(int row) const override;
    Status setRowLabel(int row, const QString &label) override;

    Status editCopy() override;
    Status editPaste() override;

    void move(int left, int top, int width, int height) override;

    void resetZoom() override;
    void setClockTimeAxis(bool clockTimes) override;
    bool clockTimeAxis() const { return m_clockAxis; }
    // The stretch of x on view (point p at x = p), as the X axis shows it.
    QPair<double, double> visibleRange() const;
    const CurveZoom &zoom() const { return m_zoom; }
    // The readout shown beside the crosshair; empty while there is none.
    QString readout() const { return m_readout; }
    // The readout of point p of the curve; empty when it holds no reading.
    QString readoutOf(qint64 point) const;
    // A reading of this value is a thermocouple break, not a temperature.
    static constexpr double BreakReading = 9999.0;
    // The narrowest view, in points.
    static constexpr double MinimumZoomPoints = 5.0;

    // How tables handed over are drawn. The default thins the curve to the
    // plot width and draws at most once a frame; the other way (every point
    // of every table, at once, the whole view painted each time) is the plain
    // baseline benchmarks compare with.
    struct Drawing {
        bool thinned = true;
        bool oncePerFrame = true;
    };
    void setDrawing(Drawing drawing);
    Drawing drawing() const { return m_drawing; }
    // A table handed over waits for the next frame to be drawn.
    bool drawingPending() const;
    // Milliseconds between two frames at most: the refresh interval of the
    // view's screen (60 Hz when the screen does not tell).
    int frameInterval() const;
    // Tables drawn so far (each one a curve, axes and value range).
    quint64 tablesDrawn() const { return m_tablesDrawn; }

    // The table shown (empty before the first one is given).
    const ReadingsTable &table() const { return m_table; }

private:
    class View;
    friend class View;

    // What a frame may change on the chart apart from the newest end of the
    // curve and the last X label, plus a count of the other changes made
    // through the surface: when it is the same before and after a frame,
    // only the chart's right-hand strip from the first changed point on is
    // painted again (see onSceneChanged).
    struct Look {
        QRectF plotArea;
        QSize viewSize;
        double xMin = 0.0, xMax = 0.0, xInterval = 0.0;
        double yMin = 0.0, yMax = 0.0;
        QList<QPair<QString, double>> labels; // but the last
        QString title;
        quint64 changes = 0;
        bool operator==(const Look &) const = default;
    };
    Look look() const;
    // The viewport's x from which the frame just drawn differs from what was
    // last handed to the view, or -1 for the whole view.
    int changedFrom() const;
    void onSceneChanged(const QList<QRectF> &rects);
    // A change other than a new table: the next paint covers the whole view.
    void changeLook() { ++m_lookChanges; }

    bool showingContentOf(const ReadingsTable &table) const;
    void showTable();
    void updateDataRange();
    void rebuildCurve();
    void drawFrame();
    QList<QPointF> everyPoint() const;
    void rebuildXAxis();
    void applyValueRange();
    void applyTitle();
    void onPlotAreaChanged(const QRectF &plotArea);
    void fitToPlotWidth();
    void forgetView();
    int plotWidth() const;
    qint64 pointCount() const;
    QString xLabelText(qint64 point) const;
    QValueAxis *valueAxis(Axis axis) const;

    void mousePress(QMouseEvent *event);
    void mouseDoubleClick(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    // Whether the surface took the event.
    bool wheel(QWheelEvent *event);
    bool keyPress(QKeyEvent *event);
    void pointerLeft();
    // A view that shows the newest reading is moved on to the end of the
    // extent, so it follows the readings to come. Returns whether it moved.
    bool followIfNewestShown();
    // The curve and the X axis again after the view moved.
    void redrawZoom();
    void updateCrosshair();
    void hideCrosshair();
    QPointF chartPosition(const QPointF &viewportPos) const;
    // The chart as drawn now, to place a click on.
    ChartHitTest hitTest() const;

    QPointer<QChartView> m_view;
    QChart *m_chart = nullptr;
    QLineSeries *m_series = nullptr;
    QValueAxis *m_xTicks = nullptr;
    QCategoryAxis *m_xLabels = nullptr;
    QValueAxis *m_y = nullptr;
    QValueAxis *m_y2 = nullptr;

    ReadingsTable m_table;
    // Whether m_table was handed over (and not pasted or retitled since).
    bool m_hasSource = false;
    CurveDecimator m_decimator;

    // Data range of row 2.
    bool m_hasData = false;
    double m_dataMin = 0.0;
    double m_dataMax = 0.0;
    int m_curveWidth = 0; // plot width the curve was thinned for
    Drawing m_drawing;
    // Spaces the frames drawn on screen.
    FramePacer *m_pacer = nullptr;
    quint64 m_tablesDrawn = 0;
    qint64 m_drawNanos = 0;  // the last frame's curve, axes and range
    qint64 m_paintNanos = 0; // the view's last paint
    int m_labelWidth = 0;    // plot width the X labels were spaced for
    QList<QPointF> m_drawn;
    QList<QPair<QString, double>> m_xLabelList; // labels on the category axis

    int m_divisionsPerLabel = 1;
    int m_divisionsPerTick = 1;
    bool m_labelsOnTicks = true;
    bool m_categoryAuto = true;
    bool m_hidden[3] = {false, false, true};
    ValueScale m_scale;     // as set
    ValueScale m_effective; // as drawn
    bool m_legendShown = true;
    // Legend, plot area and chart backdrops as last set; the chart is filled
    // white from the start.
    BackdropStyle m_backdrops[3] = {{}, {}, {1, 255, 255, 255, 0, 0.0f, 0}};

    // The view repaints only what changed (see Look).
    quint64 m_lookChanges = 0;
    Look m_paintedLook;              // as last handed to the view
    QList<QPointF> m_paintedDrawn;   // the curve as last handed to the view
    double m_paintedLastLabel = 0.0; // where its last X label stood
    Look m_frameLook;                // right after the last frame
    int m_frameChangedFrom = -1;     // that frame's changed strip, or -1
    double m_labelPixels = 0.0;      // the widest X label, in pixels

    int m_currentPoint = 1;
    bool m_rebuildQueued = false;

    // Exploring the time axis.
    CurveZoom m_zoom{MinimumZoomPoints};
    bool m_clockAxis = false;
    Qt::MouseButton m_panButton = Qt::NoButton; // armed by a press in the plot
    bool m_panning = false;
    QPointF m_pressPos;        // viewport position of that press
    double m_panStartFrom = 0; // the view's left end then
    bool m_pointerInside = false;
    QPointF m_pointer; // chart position of the pointer
    QGraphicsLineItem *m_crossLine = nullptr;
    QGraphicsEllipseItem *m_crossDot = nullptr;
    QGraphicsRectItem *m_readoutBox = nullptr;
    QGraphicsSimpleTextItem *m_readoutText = nullptr;
    QString m_readout;
};

} // namespace zorneta
