#include "shell/ui/StartWindow.h"

#include "Version.h"
#include "shell/ui/Pictures.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zorneta {

QString StartWindow::versionText() {
    return QStringLiteral("Версия %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

StartWindow::StartWindow(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("   Краткая информация о программе"));
    setWindowIcon(QIcon(logoPicture(64)));

    auto *grid = new QGridLayout(this);
    m_logoPicture = new QLabel(this);
    m_logoPicture->setObjectName(QStringLiteral("imgLogo"));
    m_logoPicture->setPixmap(logoPicture(96));
    m_logoPicture->setAccessibleName(QStringLiteral("Зорнета"));
    m_logoPicture->setCursor(Qt::PointingHandCursor);
    m_logoPicture->installEventFilter(this);
    grid->addWidget(m_logoPicture, 0, 0, 3, 1, Qt::AlignTop);

    auto *product = new QLabel(QStringLiteral("Зорнета"), this);
    product->setObjectName(QStringLiteral("lblProductName"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    grid->addWidget(product, 0, 1);

    auto *version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    grid->addWidget(version, 1, 1);

    auto *company = new QLabel(
        QStringLiteral("        Программа предназначена для связи с удаленным программным Терморегулятором серии МЛ, "
                       "для приёма, обработки и сохранения потока данных от регулятора и передачи его для "
                       "дальнейшей обработки в другие приложения"),
        this);
    company->setObjectName(QStringLiteral("lblCompany"));
    company->setWordWrap(true);
    company->setMinimumWidth(420);
    grid->addWidget(company, 2, 1);

    auto *maker = new QLabel(QStringLiteral("ZID ЛИРАНТ"), this);
    maker->setObjectName(QStringLiteral("lblCompanyProduct"));
    grid->addWidget(maker, 3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *work = new QPushButton(QStringLiteral("Работа"), this);
    work->setObjectName(QStringLiteral("Command1"));
    work->setDefault(true);
    auto *leave = new QPushButton(QStringLiteral("Выход"), this);
    leave->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(work);
    buttons->addWidget(leave);
    grid->addLayout(buttons, 4, 0, 1, 2);

    connect(work, &QPushButton::clicked, this, &StartWindow::workChosen);
    connect(leave, &QPushButton::clicked, this, &StartWindow::exitChosen);
}

bool StartWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_logoPicture && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT workChosen();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void StartWindow::reject() {
    Q_EMIT exitChosen();
}

} // namespace zorneta
