#include "shell/ui/AboutWindow.h"

#include "Version.h"
#include "session/Services.h"
#include "shell/ui/Pictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zorneta {

QString AboutWindow::versionText() {
    return QStringLiteral("Рабочая версия  %1.%2.%3  CD-ROM").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

QString AboutWindow::descriptionText() {
    return QStringLiteral(
        "    Программный продукт \"Зорнета\" разработан фирмой ZID \"ЛИРАНТ\" специально для прграммных "
        "терморегуляторов серии МЛ, служит для связи с удаленным компьютером и предназначен для "
        "визуализации процесса  терморегулирования.");
}

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("  О программе  ") + QString::fromUtf16(AppTitle));
    setWindowIcon(QIcon(logoPicture(64)));

    auto *grid = new QGridLayout(this);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(logoPicture(64));
    picture->setAccessibleName(QString::fromUtf16(AppTitle));
    grid->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);

    auto addLabel = [&](const QString &name, const QString &text, int row) {
        auto *label = new QLabel(text, this);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setAccessibleName(text);
        grid->addWidget(label, row, 1);
        return label;
    };
    QLabel *title = addLabel(QStringLiteral("lblTitle"), QStringLiteral(" ZID ЛИРАНТ"), 0);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setBold(true);
    title->setFont(big);
    addLabel(QStringLiteral("lblVersion"), versionText(), 1);
    addLabel(QStringLiteral("Label1"),
             QStringLiteral("Программные Терморегуляторы       Нагревательные Печи Сушильные Шкафы"), 2);
    QLabel *description = addLabel(QStringLiteral("lblDescription"), descriptionText(), 3);
    description->setMinimumWidth(420);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 4, 0, 1, 2);

    addLabel(QStringLiteral("lblDisclaimer"),
             QStringLiteral("Внимание: эта программа защищена законом об авторском праве. Её воспроизведение или "
                            "распространение целиком или по частям без разрешения ZID ЛИРАНТ запрещено."),
             5);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    buttons->addWidget(ok);
    grid->addLayout(buttons, 6, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace zorneta
