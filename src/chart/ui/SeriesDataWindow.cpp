#include "chart/ui/SeriesDataWindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zorneta {

namespace {

struct FieldDesign {
    const char16_t *name;
    const char16_t *label;
};

// In the order of the fields' numbers.
const FieldDesign Fields[] = {
    {u"Text1", u"Температура                                       град"},
    {u"Text2", u"Начало записи                               час:м:сек"},
    {u"Text3", u"Длительность                                час:м:сек"},
    {u"Text4", u"Скорость изм                                град/мин"},
};

// Top to bottom as the window shows them: start, duration, temperature, rate.
const SeriesDataForm::Field ShownOrder[] = {SeriesDataForm::Start, SeriesDataForm::Duration,
                                            SeriesDataForm::Temperature, SeriesDataForm::Rate};

} // namespace

SeriesDataWindow::SeriesDataWindow(SeriesData &content, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_content(content) {
    setObjectName(QStringLiteral("frmSeriesData"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Текущие параметры"));

    auto *outer = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Мгновенные (30 сек) характеристики"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    outer->addWidget(frame);
    auto *grid = new QGridLayout(frame);
    int row = 0;
    for (Field f : ShownOrder) {
        const FieldDesign &design = Fields[f - 1];
        auto *box = new QLineEdit(frame);
        box->setObjectName(QString::fromUtf16(design.name));
        box->setReadOnly(true);
        box->setFixedWidth(90);
        box->setAlignment(Qt::AlignRight);
        const QString caption = QString::fromUtf16(design.label);
        box->setAccessibleName(caption.simplified());
        auto *label = new QLabel(caption, frame);
        label->setObjectName(QStringLiteral("Label%1").arg(int(f)));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        m_fields[f - 1] = box;
        ++row;
    }
    m_content.load(*this);
}

void SeriesDataWindow::refresh() {
    m_content.showSeriesTable(*this);
}

void SeriesDataWindow::setField(Field field, const QString &text) {
    if (QLineEdit *box = fieldBox(field))
        box->setText(text);
}

QString SeriesDataWindow::field(Field field) const {
    QLineEdit *box = fieldBox(field);
    return box ? box->text() : QString();
}

QLineEdit *SeriesDataWindow::fieldBox(Field field) const {
    return field >= 1 && field <= 4 ? m_fields[field - 1] : nullptr;
}

void SeriesDataWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        m_wasActive = true;
    else if (m_wasActive)
        close();
}

} // namespace zorneta
