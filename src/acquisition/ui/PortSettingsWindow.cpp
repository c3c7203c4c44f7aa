#include "acquisition/ui/PortSettingsWindow.h"

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

PortSettingsWindow::PortSettingsWindow(PortProperties &properties, QWidget *parent)
    : QDialog(parent), m_properties(properties) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("      Настройки"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("tabSettings"));
    auto *settingsPage = new QWidget(m_tab);
    settingsPage->setObjectName(QStringLiteral("fraSettings"));
    m_tab->addTab(settingsPage, QStringLiteral("Свойства  Порта"));
    outer->addWidget(m_tab);

    auto *grid = new QGridLayout(settingsPage);

    auto *portRow = new QHBoxLayout;
    m_portList = list(QStringLiteral("cboPort"), QStringLiteral("Порт:"), PortProperties::portEntries(), settingsPage);
    portRow->addWidget(label(QStringLiteral("lblPort"), QStringLiteral("Порт:"), m_portList, settingsPage));
    portRow->addWidget(m_portList, 1);
    grid->addLayout(portRow, 0, 0);

    auto *speedFrame = new QGroupBox(QStringLiteral("Максимальная скорость"), settingsPage);
    speedFrame->setObjectName(QStringLiteral("fraSpeed"));
    auto *speedLayout = new QVBoxLayout(speedFrame);
    m_speedList = list(QStringLiteral("cboSpeed"), QStringLiteral("Максимальная скорость"),
                       PortProperties::speedEntries(), speedFrame);
    speedLayout->addWidget(m_speedList);
    grid->addWidget(speedFrame, 1, 0);

    auto *connectionFrame = new QGroupBox(QStringLiteral("Характеристики соединения"), settingsPage);
    connectionFrame->setObjectName(QStringLiteral("fraConnection"));
    auto *connectionForm = new QFormLayout(connectionFrame);
    m_dataBitsList = list(QStringLiteral("cboDataBits"), QStringLiteral("Битов:"), PortProperties::dataBitsEntries(),
                          connectionFrame);
    m_parityList = list(QStringLiteral("cboParity"), QStringLiteral("Чётность:"), PortProperties::parityEntries(),
                        connectionFrame);
    m_stopBitsList = list(QStringLiteral("cboStopBits"), QStringLiteral("Стоп бит:"), PortProperties::stopBitsEntries(),
                          connectionFrame);
    connectionForm->addRow(
        label(QStringLiteral("lblDataBits"), QStringLiteral("Битов:"), m_dataBitsList, connectionFrame),
        m_dataBitsList);
    connectionForm->addRow(
        label(QStringLiteral("lblParity"), QStringLiteral("Чётность:"), m_parityList, connectionFrame), m_parityList);
    connectionForm->addRow(
        label(QStringLiteral("lblStopBits"), QStringLiteral("Стоп бит:"), m_stopBitsList, connectionFrame),
        m_stopBitsList);
    grid->addWidget(connectionFrame, 0, 1, 2, 1);

    grid->addWidget(options(QStringLiteral("optEcho"), QStringLiteral("fraEcho"), QStringLiteral("&Эхо"),
                            PortProperties::echoCaptions(), &m_echoGroup, settingsPage),
                    2, 0);
    grid->addWidget(options(QStringLiteral("optFlow"), QStringLiteral("fraFlow"), QStringLiteral("&Контроль данных"),
                            PortProperties::flowCaptions(), &m_flowControlGroup, settingsPage),
                    2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    outer->addLayout(buttons);

    // An option acts when it becomes checked, however that happens (a click,
    // a key, a screen reader, a program); lists are taken as they change and
    // at OK. What the window shows is what OK uses.
    connect(m_echoGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_showing)
            m_properties.chooseEcho(id);
    });
    connect(m_flowControlGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_showing)
            m_properties.chooseFlowControl(id);
    });
    for (QComboBox *box : {m_portList, m_speedList, m_dataBitsList, m_parityList, m_stopBitsList})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { takeChoices(); });
    connect(okButton, &QPushButton::clicked, this, &PortSettingsWindow::ok);
    connect(cancelButton, &QPushButton::clicked, this, &PortSettingsWindow::reject);
    connect(&m_properties, &PortProperties::changed, this, &PortSettingsWindow::showState);
    showState();
    centreOnScreen();
}

void PortSettingsWindow::centreOnScreen() {
    adjustSize();
    const QScreen *where = screen();
    if (!where)
        return;
    const QRect area = where->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void PortSettingsWindow::showState() {
    m_showing = true;
    const QStringList tips = m_properties.portToolTips();
    for (int i = 0; i < m_portList->count() && i < tips.size(); ++i)
        m_portList->setItemData(i, tips.at(i), Qt::ToolTipRole);
    m_portList->setCurrentIndex(m_properties.portPosition);
    // A value the port reports that is in no list shows greyed in its box.
    m_speedList->setPlaceholderText(m_properties.unlistedSpeed);
    m_speedList->setCurrentIndex(m_properties.speedPosition);
    m_dataBitsList->setPlaceholderText(m_properties.unlistedDataBits);
    m_dataBitsList->setCurrentIndex(m_properties.dataBitsPosition);
    m_parityList->setPlaceholderText(m_properties.unlistedParity);
    m_parityList->setCurrentIndex(m_properties.parityPosition);
    m_stopBitsList->setPlaceholderText(m_properties.unlistedStopBits);
    m_stopBitsList->setCurrentIndex(m_properties.stopBitsPosition);
    check(m_echoGroup, m_properties.echoOption);
    check(m_flowControlGroup, m_properties.flowControlOption);
    m_showing = false;
}

void PortSettingsWindow::takeChoices() {
    if (m_showing)
        return;
    m_properties.portPosition = m_portList->currentIndex();
    m_properties.speedPosition = m_speedList->currentIndex();
    m_properties.dataBitsPosition = m_dataBitsList->currentIndex();
    m_properties.parityPosition = m_parityList->currentIndex();
    m_properties.stopBitsPosition = m_stopBitsList->currentIndex();
}

void PortSettingsWindow::ok() {
    takeChoices();
    if (m_properties.confirm())
        accept();
}

void PortSettingsWindow::reject() {
    m_properties.cancel();
    QDialog::reject();
}

} // namespace zorneta
