#include "settings/ui/frmPrGraph.h"

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

frmPrGraph::frmPrGraph(GraphSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("frmPrGraph"));
    setWindowTitle(QStringLiteral("          Настройки"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("tabSettings"));
    auto *fraSettings = new QWidget(m_tab);
    fraSettings->setObjectName(QStringLiteral("fraSettings"));
    m_tab->addTab(fraSettings, QStringLiteral("Свойства  Графика"));
    outer->addWidget(m_tab);

    auto *grid = new QGridLayout(fraSettings);

    auto *period = new QGroupBox(QStringLiteral("Период"), fraSettings);
    period->setObjectName(QStringLiteral("fraPeriod"));
    auto *periodForm = new QFormLayout(period);
    m_cboSpeed = list(QStringLiteral("cboSpeed"), GraphSettings::speedEntries(), period);
    m_cboPassOver = list(QStringLiteral("cboPassOver"), GraphSettings::passOverEntries(), period);
    periodForm->addRow(QStringLiteral("Обновления"), m_cboSpeed);
    periodForm->addRow(QStringLiteral("Считывания"), m_cboPassOver);
    grid->addWidget(period, 0, 0);

    auto *look = new QGroupBox(QStringLiteral("Характеристики "), fraSettings);
    look->setObjectName(QStringLiteral("fraLook"));
    auto *lookForm = new QFormLayout(look);
    m_cboColor = list(QStringLiteral("cboColor"), GraphSettings::colorEntries(), look);
    m_cboThin = list(QStringLiteral("cboThin"), GraphSettings::thinEntries(), look);
    m_cboVGrid = list(QStringLiteral("cboVGrid"), GraphSettings::vGridEntries(), look);
    lookForm->addRow(QStringLiteral("Цвет линии"), m_cboColor);
    lookForm->addRow(QStringLiteral("Толщина линии"), m_cboThin);
    lookForm->addRow(QStringLiteral("Деления сетки Х"), m_cboVGrid);
    grid->addWidget(look, 0, 1);

    auto *signal = new QFormLayout;
    m_txtGraph = new QLineEdit(fraSettings);
    m_txtGraph->setObjectName(QStringLiteral("TxtGraph"));
    signal->addRow(QStringLiteral("Сигнальн темпер-ра, град"), m_txtGraph);
    grid->addLayout(signal, 1, 0);

    auto *flags = new QVBoxLayout;
    flags->addWidget(options(QStringLiteral("optFlow"), QStringLiteral("&Ось  X"), QStringLiteral("Включ"),
                             QStringLiteral("Выключ"), &m_xAxisOption, fraSettings));
    flags->addWidget(options(QStringLiteral("optEcho"), QStringLiteral("&Вторая ось У"), QStringLiteral("Вкл"),
                             QStringLiteral("Выкл"), &m_y2AxisOption, fraSettings));
    flags->addWidget(options(QStringLiteral("Legenda"), QStringLiteral("Обозначения"), QStringLiteral("Включ"),
                             QStringLiteral("Выключ"), &m_legendOption, fraSettings));
    grid->addLayout(flags, 1, 1, 2, 1);

    auto *frame3 = new QGroupBox(QStringLiteral("Обрезка графика"), fraSettings);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto *cutForm = new QFormLayout(frame3);
    m_txtCutStart = new QLineEdit(frame3);
    m_txtCutStart->setObjectName(QStringLiteral("txtCutStart"));
    m_txtCutEnd = new QLineEdit(frame3);
    m_txtCutEnd->setObjectName(QStringLiteral("txtCutEnd"));
    cutForm->addRow(QStringLiteral("К-во точек с начала"), m_txtCutStart);
    cutForm->addRow(QStringLiteral("К-во точек с конца"), m_txtCutEnd);
    grid->addWidget(frame3, 2, 0);

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

    // Option groups act when clicked; lists and texts only at OK.
    connect(m_xAxisOption, &QButtonGroup::idClicked, this, [this](int id) { m_settings.chooseXAxisOption(id); });
    connect(m_y2AxisOption, &QButtonGroup::idClicked, this, [this](int id) { m_settings.chooseY2AxisOption(id); });
    connect(m_legendOption, &QButtonGroup::idClicked, this, [this](int id) { m_settings.chooseLegendOption(id); });
    for (QComboBox *box : {m_cboSpeed, m_cboPassOver, m_cboColor, m_cboThin, m_cboVGrid})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { takeTexts(); });
    connect(cmdOK, &QPushButton::clicked, this, &frmPrGraph::ok);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrGraph::reject);
    connect(&m_settings, &GraphSettings::changed, this, &frmPrGraph::showState);
    showState();
}

void frmPrGraph::showState() {
    m_showing = true;
    m_cboSpeed->setCurrentIndex(m_settings.cboSpeed);
    m_cboPassOver->setCurrentIndex(m_settings.cboPassOver);
    m_cboColor->setCurrentIndex(m_settings.cboColor);
    m_cboThin->setCurrentIndex(m_settings.cboThin);
    m_cboVGrid->setCurrentIndex(m_settings.cboVGrid);
    m_txtGraph->setText(m_settings.txtGraph);
    m_txtCutStart->setText(m_settings.txtCutStart);
    m_txtCutEnd->setText(m_settings.txtCutEnd);
    m_xAxisOption->button(m_settings.xAxisOption)->setChecked(true);
    m_y2AxisOption->button(m_settings.y2AxisOption)->setChecked(true);
    m_legendOption->button(m_settings.legendOption)->setChecked(true);
    m_showing = false;
}

void frmPrGraph::takeTexts() {
    if (m_showing)
        return;
    m_settings.cboSpeed = m_cboSpeed->currentIndex();
    m_settings.cboPassOver = m_cboPassOver->currentIndex();
    m_settings.cboColor = m_cboColor->currentIndex();
    m_settings.cboThin = m_cboThin->currentIndex();
    m_settings.cboVGrid = m_cboVGrid->currentIndex();
    m_settings.txtGraph = m_txtGraph->text();
    m_settings.txtCutStart = m_txtCutStart->text();
    m_settings.txtCutEnd = m_txtCutEnd->text();
}

void frmPrGraph::ok() {
    takeTexts();
    if (m_settings.confirm())
        accept();
}

void frmPrGraph::reject() {
    m_settings.cancel();
    QDialog::reject();
}

} // namespace zorneta
