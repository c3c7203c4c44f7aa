#pragma once

#include "platform/Status.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace zorneta {

class Prompts;
class SettingsStore;

// The preferences kept between runs: application "Зорнета", section
// "Properties". Every value is text; Booleans are "True"/"False", numbers
// their decimal text, list choices their position from 0.
namespace Keys {
inline constexpr const char16_t *Settings = u"Settings";
inline constexpr const char16_t *CommPort = u"CommPort";
inline constexpr const char16_t *Handshaking = u"Handshaking";
inline constexpr const char16_t *Echo = u"Echo";
inline constexpr const char16_t *GroundColor = u"GroundColor";
inline constexpr const char16_t *PenColor = u"PenColor";
inline constexpr const char16_t *Indicator = u"Indicator";
inline constexpr const char16_t *Button = u"Button";
inline constexpr const char16_t *SigTemp = u"SigTemp";
inline constexpr const char16_t *Speed = u"Speed";
inline constexpr const char16_t *PassOver = u"PassOver";
inline constexpr const char16_t *Color = u"Color";
inline constexpr const char16_t *Thin = u"Thin";
inline constexpr const char16_t *VGrid = u"VGrid";
inline constexpr const char16_t *Opto = u"Opto";
inline constexpr const char16_t *Y2 = u"Y2";
inline constexpr const char16_t *Legend = u"Legend";
inline constexpr const char16_t *SnapShot = u"SnapShot";
} // namespace Keys

// Conversions of stored texts. A value that does not convert yields nothing,
// and the caller falls back to the key's default.
std::optional<bool> textToBool(const QString &text);
std::optional<qint64> textToInteger(const QString &text);
QString boolToText(bool value);

// Reads and writes the program's keys. With prompts given, a write that the
// store refuses is shown to the user (once, until a write succeeds again, so
// that a command saving several keys does not ask several times).
class PersistedSettings {
public:
    explicit PersistedSettings(SettingsStore &store, Prompts *prompts = nullptr) : m_store(store), m_prompts(prompts) {}

    QString text(const char16_t *key, const QString &defaultValue = QString()) const;
    bool boolean(const char16_t *key, bool defaultValue) const;
    qint64 integer(const char16_t *key, qint64 defaultValue) const;
    // A list position: the default when absent, damaged or outside 0..count-1.
    int listPosition(const char16_t *key, int defaultValue, int count) const;
    // A colour 0x00BBGGRR: the default when absent, damaged or out of range.
    std::int32_t colour(const char16_t *key, std::int32_t defaultValue) const;

    Status save(const char16_t *key, const QString &value);
    Status saveBool(const char16_t *key, bool value) { return save(key, boolToText(value)); }
    Status saveInteger(const char16_t *key, qint64 value) { return save(key, QString::number(value)); }

private:
    SettingsStore &m_store;
    Prompts *m_prompts;
    bool m_failureShown = false;
};

} // namespace zorneta
