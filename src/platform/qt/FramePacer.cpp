#include "platform/qt/FramePacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zorneta {

FramePacer::FramePacer(QWidget *screenOf, QObject *parent) : QObject(parent), m_widget(screenOf) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FramePacer::beginFrame);
}

FramePacer::FramePacer(QWidget *window) : FramePacer(window, window) {
    m_window = window;
    connect(this, &FramePacer::frameDue, this, &FramePacer::paintWindow);
    window->installEventFilter(this);
}

int FramePacer::frameInterval() const {
    const QScreen *screen = m_widget ? m_widget->screen() : nullptr;
    double rate = screen ? screen->refreshRate() : 0.0;
    if (!(rate >= 1.0 && rate <= 1000.0))
        rate = 60.0;
    return std::max(1, static_cast<int>(std::lround(1000.0 / rate)));
}

qint64 FramePacer::spacing() const {
    return std::max<qint64>(frameInterval(), m_costNanos * m_spacingPerCost / 1000000);
}

void FramePacer::request() {
    if (m_timer.isActive())
        return;
    const qint64 wait = m_sinceFrame.isValid() ? std::max<qint64>(0, spacing() - m_sinceFrame.elapsed()) : 0;
    m_timer.start(static_cast<int>(std::min<qint64>(wait, 1000)));
}

void FramePacer::beginFrame() {
    m_sinceFrame.restart();
    Q_EMIT frameDue();
}

bool FramePacer::eventFilter(QObject *watched, QEvent *event) {
    // The window paints its dirty widgets when it gets an update request.
    if (!m_window || watched != m_window || event->type() != QEvent::UpdateRequest || m_delivering)
        return QObject::eventFilter(watched, event);
    if (m_timer.isActive())
        return true; // answered with the one already waiting
    if (!m_sinceFrame.isValid() || m_sinceFrame.elapsed() >= spacing()) {
        m_sinceFrame.restart();
        return QObject::eventFilter(watched, event);
    }
    request();
    return true;
}

void FramePacer::paintWindow() {
    m_delivering = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
    m_delivering = false;
}

} // namespace zorneta
