#pragma once

#include "platform/Status.h"

#include <QString>

namespace zorneta {

// Per-user store of text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the key is absent.
    virtual QString getSetting(const QString &application, const QString &section, const QString &key,
                               const QString &defaultValue = QString()) const = 0;
    // Stores the text, creating section and key as needed.
    virtual Status saveSetting(const QString &application, const QString &section, const QString &key,
                               const QString &value) = 0;
};

} // namespace zorneta
