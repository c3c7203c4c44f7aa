#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;

namespace zorneta {

// The alarm window: shown without waiting when a reading reaches the set
// temperature. A click on its background, its frame or its text box closes it.
class AlarmWindow : public QDialog {
    Q_OBJECT
public:
    explicit AlarmWindow(QWidget *parent = nullptr);
    QLineEdit *messageField() const { return m_messageField; }
    QGroupBox *frame() const { return m_frame; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *m_frame;
    QLineEdit *m_messageField;
};

} // namespace zorneta
