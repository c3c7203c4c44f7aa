#include "session/PersistedSettings.h"

#include "platform/Prompts.h"
#include "platform/SettingsStore.h"
#include "session/Services.h"

namespace zorneta {

namespace {
const QString Section = QStringLiteral("Properties");
QString app() {
    return QString::fromUtf16(AppTitle);
}
} // namespace

std::optional<bool> textToBool(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (ok)
        return n != 0.0;
    return std::nullopt;
}

std::optional<qint64> textToInteger(const QString &text) {
    bool ok = false;
    const QString t = text.trimmed();
    const qint64 n = t.toLongLong(&ok);
    if (ok)
        return n;
    // "3.0" and the like: a whole number written with a decimal part.
    const double d = t.toDouble(&ok);
    if (ok && d == static_cast<double>(static_cast<qint64>(d)))
        return static_cast<qint64>(d);
    return std::nullopt;
}

QString boolToText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString PersistedSettings::text(const char16_t *key, const QString &defaultValue) const {
    return m_store.getSetting(app(), Section, QString::fromUtf16(key), defaultValue);
}

bool PersistedSettings::boolean(const char16_t *key, bool defaultValue) const {
    return textToBool(text(key, boolToText(defaultValue))).value_or(defaultValue);
}

qint64 PersistedSettings::integer(const char16_t *key, qint64 defaultValue) const {
    return textToInteger(text(key, QString::number(defaultValue))).value_or(defaultValue);
}

int PersistedSettings::listPosition(const char16_t *key, int defaultValue, int count) const {
    const qint64 n = integer(key, defaultValue);
    return (n >= 0 && n < count) ? static_cast<int>(n) : defaultValue;
}

std::int32_t PersistedSettings::colour(const char16_t *key, std::int32_t defaultValue) const {
    const qint64 n = integer(key, defaultValue);
    return (n >= 0 && n <= 0xFFFFFF) ? static_cast<std::int32_t>(n) : defaultValue;
}

Status PersistedSettings::save(const char16_t *key, const QString &value) {
    Status saved = m_store.saveSetting(app(), Section, QString::fromUtf16(key), value);
    if (saved) {
        m_failureShown = false;
    } else if (m_prompts && !m_failureShown) {
        m_failureShown = true;
        (void)m_prompts->messageBox(app(), saved.description(), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    }
    return saved;
}

} // namespace zorneta
