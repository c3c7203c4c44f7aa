#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zorneta {

class PersistedSettings;
class PortControl;
struct Services;
struct SessionState;

// The port settings dialog's state and commands: the port number, the line
// parameters, local echo and flow control of the serial link. The window
// shows this state and forwards what the user does; OK applies the choices
// to the live port (reopening it on another number), stores them and
// unloads; Cancel unloads without any change.
//
// Each opening presets the controls afresh from the port and from the echo
// flag.
class PortProperties : public QObject {
    Q_OBJECT
public:
    PortProperties(Services &services, SessionState &state, PersistedSettings &settings, PortControl &portControl);

    // The entries of the five lists, in list order.
    static QStringList portEntries();
    static QStringList speedEntries();
    static QStringList dataBitsEntries();
    static QStringList parityEntries();
    static QStringList stopBitsEntries();
    // The captions of the two option groups, by position.
    static QStringList echoCaptions();
    static QStringList flowCaptions();

    // What each entry of the port list stands for on this machine, in list
    // order: the device, or a note that there is none.
    QStringList portToolTips() const;

    bool isLoaded() const { return m_loaded; }
    // The dialog's load: LoadPropertySettings.
    void load();
    // Presets the controls from the port's settings, number and flow
    // control and from the echo flag.
    void loadPropertySettings();

    // Option groups: they set the dialog's choice when clicked.
    void chooseEcho(int index);
    void chooseFlowControl(int index);

    // OK: applies, stores and unloads. Returns false when a failure keeps
    // the dialog open.
    bool confirm();
    // Cancel and the close box: unloads, nothing applied or stored.
    void cancel();

    // The settings string OK writes: speed, parity letter, data bits and
    // stop bits of the current choices.
    QString chosenSettings() const;

    // The dialog's controls. A list position of -1 means no selection.
    int portPosition = -1;
    int speedPosition = -1;
    int dataBitsPosition = -1;
    int parityPosition = -1;
    int stopBitsPosition = -1;
    int echoOption = 0;
    int flowControlOption = 0;

    // The choices of the option groups.
    bool echoChoice = false;
    int handshakingChoice = 0;

    // The fields of the port's settings string that match no list entry
    // (empty when the entry is selected). OK writes them back unchanged
    // while no entry is chosen.
    QString unlistedSpeed;
    QString unlistedParity;
    QString unlistedDataBits;
    QString unlistedStopBits;

Q_SIGNALS:
    // The controls changed from outside the window (a load).
    void changed();

private:
    void warn(const QString &description);
    void unload();

    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
    PortControl &m_portControl;
    bool m_loaded = false;
};

} // namespace zorneta
