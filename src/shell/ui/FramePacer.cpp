#include "shell/ui/FramePacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zorneta {

FramePacer::FramePacer(QWidget *window) : QObject(window), m_window(window) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FramePacer::paintNow);
    window->installEventFilter(this);
}

int FramePacer::frameInterval() const {
    const QScreen *screen = m_window->screen();
    double rate = screen ? screen->refreshRate() : 0.0;
    if (!(rate >= 1.0 && rate <= 1000.0))
        rate = 60.0;
    return std::max(1, static_cast<int>(std::lround(1000.0 / rate)));
}

bool FramePacer::eventFilter(QObject *watched, QEvent *event) {
    // The window paints its dirty widgets when it gets an update request.
    if (watched != m_window || event->type() != QEvent::UpdateRequest || m_delivering)
        return QObject::eventFilter(watched, event);
    if (m_timer.isActive())
        return true; // answered with the one already waiting
    const qint64 interval = frameInterval();
    if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= interval) {
        m_sincePaint.restart();
        return QObject::eventFilter(watched, event);
    }
    m_timer.start(static_cast<int>(interval - m_sincePaint.elapsed()));
    return true;
}

void FramePacer::paintNow() {
    m_sincePaint.restart();
    m_delivering = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
    m_delivering = false;
}

} // namespace zorneta
