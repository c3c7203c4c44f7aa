#include "review/ui/ReviewChart.h"

#include "review/CurvePlot.h"
#include "review/ReviewSession.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace zorneta {

namespace {
// Room for the labels around the plot.
constexpr double LeftRoom = 84.0;
constexpr double TopRoom = 40.0;
constexpr double RightRoom = 24.0;
constexpr double BottomRoom = 58.0;
} // namespace

ReviewChart::ReviewChart(ReviewSession &session, QWidget *parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("reviewChart"));
    setAccessibleName(QStringLiteral("Кривая нагрева"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF ReviewChart::plotRect() const {
    return QRectF(LeftRoom, TopRoom, std::max(10.0, width() - LeftRoom - RightRoom),
                  std::max(10.0, height() - TopRoom - BottomRoom));
}

CurvePlotOptions ReviewChart::plotOptions() const {
    CurvePlotOptions options;
    options.run = m_session.run();
    options.from = m_session.zoom().from();
    options.to = m_session.zoom().to();
    options.start = m_session.start();
    options.fontFamily = font().family();
    options.axisPixels = 12;
    options.textPixels = 14;
    options.secondLabels = true;
    return options;
}

double ReviewChart::secondsAt(double x) const {
    return plotSeconds(plotRect(), plotOptions(), x);
}

double ReviewChart::xAt(double seconds) const {
    return plotX(plotRect(), plotOptions(), seconds);
}

void ReviewChart::paintChart(QPainter &painter) const {
    painter.fillRect(rect(), Qt::white);
    if (m_session.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    paintCurvePlot(painter, plotRect(), m_session.record(), plotOptions());
}

void ReviewChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintChart(painter);
}

void ReviewChart::showWhole() {
    if (m_session.zoom().reset()) {
        update();
        Q_EMIT viewChanged();
    }
}

void ReviewChart::follow(const QPointF &position) {
    QString text;
    if (!m_session.isEmpty() && plotRect().contains(position))
        text = m_session.readout(secondsAt(position.x()));
    if (text != m_readout) {
        m_readout = text;
        Q_EMIT readoutChanged(text);
    }
}

void ReviewChart::wheelEvent(QWheelEvent *event) {
    const int delta = event->angleDelta().y();
    if (m_session.isEmpty() || delta == 0) {
        event->ignore();
        return;
    }
    if (m_session.zoom().zoomByWheel(secondsAt(event->position().x()), delta)) {
        update();
        Q_EMIT viewChanged();
    }
    follow(event->position());
    event->accept();
}

void ReviewChart::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    m_dragX = event->position().x();
    setCursor(Qt::ClosedHandCursor);
}

void ReviewChart::mouseMoveEvent(QMouseEvent *event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        const double x = event->position().x();
        // The curve follows the pointer: dragging to the right shows earlier times.
        const double delta = (m_dragX - x) / plotRect().width() * (m_session.zoom().to() - m_session.zoom().from());
        m_dragX = x;
        if (m_session.zoom().pan(delta)) {
            update();
            Q_EMIT viewChanged();
        }
    }
    follow(event->position());
}

void ReviewChart::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        unsetCursor();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ReviewChart::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Home) {
        showWhole();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReviewChart::leaveEvent(QEvent *) {
    if (!m_readout.isEmpty()) {
        m_readout.clear();
        Q_EMIT readoutChanged(m_readout);
    }
}

} // namespace zorneta
