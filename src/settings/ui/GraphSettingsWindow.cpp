#include "settings/ui/GraphSettingsWindow.h"

#include "settings/GraphSettings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zorneta {

namespace {

QComboBox *list(const QString &name, const QStringList &entries, QWidget *parent) {
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(entries);
    return box;
}

QGroupBox *options(const QString &name, const QString &caption, const QString &first, const QString &second,
                   QButtonGroup **group, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QStringLiteral("fra") + name);
    auto *layout = new QHBoxLayout(frame);
    *group = new QButtonGroup(frame);
    int index = 0;
    for (const QString &text : {first, second}) {
        auto *button = new QRadioButton(text, frame);
        button->setObjectName(name + u'_' + QString::number(index));
        (*group)->addButton(button, index++);
        layout->addWidget(button);
    }
    return frame;
}

} // namespace

GraphSettingsWindow::GraphSettingsWindow(GraphSettings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("frmPrGraph"));
    setWindowTitle(QStringLiteral("          Настройки"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("tabSettings"));
    auto *settingsPage = new QWidget(m_tab);
    settingsPage->setObjectName(QStringLiteral("fraSettings"));
    m_tab->addTab(settingsPage, QStringLiteral("Свойства  Графика"));
    outer->addWidget(m_tab);

    auto *grid = new QGridLayout(settingsPage);

    auto *period = new QGroupBox(QStringLiteral("Период"), settingsPage);
    period->setObjectName(QStringLiteral("fraPeriod"));
    auto *periodForm = new QFormLayout(period);
    m_updatePeriodList = list(QStringLiteral("cboSpeed"), GraphSettings::speedEntries(), period);
    m_readPeriodList = list(QStringLiteral("cboPassOver"), GraphSettings::passOverEntries(), period);
    periodForm->addRow(QStringLiteral("Обновления"), m_updatePeriodList);
    periodForm->addRow(QStringLiteral("Считывания"), m_readPeriodList);
    grid->addWidget(period, 0, 0);

    auto *look = new QGroupBox(QStringLiteral("Характеристики "), settingsPage);
    look->setObjectName(QStringLiteral("fraLook"));
    auto *lookForm = new QFormLayout(look);
    m_curveColourList = list(QStringLiteral("cboColor"), GraphSettings::colorEntries(), look);
    m_curveWidthList = list(QStringLiteral("cboThin"), GraphSettings::thinEntries(), look);
    m_xDivisionsList = list(QStringLiteral("cboVGrid"), GraphSettings::vGridEntries(), look);
    lookForm->addRow(QStringLiteral("Цвет линии"), m_curveColourList);
    lookForm->addRow(QStringLiteral("Толщина линии"), m_curveWidthList);
    lookForm->addRow(QStringLiteral("Деления сетки Х"), m_xDivisionsList);
    grid->addWidget(look, 0, 1);

    auto *signal = new QFormLayout;
    m_alarmTemperatureField = new QLineEdit(settingsPage);
    m_alarmTemperatureField->setObjectName(QStringLiteral("TxtGraph"));
    signal->addRow(QStringLiteral("Сигнальн темпер-ра, град"), m_alarmTemperatureField);
    grid->addLayout(signal, 1, 0);

    auto *flags = new QVBoxLayout;
    flags->addWidget(options(QStringLiteral("optFlow"), QStringLiteral("&Ось  X"), QStringLiteral("Включ"),
                             QStringLiteral("Выключ"), &m_xAxisOption, settingsPage));
    flags->addWidget(options(QStringLiteral("optEcho"), QStringLiteral("&Вторая ось У"), QStringLiteral("Вкл"),
                             QStringLiteral("Выкл"), &m_y2AxisOption, settingsPage));
    flags->addWidget(options(QStringLiteral("Legenda"), QStringLiteral("Обозначения"), QStringLiteral("Включ"),
                             QStringLiteral("Выключ"), &m_legendOption, settingsPage));
    grid->addLayout(flags, 1, 1, 2, 1);

    auto *frame3 = new QGroupBox(QStringLiteral("Обрезка графика"), settingsPage);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto *cutForm = new QFormLayout(frame3);
    m_cutStartField = new QLineEdit(frame3);
    m_cutStartField->setObjectName(QStringLiteral("txtCutStart"));
    m_endPointsField = new QLineEdit(frame3);
    m_endPointsField->setObjectName(QStringLiteral("txtCutEnd"));
    cutForm->addRow(QStringLiteral("К-во точек с начала"), m_cutStartField);
    cutForm->addRow(QStringLiteral("К-во точек с конца"), m_endPointsField);
    grid->addWidget(frame3, 2, 0);

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
    // a key, a screen reader, a program); lists and texts are read at OK.
    // What the window shows is what OK uses.
    connect(m_xAxisOption, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_showing)
            m_settings.chooseXAxisOption(id);
    });
    connect(m_y2AxisOption, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_showing)
            m_settings.chooseY2AxisOption(id);
    });
    connect(m_legendOption, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_showing)
            m_settings.chooseLegendOption(id);
    });
    for (QComboBox *box : {m_updatePeriodList, m_readPeriodList, m_curveColourList, m_curveWidthList, m_xDivisionsList})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { takeTexts(); });
    connect(okButton, &QPushButton::clicked, this, &GraphSettingsWindow::ok);
    connect(cancelButton, &QPushButton::clicked, this, &GraphSettingsWindow::reject);
    connect(&m_settings, &GraphSettings::changed, this, &GraphSettingsWindow::showState);
    showState();
}

void GraphSettingsWindow::showState() {
    m_showing = true;
    m_updatePeriodList->setCurrentIndex(m_settings.updatePeriodPosition);
    m_readPeriodList->setCurrentIndex(m_settings.readPeriodPosition);
    m_curveColourList->setCurrentIndex(m_settings.curveColourPosition);
    m_curveWidthList->setCurrentIndex(m_settings.curveWidthPosition);
    m_xDivisionsList->setCurrentIndex(m_settings.xDivisionsPosition);
    m_alarmTemperatureField->setText(m_settings.alarmTemperatureText);
    m_cutStartField->setText(m_settings.cutStartText);
    m_endPointsField->setText(m_settings.endPointsText);
    m_xAxisOption->button(m_settings.xAxisOption)->setChecked(true);
    m_y2AxisOption->button(m_settings.y2AxisOption)->setChecked(true);
    m_legendOption->button(m_settings.legendOption)->setChecked(true);
    m_showing = false;
}

void GraphSettingsWindow::takeTexts() {
    if (m_showing)
        return;
    m_settings.updatePeriodPosition = m_updatePeriodList->currentIndex();
    m_settings.readPeriodPosition = m_readPeriodList->currentIndex();
    m_settings.curveColourPosition = m_curveColourList->currentIndex();
    m_settings.curveWidthPosition = m_curveWidthList->currentIndex();
    m_settings.xDivisionsPosition = m_xDivisionsList->currentIndex();
    m_settings.alarmTemperatureText = m_alarmTemperatureField->text();
    m_settings.cutStartText = m_cutStartField->text();
    m_settings.endPointsText = m_endPointsField->text();
}

void GraphSettingsWindow::ok() {
    takeTexts();
    if (m_settings.confirm())
        accept();
}

void GraphSettingsWindow::reject() {
    m_settings.cancel();
    QDialog::reject();
}

} // namespace zorneta
