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
class GraphSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit GraphSettingsWindow(GraphSettings &settings, QWidget *parent = nullptr);

    // Shows the dialog's state in the controls.
    void showState();

protected:
    void reject() override; // Cancel and the close box

private:
    void ok();
    void takeTexts();

    GraphSettings &m_settings;
    QTabWidget *m_tab = nullptr;
    QComboBox *m_updatePeriodList = nullptr;
    QComboBox *m_readPeriodList = nullptr;
    QComboBox *m_curveColourList = nullptr;
    QComboBox *m_curveWidthList = nullptr;
    QComboBox *m_xDivisionsList = nullptr;
    QLineEdit *m_alarmTemperatureField = nullptr;
    QLineEdit *m_cutStartField = nullptr;
    QLineEdit *m_endPointsField = nullptr;
    QButtonGroup *m_xAxisOption = nullptr;
    QButtonGroup *m_y2AxisOption = nullptr;
    QButtonGroup *m_legendOption = nullptr;
    bool m_showing = false;
};

} // namespace zorneta
