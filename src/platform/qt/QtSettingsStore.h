#pragma once

#include "platform/SettingsStore.h"

namespace zorneta {

// The settings store on QSettings in the native format: organisation and
// application are both the application name, one group per section. On Linux
// that is $XDG_CONFIG_HOME/<application>/<application>.conf.
class QtSettingsStore : public SettingsStore {
public:
    QString getSetting(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const override;
    Status saveSetting(const QString &application, const QString &section, const QString &key,
                       const QString &value) override;
};

} // namespace zorneta
