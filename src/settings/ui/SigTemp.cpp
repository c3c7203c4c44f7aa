#include "settings/ui/SigTemp.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zorneta {

SigTemp::SigTemp(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SigTemp"));
    setWindowTitle(QStringLiteral("                  Сигнализации температуры"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Первичное достижение температуры"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(frame);
    m_txtSigTemp = new QLineEdit(QStringLiteral("Заданная температура достигнута"), frame);
    m_txtSigTemp->setObjectName(QStringLiteral("txtSigTemp"));
    m_txtSigTemp->setReadOnly(true);
    m_txtSigTemp->setAccessibleName(frame->title());
    m_txtSigTemp->setMinimumWidth(520);
    frameLayout->addWidget(m_txtSigTemp);
    layout->addWidget(frame);
}

} // namespace zorneta
