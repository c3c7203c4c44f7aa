#include "support/ViewDoubles.h"

namespace zorneta::testing {

QString RecordingChart::axisName(Axis axis) {
    switch (axis) {
    case Axis::X:
        return QStringLiteral("X");
    case Axis::Y:
        return QStringLiteral("Y");
    case Axis::Y2:
        return QStringLiteral("Y2");
    }
    return QString();
}

Status RecordingChart::record(const QString &call) {
    calls.append(call);
    const QString name = call.left(call.indexOf(u'('));
    if (refuse.contains(name))
        return Status::failure(QStringLiteral("refused: ") + call);
    return Status::ok();
}

void RecordingChart::setChartData(const ReadingsTable &t) {
    calls.append(QStringLiteral("setChartData(%1..%2)").arg(t.firstColumn()).arg(t.lastColumn()));
    table = t;
    title = t.cell(2, t.firstColumn()).toText();
    ++tablesGiven;
}

Status RecordingChart::setAxisPenWidth(Axis axis, float width) {
    return record(QStringLiteral("setAxisPenWidth(%1,%2)").arg(axisName(axis)).arg(width));
}

Status RecordingChart::setAxisPenColor(Axis axis, int red, int green, int blue) {
    return record(QStringLiteral("setAxisPenColor(%1,%2,%3,%4)").arg(axisName(axis)).arg(red).arg(green).arg(blue));
}

Status RecordingChart::setAxisScaleHidden(Axis axis, bool hidden) {
    Status s = record(QStringLiteral("setAxisScaleHidden(%1,%2)").arg(axisName(axis)).arg(hidden));
    if (s)
        hiddenAxes[static_cast<int>(axis)] = hidden;
    return s;
}

Status RecordingChart::setDivisionsPerLabel(int divisions) {
    Status s = record(QStringLiteral("setDivisionsPerLabel(%1)").arg(divisions));
    if (s)
        divisionsPerLabel = divisions;
    return s;
}

Status RecordingChart::setDivisionsPerTick(int divisions) {
    Status s = record(QStringLiteral("setDivisionsPerTick(%1)").arg(divisions));
    if (s)
        divisionsPerTick = divisions;
    return s;
}

Status RecordingChart::setLabelTick(bool onTicks) {
    return record(QStringLiteral("setLabelTick(%1)").arg(onTicks));
}

Status RecordingChart::setCategoryScaleAuto(Axis axis, bool automatic) {
    return record(QStringLiteral("setCategoryScaleAuto(%1,%2)").arg(axisName(axis)).arg(automatic));
}

Status RecordingChart::setAxisLabelFont(Axis axis, bool bold, int size) {
    return record(QStringLiteral("setAxisLabelFont(%1,%2,%3)").arg(axisName(axis)).arg(bold).arg(size));
}

Status RecordingChart::setValueScale(Axis axis, const ValueScale &s) {
    Status st = record(QStringLiteral("setValueScale(%1,%2,%3,%4,%5,%6)")
                           .arg(axisName(axis))
                           .arg(s.automatic)
                           .arg(s.minimum)
                           .arg(s.maximum)
                           .arg(s.majorDivision)
                           .arg(s.minorDivision));
    if (st)
        scale = s;
    return st;
}

Status RecordingChart::setSeriesPenColor(int red, int green, int blue) {
    return record(QStringLiteral("setSeriesPenColor(%1,%2,%3)").arg(red).arg(green).arg(blue));
}

Status RecordingChart::setSeriesPenWidth(float width) {
    return record(QStringLiteral("setSeriesPenWidth(%1)").arg(width));
}

void RecordingChart::setShowLegend(bool shown) {
    calls.append(QStringLiteral("setShowLegend(%1)").arg(shown));
    legend = shown;
}

Status RecordingChart::setBackdrop(Backdrop part, const BackdropStyle &style) {
    if (!refuse.contains(QStringLiteral("setBackdrop")))
        backdrops.insert(static_cast<int>(part), style);
    return record(QStringLiteral("setBackdrop(%1,%2,%3,%4)")
                      .arg(static_cast<int>(part))
                      .arg(style.fillStyle)
                      .arg(style.frameStyle)
                      .arg(style.shadowStyle));
}

Status RecordingChart::setCurrentCell(int column, int row) {
    Status s = record(QStringLiteral("setCurrentCell(%1,%2)").arg(column).arg(row));
    if (s)
        currentValue = table.number(2, table.firstColumn() + column);
    return s;
}

Status RecordingChart::setRowLabel(int row, const QString &label) {
    Status s = record(QStringLiteral("setRowLabel(%1,%2)").arg(row).arg(label));
    if (s)
        title = label;
    return s;
}

Status RecordingChart::editCopy() {
    return record(QStringLiteral("EditCopy()"));
}

Status RecordingChart::editPaste() {
    return record(QStringLiteral("EditPaste()"));
}

void RecordingChart::move(int left, int top, int width, int height) {
    calls.append(QStringLiteral("Move(%1,%2,%3,%4)").arg(left).arg(top).arg(width).arg(height));
}

void RecordingChart::resetZoom() {
    calls.append(QStringLiteral("ResetZoom"));
}

void RecordingChart::setClockTimeAxis(bool clockTimes) {
    calls.append(QStringLiteral("ClockTimeAxis(%1)").arg(clockTimes ? 1 : 0));
}

} // namespace zorneta::testing
