#include "acquisition/ui/frmProperties.h"

#include "acquisition/PortProperties.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zorneta {

namespace {

QComboBox *list(const QString &name, const QString &caption, const QStringList &entries, QWidget *parent) {
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->addItems(entries);
    return box;
}

QLabel *label(const QString &name, const QString &caption, QWidget *buddy, QWidget *parent) {
    auto *text = new QLabel(caption, parent);
    text->setObjectName(name);
    text->setBuddy(buddy);
    return text;
}

// A frame of option buttons named `name`_0, `name`_1... by position.
QGroupBox *options(const QString &name, const QString &frameName, const QString &caption, const QStringList &captions,
                   QButtonGroup **group, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(frameName);
    auto *layout = new QVBoxLayout(frame);
    *group = new QButtonGroup(frame);
    for (int index = 0; index < captions.size(); ++index) {
        auto *button = new QRadioButton(captions.at(index), frame);
        button->setObjectName(name + u'_' + QString::number(index));
        (*group)->addButton(button, index);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return frame;
}

// Shows `position` in an option group; no button is checked for a position
// outside it.
void check(QButtonGroup *group, int position) {
    if (QAbstractButton *button = group->button(position)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

frmProperties::frmProperties(PortProperties &properties, QWidget *parent) : QDialog(parent), m_properties(properties) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("      Настройки"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("tabSettings"));
    auto *fraSettings = new QWidget(m_tab);
    fraSettings->setObjectName(QStringLiteral("fraSettings"));
    m_tab->addTab(fraSettings, QStringLiteral("Свойства  Порта"));
    outer->addWidget(m_tab);

    auto *grid = new QGridLayout(fraSettings);

    auto *portRow = new QHBoxLayout;
    m_cboPort = list(QStringLiteral("cboPort"), QStringLiteral("Порт:"), PortProperties::portEntries(), fraSettings);
    portRow->addWidget(label(QStringLiteral("lblPort"), QStringLiteral("Порт:"), m_cboPort, fraSettings));
    portRow->addWidget(m_cboPort, 1);
    grid->addLayout(portRow, 0, 0);

    auto *fraSpeed = new QGroupBox(QStringLiteral("Максимальная скорость"), fraSettings);
    fraSpeed->setObjectName(QStringLiteral("fraSpeed"));
    auto *speedLayout = new QVBoxLayout(fraSpeed);
    m_cboSpeed = list(QStringLiteral("cboSpeed"), QStringLiteral("Максимальная скорость"),
                      PortProperties::speedEntries(), fraSpeed);
    speedLayout->addWidget(m_cboSpeed);
    grid->addWidget(fraSpeed, 1, 0);

    auto *fraConnection = new QGroupBox(QStringLiteral("Характеристики соединения"), fraSettings);
    fraConnection->setObjectName(QStringLiteral("fraConnection"));
    auto *connectionForm = new QFormLayout(fraConnection);
    m_cboDataBits =
        list(QStringLiteral("cboDataBits"), QStringLiteral("Битов:"), PortProperties::dataBitsEntries(), fraConnection);
    m_cboParity =
        list(QStringLiteral("cboParity"), QStringLiteral("Чётность:"), PortProperties::parityEntries(), fraConnection);
    m_cboStopBits = list(QStringLiteral("cboStopBits"), QStringLiteral("Стоп бит:"), PortProperties::stopBitsEntries(),
                         fraConnection);
    connectionForm->addRow(label(QStringLiteral("lblDataBits"), QStringLiteral("Битов:"), m_cboDataBits, fraConnection),
                           m_cboDataBits);
    connectionForm->addRow(label(QStringLiteral("lblParity"), QStringLiteral("Чётность:"), m_cboParity, fraConnection),
                           m_cboParity);
    connectionForm->addRow(
        label(QStringLiteral("lblStopBits"), QStringLiteral("Стоп бит:"), m_cboStopBits, fraConnection), m_cboStopBits);
    grid->addWidget(fraConnection, 0, 1, 2, 1);

    grid->addWidget(options(QStringLiteral("optEcho"), QStringLiteral("fraEcho"), QStringLiteral("&Эхо"),
                            PortProperties::echoCaptions(), &m_echoGroup, fraSettings),
                    2, 0);
    grid->addWidget(options(QStringLiteral("optFlow"), QStringLiteral("fraFlow"), QStringLiteral("&Контроль данных"),
                            PortProperties::flowCaptions(), &m_flowControlGroup, fraSettings),
                    2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("Отмена"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    outer->addLayout(buttons);

    // Option groups act when clicked; lists only at OK.
    connect(m_echoGroup, &QButtonGroup::idClicked, this, [this](int id) { m_properties.chooseEcho(id); });
    connect(m_flowControlGroup, &QButtonGroup::idClicked, this, [this](int id) { m_properties.chooseFlowControl(id); });
    for (QComboBox *box : {m_cboPort, m_cboSpeed, m_cboDataBits, m_cboParity, m_cboStopBits})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { takeChoices(); });
    connect(cmdOK, &QPushButton::clicked, this, &frmProperties::ok);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProperties::reject);
    connect(&m_properties, &PortProperties::changed, this, &frmProperties::showState);
    showState();
    centreOnScreen();
}

void frmProperties::centreOnScreen() {
    adjustSize();
    const QScreen *where = screen();
    if (!where)
        return;
    const QRect area = where->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmProperties::showState() {
    m_showing = true;
    const QStringList tips = m_properties.portToolTips();
    for (int i = 0; i < m_cboPort->count() && i < tips.size(); ++i)
        m_cboPort->setItemData(i, tips.at(i), Qt::ToolTipRole);
    m_cboPort->setCurrentIndex(m_properties.cboPort);
    // A value the port reports that is in no list shows greyed in its box.
    m_cboSpeed->setPlaceholderText(m_properties.unlistedSpeed);
    m_cboSpeed->setCurrentIndex(m_properties.cboSpeed);
    m_cboDataBits->setPlaceholderText(m_properties.unlistedDataBits);
    m_cboDataBits->setCurrentIndex(m_properties.cboDataBits);
    m_cboParity->setPlaceholderText(m_properties.unlistedParity);
    m_cboParity->setCurrentIndex(m_properties.cboParity);
    m_cboStopBits->setPlaceholderText(m_properties.unlistedStopBits);
    m_cboStopBits->setCurrentIndex(m_properties.cboStopBits);
    check(m_echoGroup, m_properties.echoOption);
    check(m_flowControlGroup, m_properties.flowControlOption);
    m_showing = false;
}

void frmProperties::takeChoices() {
    if (m_showing)
        return;
    m_properties.cboPort = m_cboPort->currentIndex();
    m_properties.cboSpeed = m_cboSpeed->currentIndex();
    m_properties.cboDataBits = m_cboDataBits->currentIndex();
    m_properties.cboParity = m_cboParity->currentIndex();
    m_properties.cboStopBits = m_cboStopBits->currentIndex();
}

void frmProperties::ok() {
    takeChoices();
    if (m_properties.confirm())
        accept();
}

void frmProperties::reject() {
    m_properties.cancel();
    QDialog::reject();
}

} // namespace zorneta
