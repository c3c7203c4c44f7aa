#pragma once

#include "chart/SeriesData.h"

#include <QWidget>

class QLineEdit;

namespace zorneta {

// The current-parameters window: start time, duration, temperature and rate
// of rise, filled by SeriesData. Modeless; it closes (and is deleted) as soon
// as it loses the focus.
class SeriesDataWindow : public QWidget, public SeriesDataForm {
    Q_OBJECT
public:
    // Builds the window and runs its load on the given content.
    SeriesDataWindow(SeriesData &content, QWidget *parent = nullptr);

    // The content again, as after a processed event.
    void refresh();

    void setField(Field field, const QString &text) override;
    QString field(Field field) const override;
    QLineEdit *fieldBox(Field field) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    SeriesData &m_content;
    QLineEdit *m_fields[4] = {};
    bool m_wasActive = false;
};

} // namespace zorneta
