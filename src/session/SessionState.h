#pragma once

#include "common/ReadingsTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace zorneta {

// Everything that lives for the whole run of the main window: the readings of
// the session, the counters and periods, the chart's appearance, the view
// lengths, the alarm state and the recording handle. One object, owned by the
// main window's logic and passed by reference to every command.
struct SessionState {
    // Readings of the current session and of the end-of-graph view.
    ReadingsTable readings;
    ReadingsTable endReadings;

    // Counters. Wide enough for weeks of readings at 0.64 s.
    qint64 pointCount = 0;
    qint64 commEventCount = 0;

    // Periods: an event becomes a reading when CommEventCount mod ReadPeriod
    // is 0; the chart is redrawn when PointCount mod UpdatePeriod is 0.
    int readPeriod = 1;
    int updatePeriod = 10;

    QDateTime startTime;

    // X-axis spacing. The divisions are 16-bit counts.
    bool autoTickDivision = false;
    std::int16_t xLabelDivisions = 1;
    std::int16_t xTickDivisions = 1;

    // Alarm. The reading before the newest one decides, with the newest,
    // whether the set temperature was passed; forgotten when the port opens, a
    // session starts or a temperature is entered.
    qint64 temperature = 0;
    int alarmCount = 0;
    std::optional<double> previousReading;

    // End-of-graph view.
    bool onlyEnd = false;
    float endStart = 0.0f;
    std::int16_t endPoints = 0;
    std::int16_t cutStartPoints = 0;

    // Chart appearance.
    int curveRed = 10;
    int curveGreen = 10;
    int curveBlue = 200;
    int curveWidth = 40;
    bool xAxisHidden = true;
    bool y2AxisHidden = true;
    bool legendShown = true;

    // Indicator.
    bool indicatorShown = true;
    bool clearButtonShown = true;
    std::int32_t indicatorBackColor = 0;
    std::int32_t indicatorTextColor = 65280;

    // Port dialog and snapshot choices.
    bool echo = false;
    bool snapshotAllData = true;
};

// The series title of a fresh session.
inline const char16_t *const InitialSeriesTitle = u"МЛ512";
// Number of columns of a fresh readings table.
inline constexpr qint64 InitialColumns = 40;

// "C" followed by the column number: the label of a table's last column.
QString lastColumnLabel(qint64 column);

// A fresh readings table: 40 columns, the initial series title and the label
// of the last column.
ReadingsTable freshReadings();

} // namespace zorneta
