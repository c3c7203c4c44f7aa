#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace zorneta {

class ReadingsTable;
struct Services;
struct SessionState;

// The four fields of the current-parameters window, as the logic fills them.
class SeriesDataForm {
public:
    enum Field { Temperature = 1, Start = 2, Duration = 3, Rate = 4 };
    virtual ~SeriesDataForm() = default;
    virtual void setField(Field field, const QString &text) = 0;
    virtual QString field(Field field) const = 0;
};

// A number as text with the given locale's decimal separator and no group
// separators: 1023, 1023,5.
QString LocaleNumberText(double value, const QLocale &locale);
// A number in the pattern "###.00": two decimals, no leading zero (".50").
QString RateText(double value, const QLocale &locale);

// The current-parameters window's content: start time, duration, newest
// temperature and its rate of rise over the last 50 readings.
class SeriesData {
public:
    static constexpr qint64 RateSpan = 50;

    SeriesData(Services &services, SessionState &state, QLocale locale = QLocale::system())
        : m_services(services), m_state(state), m_locale(std::move(locale)) {}

    // The window's load: the fields are filled only once there are more
    // readings than the rate's span.
    void Form_Load(SeriesDataForm &form);
    // Start time and duration always; temperature and rate once there are
    // more than 50 readings.
    void ShowSeriesData(SeriesDataForm &form);

    // Seconds from the reading in column `from` to the one in `to`, taken
    // from their elapsed times since the start of the session; nothing when a
    // column holds no time.
    static std::optional<qint64> secondsBetween(const ReadingsTable &table, qint64 from, qint64 to);

private:
    Services &m_services;
    SessionState &m_state;
    QLocale m_locale;
};

} // namespace zorneta
