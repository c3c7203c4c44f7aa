#include "recording/ui/SnapshotWindow.h"

#include "recording/SnapshotDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorneta {

SnapshotWindow::SnapshotWindow(SnapshotDialog &dialog, QWidget *parent) : QDialog(parent), m_dialog(dialog) {
    setObjectName(QStringLiteral("frmSnapShot"));
    setWindowTitle(QStringLiteral("     Характер  снимка"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *outer = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Размер снимка"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(frame);
    m_snap = new QButtonGroup(frame);
    const QString captions[] = {QStringLiteral("Все данные"), QStringLiteral("Участок")};
    for (int index = 0; index < 2; ++index) {
        auto *option = new QRadioButton(captions[index], frame);
        option->setObjectName(QStringLiteral("Snap_") + QString::number(index));
        m_snap->addButton(option, index);
        frameLayout->addWidget(option);
    }

    auto *range = new QHBoxLayout;
    auto *from = new QLabel(QStringLiteral("Начиная с точки №"), frame);
    from->setObjectName(QStringLiteral("Label1"));
    m_firstPoint = new QLineEdit(frame);
    m_firstPoint->setObjectName(QStringLiteral("Text1"));
    m_firstPoint->setAccessibleName(QStringLiteral("Начиная с точки №"));
    auto *to = new QLabel(QStringLiteral("по"), frame);
    m_lastPoint = new QLineEdit(frame);
    m_lastPoint->setObjectName(QStringLiteral("Text2"));
    m_lastPoint->setAccessibleName(QStringLiteral("по"));
    auto *inclusive = new QLabel(QStringLiteral("включительно"), frame);
    for (QLineEdit *box : {m_firstPoint, m_lastPoint}) {
        box->setMaximumWidth(90);
        // The background is set as it stands, disabled or not.
        box->setAutoFillBackground(true);
    }
    range->addWidget(from);
    range->addWidget(m_firstPoint);
    range->addWidget(to);
    range->addWidget(m_lastPoint);
    range->addWidget(inclusive);
    range->addStretch(1);
    frameLayout->addLayout(range);
    outer->addWidget(frame);

    m_saveToFileBox = new QCheckBox(QStringLiteral("Запись в файл"), this);
    m_saveToFileBox->setObjectName(QStringLiteral("SFile"));
    outer->addWidget(m_saveToFileBox);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);

    showState();

    // Whatever puts a value into a control (typing, a screen reader, a
    // program) reaches the dialog: what it shows is what OK takes.
    connect(m_snap, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked && index != m_dialog.option())
            m_dialog.chooseRange(index);
    });
    connect(m_firstPoint, &QLineEdit::textChanged, this, [this](const QString &text) { m_dialog.setFirstPoint(text); });
    connect(m_lastPoint, &QLineEdit::textChanged, this, [this](const QString &text) { m_dialog.setLastPoint(text); });
    connect(m_saveToFileBox, &QCheckBox::toggled, this, [this](bool checked) { m_dialog.setSaveToFile(checked); });
    connect(ok, &QPushButton::clicked, this, [this] { m_dialog.confirm(); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_dialog.cancel(); });
    connect(&m_dialog, &SnapshotDialog::changed, this, &SnapshotWindow::showState);
}

void SnapshotWindow::showState() {
    if (!m_dialog.isLoaded()) {
        // Unloaded: the window goes; the next opening builds a new one.
        if (!m_closing) {
            m_closing = true;
            close();
        }
        return;
    }
    if (QAbstractButton *option = m_snap->button(m_dialog.option()); option && !option->isChecked())
        option->setChecked(true);
    const bool enabled = m_dialog.boundsEnabled();
    // White for a section, grey (0x808080) while all data is chosen.
    const QColor background = enabled ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x80, 0x80, 0x80);
    for (QLineEdit *box : {m_firstPoint, m_lastPoint}) {
        box->setEnabled(enabled);
        QPalette palette = box->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, background);
        box->setPalette(palette);
    }
    if (m_firstPoint->text() != m_dialog.firstPoint())
        m_firstPoint->setText(m_dialog.firstPoint());
    if (m_lastPoint->text() != m_dialog.lastPoint())
        m_lastPoint->setText(m_dialog.lastPoint());
    if (m_saveToFileBox->isChecked() != m_dialog.saveToFile())
        m_saveToFileBox->setChecked(m_dialog.saveToFile());
    if (!m_dialog.isShown() && isVisible())
        hide();
}

void SnapshotWindow::closeEvent(QCloseEvent *event) {
    // Closing the window unloads the dialog, as Cancel does.
    if (!m_closing) {
        m_closing = true;
        if (m_dialog.isLoaded())
            m_dialog.cancel();
    }
    event->accept();
}

void SnapshotWindow::reject() {
    m_dialog.cancel();
}

} // namespace zorneta
