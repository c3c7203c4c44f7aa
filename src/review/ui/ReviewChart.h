#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace zorneta {

class ReviewSession;
struct CurvePlotOptions;

// The review window's chart: the chosen run's curve between the times on
// view, painted with the report's plot. The wheel zooms the time axis about
// the pointer, a left drag pans it, Home shows the whole run; the readout
// under the pointer goes out as readoutChanged().
class ReviewChart : public QWidget {
    Q_OBJECT
public:
    explicit ReviewChart(ReviewSession &session, QWidget *parent = nullptr);

    // The plot's rectangle within the widget (the axes' labels around it).
    QRectF plotRect() const;
    // The elapsed time at a point across the plot.
    double secondsAt(double x) const;
    // The x of an elapsed time.
    double xAt(double seconds) const;

    // Shows the whole run.
    void showWhole();
    // The last readout shown (empty when the pointer is off the plot).
    QString readout() const { return m_readout; }

    // Paints what the widget shows into any painter, at the widget's size.
    void paintChart(QPainter &painter) const;

Q_SIGNALS:
    void readoutChanged(const QString &text);
    // The stretch on view changed (a zoom, a pan, the whole run).
    void viewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    CurvePlotOptions plotOptions() const;
    void follow(const QPointF &position);

    ReviewSession &m_session;
    bool m_dragging = false;
    double m_dragX = 0.0;
    QString m_readout;
};

} // namespace zorneta
