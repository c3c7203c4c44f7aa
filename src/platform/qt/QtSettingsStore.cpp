#include "platform/qt/QtSettingsStore.h"

#include "common/SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorneta {

namespace {

// The program keeps eighteen short keys; a file far larger than that is
// damaged, and reading it would stall every access.
constexpr qint64 MaxSettingsFileSize = 1024 * 1024;

bool isHuge(const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && info.size() > MaxSettingsFileSize;
}

// A pipe, a socket or a device where the file belongs: reading it could wait
// for ever, so it is never opened.
bool isNoFile(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

// Why the settings file cannot be written, as the system says it; empty when
// the file and its folder look writable.
QString writeRefusalReason(const QString &path) {
    const QFileInfo info(path);
    if (info.isDir())
        return errnoReason(EISDIR);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0) {
        // Made the way QSettings would make it, to learn what stops it.
        if (::mkdir(folder.constData(), 0700) != 0)
            return errnoReason(errno);
    } else if (!S_ISDIR(folderInfo.st_mode)) {
        return errnoReason(ENOTDIR);
    }
    if (info.exists()) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0)
            return errnoReason(errno);
        ::close(fd);
    }
    // The file is written as a new file next to the old one, then renamed.
    QByteArray probe = folder + "/.zorneta-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return errnoReason(errno);
    ::close(fd);
    ::unlink(probe.constData());
    return QString();
}

QString saveFailure(const QString &path, const QString &reason) {
    return QStringLiteral("Не удалось сохранить настройки в файл ") + path + QStringLiteral(": ") + reason;
}

} // namespace

QString QtSettingsStore::settingsFilePath(const QString &application) {
    // Where QSettings keeps a user's native-format file on Unix.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + application + u'/' +
           application + QStringLiteral(".conf");
}

QString QtSettingsStore::getSetting(const QString &application, const QString &section, const QString &key,
                                    const QString &defaultValue) const {
    const QString path = settingsFilePath(application);
    if (isHuge(path) || isNoFile(path))
        return defaultValue;
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
    const QString path = settingsFilePath(application);
    if (isNoFile(path))
        return Status::failure(saveFailure(path, QStringLiteral("это не обычный файл")));
    QString notice;
    if (isHuge(path)) {
        // Read as absent, so written afresh; the damaged file is kept aside.
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        if (!QFile::rename(path, aside))
            return Status::failure(saveFailure(path, QStringLiteral("файл повреждён (слишком велик)")));
        notice = QStringLiteral("Файл настроек ") + path +
                 QStringLiteral(" был повреждён (слишком велик) и сохранён как ") + aside +
                 QStringLiteral("; настройки записаны в новый файл");
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    // Written through at once: a preference survives a crash right after it changed.
    settings.sync();
    const QSettings::Status status = settings.status();
    if (status != QSettings::NoError) {
        // A format error means lines that did not parse; the file is still
        // written then, unless it is also refused, which that status hides.
        const QString reason = writeRefusalReason(path);
        if (!reason.isEmpty())
            return Status::failure(saveFailure(path, reason));
        if (status == QSettings::AccessError)
            return Status::failure(saveFailure(path, QStringLiteral("нет доступа")));
    }
    if (!notice.isEmpty())
        return Status::failure(notice);
    return Status::ok();
}

} // namespace zorneta
