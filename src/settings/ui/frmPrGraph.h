#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace zorneta {

class GraphSettings;

// The graph settings dialog window. It shows the state of GraphSettings and
// forwards the user's choices to it; OK and Cancel run its commands.
class frmPrGraph : public QDialog {
    Q_OBJECT
public:
    explicit frmPrGraph(GraphSettings &settings, QWidget *parent = nullptr);

    // Shows the dialog's state in the controls.
    void showState();

protected:
    void reject() override; // Cancel and the close box

private:
    void ok();
    void takeTexts();

    GraphSettings &m_settings;
    QTabWidget *m_tab = nullptr;
    QComboBox *m_cboSpeed = nullptr;
    QComboBox *m_cboPassOver = nullptr;
    QComboBox *m_cboColor = nullptr;
    QComboBox *m_cboThin = nullptr;
    QComboBox *m_cboVGrid = nullptr;
    QLineEdit *m_txtGraph = nullptr;
    QLineEdit *m_txtCutStart = nullptr;
    QLineEdit *m_txtCutEnd = nullptr;
    QButtonGroup *m_xAxisOption = nullptr;
    QButtonGroup *m_y2AxisOption = nullptr;
    QButtonGroup *m_legendOption = nullptr;
    bool m_showing = false;
};

} // namespace zorneta
