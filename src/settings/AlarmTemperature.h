#pragma once

#include <QPoint>
#include <QString>
#include <QStringView>

#include <optional>

namespace zorneta {

struct Services;
struct SessionState;

// The signal (alarm) temperature: entered through an input box, shown beside
// the chart, and re-armed for up to three alarms by every new entry. The
// alarm itself is raised by the reading pipeline.
class AlarmTemperature {
public:
    // Stands for "no temperature entered".
    static constexpr qint64 NoTemperature = 9998;
    // What the input box proposes.
    static constexpr const char16_t *ProposedValue = u"200";
    // Top left corner of the input box on the screen, in pixels (1600 and
    // 1200 twips at 96 dots per inch).
    static QPoint inputBoxPosition();

    AlarmTemperature(Services &services, SessionState &state) : m_services(services), m_state(state) {}

    // "Сигнальная температура..." and the toolbar's "DialPhoneNumber".
    void openAlarmTemperature();

    // The number a typed text begins with: blanks and tabs anywhere are
    // ignored, then an optional sign, digits with an optional "." and an
    // optional exponent ("e" or "E", optional sign, digits) are read up to the
    // first character that cannot continue the number. 0 when the text does
    // not begin with a number.
    static double typedNumber(QStringView text);
    // The whole number nearest to a value (halves to the even neighbour), or
    // nothing when it does not fit a 32-bit signed integer.
    static std::optional<qint64> roundedTemperature(double value);

    // The text of the signal temperature box: the value and "  град".
    static QString sigText(qint64 temperature);

private:
    Services &m_services;
    SessionState &m_state;
};

} // namespace zorneta
