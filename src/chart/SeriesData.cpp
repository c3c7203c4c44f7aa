#include "chart/SeriesData.h"

#include "session/SessionState.h"
#include "common/Formats.h"
#include "platform/Clock.h"
#include "session/Services.h"

#include <QTime>

#include <cmath>

namespace zorneta {

namespace {

constexpr qint64 SecondsPerDay = 24 * 3600;

// The seconds of a time-of-day label "hh:nn:ss", or nothing.
std::optional<qint64> labelSeconds(const QString &label) {
    const QTime t = QTime::fromString(label.trimmed(), QStringLiteral("hh:mm:ss"));
    if (!t.isValid())
        return std::nullopt;
    return t.msecsSinceStartOfDay() / 1000;
}

} // namespace

QString LocaleNumberText(double value, const QLocale &locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

QString RateText(double value, const QLocale &locale) {
    QString digits = QString::number(std::fabs(value), 'f', 2);
    if (digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits == QStringLiteral(".00"))
        value = 0.0; // no "-.00"
    digits.replace(u'.', locale.decimalPoint());
    return value < 0.0 ? QStringLiteral("-") + digits : digits;
}

std::optional<qint64> SeriesData::secondsBetween(const ReadingsTable &table, qint64 from, qint64 to) {
    const qint64 a = table.elapsedSeconds(1, from);
    const qint64 b = table.elapsedSeconds(1, to);
    if (a >= 0 && b >= 0)
        return b - a;
    // Labels put in as text (pasted data): read them as times of day, the
    // second one taken as the later.
    const auto la = labelSeconds(table.cell(1, from).toText());
    const auto lb = labelSeconds(table.cell(1, to).toText());
    if (!la || !lb)
        return std::nullopt;
    return ((*lb - *la) % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
}

void SeriesData::Form_Load(SeriesDataForm &form) {
    if (m_state.PointCount > RateSpan)
        ShowSeriesData(form);
}

void SeriesData::ShowSeriesData(SeriesDataForm &form) {
    const SessionState &s = m_state;
    form.setField(SeriesDataForm::Start, TimeOfDayText(s.StartTime));
    form.setField(SeriesDataForm::Duration, ElapsedText(s.StartTime, m_services.clock.now()));
    if (s.PointCount <= RateSpan)
        return;
    const qint64 n = s.PointCount;
    const qint64 first = n - RateSpan;
    const auto seconds = secondsBetween(s.Readings, first, n);
    // No time span (a clock set back, labels that are not times): no rate.
    if (!seconds || *seconds <= 0) {
        form.setField(SeriesDataForm::Rate, QString());
    } else {
        const double rise = s.Readings.number(2, n) - s.Readings.number(2, first);
        form.setField(SeriesDataForm::Rate, RateText(rise / static_cast<double>(*seconds) * 60.0, m_locale));
    }
    form.setField(SeriesDataForm::Temperature, LocaleNumberText(s.Readings.number(2, n), m_locale));
}

} // namespace zorneta
