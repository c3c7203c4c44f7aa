#pragma once

#include "common/ReadingsTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace zorneta {

// Everything that lives for the whole run of the main window: the readings of
// the session, the counters and periods, the chart's appearance, the view
// lengths, the alarm state and the recording handle. One object, owned by the
// main window's logic and passed by reference to every command.
struct SessionState {
    // Readings of the current session and of the end-of-graph view.
    ReadingsTable Readings;
    ReadingsTable EndReadings;

    // Counters. Wide enough for weeks of readings at 0.64 s.
    qint64 PointCount = 0;
    qint64 CommEventCount = 0;

    // Periods: an event becomes a reading when CommEventCount mod ReadPeriod
    // is 0; the chart is redrawn when PointCount mod UpdatePeriod is 0.
    int ReadPeriod = 1;
    int UpdatePeriod = 10;

    QDateTime StartTime;

    // X-axis spacing. The divisions are 16-bit counts.
    bool AutoTickDivision = false;
    std::int16_t XLabelDivisions = 1;
    std::int16_t XTickDivisions = 1;

    // Alarm.
    qint64 Temperature = 0;
    int AlarmCount = 0;

    // End-of-graph view.
    bool OnlyEnd = false;
    float EndStart = 0.0f;
    std::int16_t EndPoints = 0;
    std::int16_t CutStartPoints = 0;

    // The last serial read and the last line event's description.
    QByteArray ReceivedData;
    QString EventText;

    // Chart appearance.
    int CurveRed = 10;
    int CurveGreen = 10;
    int CurveBlue = 200;
    int CurveWidth = 40;
    bool XAxisHidden = true;
    bool Y2AxisHidden = true;
    bool LegendShown = true;

    // Indicator.
    bool IndicatorShown = true;
    bool ClearButtonShown = true;
    std::int32_t IndicatorBackColor = 0;
    std::int32_t IndicatorTextColor = 65280;

    // Port dialog and snapshot choices.
    bool Echo = false;
    bool SnapshotAllData = true;

    // The recording file is open (its handle lives in the recorder).
    bool Recording = false;
};

// The series title of a fresh session.
inline const char16_t *const InitialSeriesTitle = u"МЛ512";
// Number of columns of a fresh readings table.
inline constexpr qint64 InitialColumns = 40;

// "C" followed by the column number: the label of a table's last column.
QString LastColumnLabel(qint64 column);

// A fresh readings table: 40 columns, the initial series title and the label
// of the last column.
ReadingsTable FreshReadings();

} // namespace zorneta
