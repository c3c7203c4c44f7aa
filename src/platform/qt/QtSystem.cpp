#include "platform/qt/QtSystem.h"

#include "InstallPaths.h"

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

namespace {

// The program runs from the build tree when its folder lies inside it.
bool runsFromBuildTree(const QString &programDir) {
    const QString buildTree = QDir(QString::fromUtf8(BuildTreeDir)).canonicalPath();
    const QString program = QDir(programDir).canonicalPath();
    return !buildTree.isEmpty() && (program == buildTree || program.startsWith(buildTree + u'/'));
}

} // namespace

std::optional<QString> QtInstallInfo::installationDirectory() const {
    QString dir = qEnvironmentVariable("ZORNETA_INSTALL_DIR");
    if (dir.isEmpty()) {
        const QString programDir = QCoreApplication::applicationDirPath();
        const QString installed =
            QDir::cleanPath(QDir(programDir).absoluteFilePath(QString::fromUtf8(DataDirFromProgramDir)));
        if (QFileInfo(installed).isDir())
            dir = installed;
        else if (runsFromBuildTree(programDir))
            dir = QString::fromUtf8(SourceDataDir);
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

Status QtLauncher::showHelpContents(const QString &path) {
    return openDocument(path);
}

} // namespace zorneta
