#include "settings/ui/AlarmWindow.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zorneta {

AlarmWindow::AlarmWindow(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SigTemp"));
    setWindowTitle(QStringLiteral("                  Сигнализации температуры"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_frame = new QGroupBox(QStringLiteral("Первичное достижение температуры"), this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(m_frame);
    m_messageField = new QLineEdit(QStringLiteral("Заданная температура достигнута"), m_frame);
    m_messageField->setObjectName(QStringLiteral("txtSigTemp"));
    m_messageField->setReadOnly(true);
    m_messageField->setAccessibleName(m_frame->title());
    m_messageField->setMinimumWidth(520);
    frameLayout->addWidget(m_messageField);
    layout->addWidget(m_frame);
    for (QObject *clickable :
         {static_cast<QObject *>(this), static_cast<QObject *>(m_frame), static_cast<QObject *>(m_messageField)})
        clickable->installEventFilter(this);
}

bool AlarmWindow::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == this || watched == m_frame || watched == m_messageField)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zorneta
