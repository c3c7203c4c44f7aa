#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;

namespace zorneta {

// The alarm window: shown without waiting when a reading reaches the set
// temperature. A click on its background, its frame or its text box closes it.
class SigTemp : public QDialog {
    Q_OBJECT
public:
    explicit SigTemp(QWidget *parent = nullptr);
    QLineEdit *txtSigTemp() const { return m_txtSigTemp; }
    QGroupBox *frame() const { return m_frame; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *m_frame;
    QLineEdit *m_txtSigTemp;
};

} // namespace zorneta
