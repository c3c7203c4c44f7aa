#include "shell/HelpCommands.h"

#include "platform/InstallInfo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "session/MainView.h"

#include <QDir>

namespace zorneta {

namespace {

const QString ErrorTitle = QStringLiteral("      Ошибка");

const QString HelpMissingText = QStringLiteral("В текущем директории отсутствует файл помощи Zorneta.hlp");
const QString HelpReinstallText =
    QStringLiteral("    Возможно неправильно установлены компоненты программного продукта Зорнета. Программа не может "
                   "найти файл справки. Рекомендуется запустить программу Setup и переустановить продукт с фирменных "
                   "дискет.");

const QString PriceMissingText = QStringLiteral("В текущем директории отсутствует файл информации Price.htm");
const QString PriceReinstallText =
    QStringLiteral("    Возможно неправильно установлены компоненты программного продукта Зорнета. Программа не может "
                   "найти файл информации о выпускаемой продукции и ценах ZID ЛИРАНТ. Рекомендуется запустить "
                   "программу Setup и переустановить продукт с фирменных дискет.");

} // namespace

HelpCommands::HelpCommands(Services &services) : m_services(services) {}

std::optional<QString> HelpCommands::installedFile(const InstallInfo &install, const QString &fileName) {
    const std::optional<QString> dir = install.installationDirectory();
    if (!dir || dir->isEmpty())
        return std::nullopt;
    // The name as the file system reports it: a file that differs in letter
    // case only is not the one asked for.
    const QStringList names = QDir(*dir).entryList({fileName}, QDir::Files | QDir::Hidden);
    if (!names.contains(fileName, Qt::CaseSensitive))
        return std::nullopt;
    const QString path = *dir + fileName;
    return path;
}

HelpCommands::Lookup HelpCommands::lookUp(const QString &fileName, QString *path) const {
    const std::optional<QString> dir = m_services.install.installationDirectory();
    if (!dir || dir->isEmpty())
        return Lookup::NoInstallation;
    const std::optional<QString> found = installedFile(m_services.install, fileName);
    if (!found)
        return Lookup::NoFile;
    *path = *found;
    return Lookup::Found;
}

void HelpCommands::mnuContent_Click() {
    Prompts &prompts = m_services.prompts;
    QString path;
    const Lookup lookup = lookUp(QString::fromUtf16(HelpFileName), &path);
    if (lookup == Lookup::Found && m_services.launcher.showHelpContents(path))
        return;
    if (lookup == Lookup::NoFile) {
        // Whatever the answer, the advice follows.
        (void)prompts.messageBox(ErrorTitle, HelpMissingText, Prompts::Icon::Critical, Prompts::Buttons::OkCancel,
                                 Prompts::DefaultButton::Second);
    }
    (void)prompts.messageBox(QString::fromUtf16(AppTitle), HelpReinstallText, Prompts::Icon::Question,
                             Prompts::Buttons::Ok);
}

void HelpCommands::mnuLirant_Click() {
    Prompts &prompts = m_services.prompts;
    QString path;
    const Lookup lookup = lookUp(QString::fromUtf16(PriceListFileName), &path);
    if (lookup == Lookup::Found && m_services.launcher.openDocument(path))
        return;
    if (lookup == Lookup::NoFile)
        (void)prompts.messageBox(ErrorTitle, PriceMissingText, Prompts::Icon::Critical, Prompts::Buttons::Ok);
    (void)prompts.messageBox(QString::fromUtf16(AppTitle), PriceReinstallText, Prompts::Icon::Question,
                             Prompts::Buttons::Ok);
}

void HelpCommands::mnuAbout_Click() {
    m_services.view.showAbout();
}

QString HelpCommands::installationReport(const InstallInfo &install, bool *complete) {
    const std::optional<QString> dir = install.installationDirectory();
    const auto line = [&install](const char *what, const char16_t *name, bool *found) {
        const std::optional<QString> path = installedFile(install, QString::fromUtf16(name));
        *found = path.has_value();
        return QString::fromLatin1(what) + (path ? *path : QStringLiteral("not found")) + u'\n';
    };
    bool help = false;
    bool price = false;
    QString report = QStringLiteral("installation: ") + (dir ? *dir : QStringLiteral("not found")) + u'\n';
    report += line("help: ", HelpFileName, &help);
    report += line("price list: ", PriceListFileName, &price);
    *complete = help && price;
    return report;
}

} // namespace zorneta
