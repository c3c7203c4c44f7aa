#include "acquisition/PortProperties.h"

#include "acquisition/PortControl.h"
#include "acquisition/PortReconnect.h"
#include "common/ItemNames.h"
#include "session/SessionState.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/PersistedSettings.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

namespace {

constexpr int PortCount = 16;

// The list position of the entry equal to `text`, or -1.
int positionOf(const QStringList &entries, const QString &text) {
    return static_cast<int>(entries.indexOf(text));
}

// The text of the chosen entry with surrounding blanks removed, or the
// unlisted field when nothing is chosen.
QString chosenText(const QStringList &entries, int position, const QString &unlisted) {
    return position >= 0 && position < entries.size() ? entries.at(position).trimmed() : unlisted;
}

} // namespace

PortProperties::PortProperties(Services &services, SessionState &state, PersistedSettings &settings,
                               PortControl &portControl)
    : m_services(services), m_state(state), m_settings(settings), m_portControl(portControl) {}

QStringList PortProperties::portEntries() {
    QStringList entries;
    for (int number = 1; number <= PortCount; ++number)
        entries.append(QStringLiteral("Com") + QString::number(number));
    return entries;
}

QStringList PortProperties::speedEntries() {
    return {QStringLiteral("1200"), QStringLiteral("2400"),  QStringLiteral("4800"),
            QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200")};
}

QStringList PortProperties::dataBitsEntries() {
    return {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
}

QStringList PortProperties::parityEntries() {
    return {QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None"), QStringLiteral("Mark"),
            QStringLiteral("Space")};
}

QStringList PortProperties::stopBitsEntries() {
    return {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
}

QStringList PortProperties::echoCaptions() {
    return {QStringLiteral("Выкл"), QStringLiteral("Вкл")};
}

QStringList PortProperties::flowCaptions() {
    return {QStringLiteral("Нет"), QStringLiteral("Xon/Xoff"), QStringLiteral("RTS"), QStringLiteral("Xon/RTS")};
}

QStringList PortProperties::portToolTips() const {
    QStringList tips;
    for (int number = 1; number <= PortCount; ++number) {
        const QString device = m_services.port.deviceFor(number);
        tips.append(device.isEmpty() ? QStringLiteral("Нет устройства") : device);
    }
    return tips;
}

void PortProperties::load() {
    m_loaded = true;
    loadPropertySettings();
}

void PortProperties::loadPropertySettings() {
    const SerialPort &port = m_services.port;
    // The settings string "speed,parity,data bits,stop bits": its fields are
    // found from its end, two places further in when the stop bits are "1.5".
    const QString s = port.settings();
    const qsizetype n = s.size();
    const qsizetype offset = s.contains(u'.') ? 2 : 0;
    // The character at `position` counted from 1, or an empty text.
    auto at = [&](qsizetype position) {
        return position >= 1 && position <= n ? QString(s.at(position - 1)) : QString();
    };

    const qsizetype speedLength = n - offset - 6;
    const QString speed = speedLength > 0 ? s.left(speedLength) : QString();
    speedPosition = positionOf(speedEntries(), speed);
    unlistedSpeed = speedPosition < 0 ? speed : QString();

    const QString parity = at(n - offset - 4);
    parityPosition = -1;
    const QStringList parities = parityEntries();
    for (int i = 0; i < parities.size() && !parity.isEmpty(); ++i) {
        if (parities.at(i).left(1).toLower() == parity)
            parityPosition = i;
    }
    unlistedParity = parityPosition < 0 ? parity : QString();

    const QString dataBits = at(n - offset - 2);
    dataBitsPosition = positionOf(dataBitsEntries(), dataBits);
    unlistedDataBits = dataBitsPosition < 0 ? dataBits : QString();

    const QString stopBits = n >= offset + 1 ? s.right(offset + 1) : QString();
    stopBitsPosition = positionOf(stopBitsEntries(), stopBits);
    unlistedStopBits = stopBitsPosition < 0 ? stopBits : QString();

    const int number = port.commPort();
    portPosition = number >= 1 && number <= PortCount ? number - 1 : -1;

    flowControlOption = port.handshaking();
    handshakingChoice = flowControlOption;

    echoOption = m_state.echo ? 1 : 0;
    echoChoice = m_state.echo;
    Q_EMIT changed();
}

void PortProperties::chooseEcho(int index) {
    echoOption = index;
    echoChoice = index == 1;
}

void PortProperties::chooseFlowControl(int index) {
    flowControlOption = index;
    handshakingChoice = index;
}

QString PortProperties::chosenSettings() const {
    const QString parity = parityPosition >= 0 && parityPosition < parityEntries().size()
                               ? parityEntries().at(parityPosition).left(1)
                               : unlistedParity;
    return chosenText(speedEntries(), speedPosition, unlistedSpeed) + u',' + parity + u',' +
           chosenText(dataBitsEntries(), dataBitsPosition, unlistedDataBits) + u',' +
           chosenText(stopBitsEntries(), stopBitsPosition, unlistedStopBits);
}

bool PortProperties::confirm() {
    SerialPort &port = m_services.port;
    // The echo choice holds even when a later step fails.
    m_state.echo = echoChoice;

    // Another port number: the open port is closed, renumbered and
    // opened again.
    const int oldNumber = port.commPort();
    const int newNumber = portPosition + 1;
    if (newNumber != oldNumber) {
        const bool reopen = port.portOpen();
        // Closed on purpose: not a loss to wait out.
        if (reopen)
            m_portControl.reconnect().receptionEnded();
        Status st = reopen ? port.setPortOpen(false) : Status::ok();
        if (st)
            st = port.setCommPort(newNumber);
        if (st && reopen) {
            st = port.setPortOpen(true);
            if (st)
                m_portControl.reconnect().receptionStarted();
            m_services.view.setItemChecked(menu::OpenPort, port.portOpen());
        }
        if (!st) {
            warn(st.description());
            (void)port.setCommPort(oldNumber);
            // The port stays closed: the main window shows it so, and the
            // connection timer stops.
            if (reopen && !port.portOpen())
                m_portControl.showPortClosed();
            return false;
        }
    }

    // The line parameters.
    const Status settingsSet = port.setSettings(chosenSettings());
    if (!settingsSet) {
        warn(settingsSet.description());
        return false;
    }

    // Flow control.
    const Status handshakingSet = port.setHandshaking(handshakingChoice);
    if (!handshakingSet) {
        warn(handshakingSet.description());
        return false;
    }

    // Stored as the port now has them.
    (void)m_settings.save(Keys::Settings, port.settings());
    (void)m_settings.saveInteger(Keys::CommPort, port.commPort());
    (void)m_settings.saveInteger(Keys::Handshaking, port.handshaking());
    (void)m_settings.saveBool(Keys::Echo, m_state.echo);

    unload();
    return true;
}

void PortProperties::cancel() {
    unload();
}

void PortProperties::warn(const QString &description) {
    m_services.prompts.messageBox(QString::fromUtf16(AppTitle), description, Prompts::Icon::Exclamation,
                                  Prompts::Buttons::Ok);
}

void PortProperties::unload() {
    m_loaded = false;
}

} // namespace zorneta
