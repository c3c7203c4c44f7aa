#include "platform/qt/QtSettingsStore.h"

#include <QSettings>

namespace zorneta {

QString QtSettingsStore::getSetting(const QString &application, const QString &section, const QString &key,
                                    const QString &defaultValue) const {
    // Opened per access, so a file changed by another instance is read afresh.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited file may hold a list ("a, b") where a text is expected.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

Status QtSettingsStore::saveSetting(const QString &application, const QString &section, const QString &key,
                                    const QString &value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    // Written through at once: a preference survives a crash right after it changed.
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return Status::ok();
    case QSettings::AccessError:
        return Status::failure(QStringLiteral("Нет доступа к файлу настроек ") + settings.fileName());
    case QSettings::FormatError:
        return Status::failure(QStringLiteral("Файл настроек повреждён: ") + settings.fileName());
    }
    return Status::ok();
}

} // namespace zorneta
