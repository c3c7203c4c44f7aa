#include "platform/qt/QtSystem.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zorneta {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void QtBeeper::Beep() {
    QApplication::beep();
}

std::optional<QString> QtInstallInfo::installationDirectory() const {
    QString dir = qEnvironmentVariable("ZORNETA_INSTALL_DIR");
    if (dir.isEmpty()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        const QString shared = QDir(appDir).absoluteFilePath(QStringLiteral("../share/zorneta"));
        dir = QFileInfo(shared).isDir() ? QDir::cleanPath(shared) : appDir;
    }
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return std::nullopt;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

Status QtLauncher::openDocument(const QString &path) {
    if (!QFileInfo::exists(path))
        return Status::failure(QStringLiteral("Файл не найден: ") + path);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return Status::failure(QStringLiteral("Не удалось открыть файл: ") + path);
    return Status::ok();
}

} // namespace zorneta
