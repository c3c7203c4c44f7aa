#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zorneta {

// The start window: what the program is, its version, and the way on to
// work ("Работа", or a click on the picture) or out ("Выход").
class StartWindow : public QDialog {
    Q_OBJECT
public:
    explicit StartWindow(QWidget *parent = nullptr);

    // "Версия " and the program's version, e.g. "Версия 2.2.20".
    static QString versionText();

Q_SIGNALS:
    void workChosen();
    void exitChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override; // the close box and Esc leave as "Выход" does

private:
    QLabel *m_logoPicture = nullptr;
};

} // namespace zorneta
