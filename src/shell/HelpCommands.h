#pragma once

#include "session/Services.h"

#include <QString>

#include <optional>

namespace zorneta {

class InstallInfo;

// The help menu: the help file with its contents, the maker's price list in
// the browser, and the About box. The installation is looked up afresh on
// every command.
class HelpCommands {
public:
    // The installation's files these commands open.
    static constexpr char16_t HelpFileName[] = u"Zorneta.hlp";
    static constexpr char16_t PriceListFileName[] = u"Price.htm";

    explicit HelpCommands(Services &services);

    // "&Справка" and the toolbar's "Help": the help file's contents.
    void mnuContent_Click();
    // The price list in the browser.
    void mnuLirant_Click();
    // "&О программе": the About box, without blocking the main window.
    void mnuAbout_Click();

    // A file of the installation, or nothing when the installation or the
    // file is missing. The name must match in letter case.
    static std::optional<QString> installedFile(const InstallInfo &install, const QString &fileName);

    // A few lines saying where the installation is and which of its files
    // were found; *complete is true when both files are there.
    static QString installationReport(const InstallInfo &install, bool *complete);

private:
    enum class Lookup { Found, NoInstallation, NoFile };
    Lookup lookUp(const QString &fileName, QString *path) const;

    Services &m_services;
};

} // namespace zorneta
