#include "settings/ui/SigTemp.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zorneta {

SigTemp::SigTemp(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SigTemp"));
    setWindowTitle(QStringLiteral("                  Сигнализации температуры"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_frame = new QGroupBox(QStringLiteral("Первичное достижение температуры"), this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(m_frame);
    m_txtSigTemp = new QLineEdit(QStringLiteral("Заданная температура достигнута"), m_frame);
    m_txtSigTemp->setObjectName(QStringLiteral("txtSigTemp"));
    m_txtSigTemp->setReadOnly(true);
    m_txtSigTemp->setAccessibleName(m_frame->title());
    m_txtSigTemp->setMinimumWidth(520);
    frameLayout->addWidget(m_txtSigTemp);
    layout->addWidget(m_frame);
    for (QObject *clickable :
         {static_cast<QObject *>(this), static_cast<QObject *>(m_frame), static_cast<QObject *>(m_txtSigTemp)})
        clickable->installEventFilter(this);
}

bool SigTemp::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == this || watched == m_frame || watched == m_txtSigTemp)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zorneta
