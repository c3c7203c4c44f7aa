#pragma once

#include <QDialog>

class QLineEdit;

namespace zorneta {

// The alarm window: shown without waiting when a reading reaches the set
// temperature.
class SigTemp : public QDialog {
    Q_OBJECT
public:
    explicit SigTemp(QWidget *parent = nullptr);
    QLineEdit *txtSigTemp() const { return m_txtSigTemp; }

private:
    QLineEdit *m_txtSigTemp;
};

} // namespace zorneta
