#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace zorneta {

// The stretch of a curve's time axis on view while the user explores it: the
// wheel zooms about the pointer, a drag pans, Home shows the whole again.
//
// Positions are on the chart's own x scale (reading numbers on the live
// chart, elapsed seconds in a review). The extent is what the data covers;
// the view always lies within it and is never narrower than minimumSpan.
//
// Three states:
// - whole: the view is the extent, whatever the extent becomes;
// - following: zoomed in with the view's right end on the newest reading;
//   as the extent grows the view slides along with its width kept;
// - fixed: zoomed in on an older stretch; new readings do not move it.
// A pan or zoom that brings the right end to the extent's end follows again.
class CurveZoom {
public:
    // Wheel delta of one notch (as Qt reports it).
    static constexpr int WheelNotch = 120;
    // One notch narrows the view to this share of its width.
    static constexpr double NotchFactor = 0.8;

    explicit CurveZoom(double minimumSpan = 1.0) : m_minimumSpan(minimumSpan) {}

    // What the data covers now; first <= last. An extent that ends earlier
    // than before (the data was replaced or cut) shows the whole again.
    void setExtent(double first, double last);
    double extentFirst() const { return m_first; }
    double extentLast() const { return m_last; }

    bool whole() const { return m_whole; }
    bool following() const { return !m_whole && m_following; }
    double from() const { return m_whole ? m_first : m_from; }
    double to() const { return m_whole ? m_last : m_to; }

    // Zooms by the wheel's angle (positive: in) keeping the position at the
    // same place on the axis. Returns whether the view changed.
    bool zoomByWheel(double anchor, int angleDelta);
    // Zooms to factor times the current width (below 1: in) about anchor.
    bool zoom(double anchor, double factor);
    // Moves the view by delta (positive: later), kept within the extent.
    bool pan(double delta);
    // Shows the whole extent again (and so follows the newest reading).
    bool reset();

private:
    void place(double from, double to);

    double m_minimumSpan;
    double m_first = 0.0, m_last = 0.0;
    double m_from = 0.0, m_to = 0.0;
    bool m_whole = true;
    bool m_following = false;
};

// The pointer's readout: the elapsed time "hh:nn:ss" (hours past 24 as they
// grow), the clock time when the start is known, and the temperature, or a
// thermocouple break. For example "01:02:03 · 08.12.2026 11:02:03 · 523 °C".
QString curveReadout(qint64 elapsedSeconds, const QDateTime &clock, std::optional<double> value, bool isBreak);

} // namespace zorneta
