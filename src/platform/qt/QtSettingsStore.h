#pragma once

#include "platform/SettingsStore.h"

namespace zorneta {

// The settings store on QSettings in the native format: organisation and
// application are both the application name, one group per section. On Linux
// that is $XDG_CONFIG_HOME/<application>/<application>.conf. A file that
// cannot be read, or is far too large to be the program's, reads as empty;
// a refused write is reported in Russian, naming the file and the reason.
class QtSettingsStore : public SettingsStore {
public:
    // The file that holds the application's settings for this user.
    static QString settingsFilePath(const QString &application);

    QString getSetting(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const override;
    Status saveSetting(const QString &application, const QString &section, const QString &key,
                       const QString &value) override;
};

} // namespace zorneta
