#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace zorneta {

class SnapshotDialog;

// The snapshot dialog's window, modeless. It shows the dialog's state and
// passes on what the user types and clicks; it hides itself when the dialog
// is hidden and goes away when the dialog is unloaded.
class SnapshotWindow : public QDialog {
    Q_OBJECT
public:
    explicit SnapshotWindow(SnapshotDialog &dialog, QWidget *parent = nullptr);

    // Closed and about to be deleted.
    bool isClosing() const { return m_closing; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void showState();

    SnapshotDialog &m_dialog;
    QButtonGroup *m_snap = nullptr;
    QLineEdit *m_firstPoint = nullptr;
    QLineEdit *m_lastPoint = nullptr;
    QCheckBox *m_saveToFileBox = nullptr;
    bool m_closing = false;
};

} // namespace zorneta
