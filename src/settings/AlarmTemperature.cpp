#include "settings/AlarmTemperature.h"

#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "session/SessionState.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace zorneta {

namespace {
constexpr int TwipsPerInch = 1440;
constexpr int PixelsPerInch = 96;

int twipsToPixels(int twips) {
    return (twips * PixelsPerInch + TwipsPerInch / 2) / TwipsPerInch;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
} // namespace

QPoint AlarmTemperature::inputBoxPosition() {
    return QPoint(twipsToPixels(1600), twipsToPixels(1200));
}

double AlarmTemperature::typedNumber(QStringView text) {
    // Blanks and tabs do not count wherever they are.
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c != u' ' && c != u'\t')
            s.append(c);
    }
    qsizetype i = 0;
    QString number;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        number.append(s[i++]);
    bool digits = false;
    while (i < s.size() && isDigit(s[i])) {
        number.append(s[i++]);
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        number.append(s[i++]);
        while (i < s.size() && isDigit(s[i])) {
            number.append(s[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent counts only with at least one digit of its own.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            number.append(u'e');
            number.append(s.mid(i + 1, j - i - 1));
            while (j < s.size() && isDigit(s[j]))
                number.append(s[j++]);
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok)
        return value;
    // Out of a double's range: too small is 0, too large an infinity of the
    // number's sign.
    if (number.contains(QStringLiteral("e-")))
        return 0.0;
    return number.startsWith(u'-') ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

std::optional<qint64> AlarmTemperature::roundedTemperature(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // Halves go to the even neighbour.
    const double whole = std::nearbyint(value);
    if (whole < std::numeric_limits<std::int32_t>::min() || whole > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<qint64>(whole);
}

QString AlarmTemperature::sigText(qint64 temperature) {
    return QString::number(temperature) + QStringLiteral("  град");
}

void AlarmTemperature::openAlarmTemperature() {
    const QString title = QStringLiteral("       Сигнализация");
    const std::optional<QString> answer = m_services.prompts.inputBox(
        QStringLiteral("      Введите значение температуры, по достижении которой будет выдан сигнал"), title,
        QString::fromUtf16(ProposedValue), inputBoxPosition());
    // Cancel is the empty answer, and so no temperature.
    const std::optional<qint64> temperature = roundedTemperature(typedNumber(answer.value_or(QString())));
    if (!temperature) {
        // A number the set temperature cannot hold: the previous one stays.
        m_services.prompts.messageBox(
            title,
            QStringLiteral("Значение температуры вне допустимого диапазона (от -2147483648 до 2147483647): ") +
                answer.value_or(QString()).trimmed() + QStringLiteral("\n\nПрежнее значение сохранено."),
            Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    // A temperature entered: whether the next reading passed it counts from
    // the reading after it.
    m_state.previousReading.reset();
    if (*temperature == 0) {
        m_state.temperature = NoTemperature;
        return;
    }
    m_state.temperature = *temperature;
    m_state.alarmCount = 0;
    m_services.view.setSigText(sigText(m_state.temperature));
}

} // namespace zorneta
