#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QTabWidget;

namespace zorneta {

class PortProperties;

// The port settings dialog window, centred on the screen. It shows the state
// of PortProperties and forwards the user's choices to it; OK and Cancel run
// its commands. Each port entry's tooltip names the device the number stands
// for on this machine.
class PortSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit PortSettingsWindow(PortProperties &properties, QWidget *parent = nullptr);

    // Shows the dialog's state in the controls.
    void showState();

protected:
    void reject() override; // Cancel and the close box

private:
    void ok();
    void takeChoices();
    void centreOnScreen();

    PortProperties &m_properties;
    QTabWidget *m_tab = nullptr;
    QComboBox *m_portList = nullptr;
    QComboBox *m_speedList = nullptr;
    QComboBox *m_dataBitsList = nullptr;
    QComboBox *m_parityList = nullptr;
    QComboBox *m_stopBitsList = nullptr;
    QButtonGroup *m_echoGroup = nullptr;
    QButtonGroup *m_flowControlGroup = nullptr;
    bool m_showing = false;
};

} // namespace zorneta
