#pragma once

#include <QDialog>

namespace zorneta {

// The About box: what the program is, its version and its maker. Shown
// without blocking the main window; OK and the close box unload it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // "Рабочая версия  " and the program's version, then "  CD-ROM".
    static QString versionText();
    // The description of the program, as the box shows it.
    static QString descriptionText();
};

} // namespace zorneta
