#include "common/CurveZoom.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace zorneta {

void CurveZoom::setExtent(double first, double last) {
    const double width = m_to - m_from;
    const bool hadData = m_last > m_first;
    const bool shrank = std::max(first, last) < m_last;
    m_first = first;
    m_last = std::max(first, last);
    if (m_whole)
        return;
    // Data that shrank was replaced or cut (a new session, the start cut
    // off, only the end shown): the old stretch means nothing there.
    if (shrank) {
        reset();
        return;
    }
    if (m_following && hadData)
        place(m_last - width, m_last);
    else
        place(m_from, m_to);
}

bool CurveZoom::zoomByWheel(double anchor, int angleDelta) {
    if (angleDelta == 0)
        return false;
    return zoom(anchor, std::pow(NotchFactor, double(angleDelta) / WheelNotch));
}

bool CurveZoom::zoom(double anchor, double factor) {
    const double extent = m_last - m_first;
    if (!(factor > 0.0) || extent <= 0.0)
        return false;
    const double from = this->from(), to = this->to();
    const double oldWidth = to - from;
    double width = std::clamp(oldWidth * factor, std::min(m_minimumSpan, extent), extent);
    if (width == oldWidth)
        return false;
    anchor = std::clamp(anchor, from, to);
    const double share = oldWidth > 0.0 ? (anchor - from) / oldWidth : 1.0;
    if (width >= extent)
        return reset();
    m_whole = false;
    const double newFrom = anchor - share * width;
    place(newFrom, newFrom + width);
    return true;
}

bool CurveZoom::pan(double delta) {
    if (m_whole || delta == 0.0)
        return false;
    const double from = m_from, to = m_to;
    place(m_from + delta, m_to + delta);
    return m_from != from || m_to != to;
}

bool CurveZoom::reset() {
    const bool changed = !m_whole;
    m_whole = true;
    m_following = false;
    return changed;
}

void CurveZoom::place(double from, double to) {
    const double width = std::min(to - from, m_last - m_first);
    if (from < m_first)
        from = m_first;
    if (from + width > m_last)
        from = m_last - width;
    m_from = from;
    m_to = from + width;
    m_following = m_to >= m_last;
}

QString curveReadout(qint64 elapsedSeconds, const QDateTime &clock, std::optional<double> value, bool isBreak) {
    const qint64 s = std::max<qint64>(0, elapsedSeconds);
    QStringList parts;
    parts << QStringLiteral("%1:%2:%3")
                 .arg(s / 3600, 2, 10, QLatin1Char('0'))
                 .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                 .arg(s % 60, 2, 10, QLatin1Char('0'));
    if (clock.isValid())
        parts << clock.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (isBreak)
        parts << QStringLiteral("обрыв термопары");
    else if (value)
        parts << QStringLiteral("%1 °C").arg(QString::number(*value));
    return parts.join(QStringLiteral(" · "));
}

} // namespace zorneta
