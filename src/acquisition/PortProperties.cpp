#include "acquisition/PortProperties.h"

#include "acquisition/PortControl.h"
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

QStringList PortProperties::PortEntries() {
    QStringList entries;
    for (int number = 1; number <= PortCount; ++number)
        entries.append(QStringLiteral("Com") + QString::number(number));
    return entries;
}

QStringList PortProperties::SpeedEntries() {
    return {QStringLiteral("1200"), QStringLiteral("2400"),  QStringLiteral("4800"),
            QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200")};
}

QStringList PortProperties::DataBitsEntries() {
    return {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
}

QStringList PortProperties::ParityEntries() {
    return {QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None"), QStringLiteral("Mark"),
            QStringLiteral("Space")};
}

QStringList PortProperties::StopBitsEntries() {
    return {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
}

QStringList PortProperties::EchoCaptions() {
    return {QStringLiteral("Выкл"), QStringLiteral("Вкл")};
}

QStringList PortProperties::FlowCaptions() {
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

void PortProperties::Form_Load() {
    m_loaded = true;
    LoadPropertySettings();
}

void PortProperties::LoadPropertySettings() {
    const SerialPort &port = m_services.port;
    // The settings string "speed,parity,data bits,stop bits": its fields are
    // found from its end, two places further in when the stop bits are "1.5".
    const QString s = port.Settings();
    const qsizetype n = s.size();
    const qsizetype offset = s.contains(u'.') ? 2 : 0;
    // The character at `position` counted from 1, or an empty text.
    auto at = [&](qsizetype position) {
        return position >= 1 && position <= n ? QString(s.at(position - 1)) : QString();
    };

    const qsizetype speedLength = n - offset - 6;
    const QString speed = speedLength > 0 ? s.left(speedLength) : QString();
    cboSpeed = positionOf(SpeedEntries(), speed);
    unlistedSpeed = cboSpeed < 0 ? speed : QString();

    const QString parity = at(n - offset - 4);
    cboParity = -1;
    const QStringList parities = ParityEntries();
    for (int i = 0; i < parities.size() && !parity.isEmpty(); ++i) {
        if (parities.at(i).left(1).toLower() == parity)
            cboParity = i;
    }
    unlistedParity = cboParity < 0 ? parity : QString();

    const QString dataBits = at(n - offset - 2);
    cboDataBits = positionOf(DataBitsEntries(), dataBits);
    unlistedDataBits = cboDataBits < 0 ? dataBits : QString();

    const QString stopBits = n >= offset + 1 ? s.right(offset + 1) : QString();
    cboStopBits = positionOf(StopBitsEntries(), stopBits);
    unlistedStopBits = cboStopBits < 0 ? stopBits : QString();

    const int number = port.CommPort();
    cboPort = number >= 1 && number <= PortCount ? number - 1 : -1;

    optFlow = port.Handshaking();
    HandshakingChoice = optFlow;

    optEcho = m_state.Echo ? 1 : 0;
    EchoChoice = m_state.Echo;
    Q_EMIT changed();
}

void PortProperties::optEcho_Click(int index) {
    optEcho = index;
    EchoChoice = index == 1;
}

void PortProperties::optFlow_Click(int index) {
    optFlow = index;
    HandshakingChoice = index;
}

QString PortProperties::chosenSettings() const {
    const QString parity =
        cboParity >= 0 && cboParity < ParityEntries().size() ? ParityEntries().at(cboParity).left(1) : unlistedParity;
    return chosenText(SpeedEntries(), cboSpeed, unlistedSpeed) + u',' + parity + u',' +
           chosenText(DataBitsEntries(), cboDataBits, unlistedDataBits) + u',' +
           chosenText(StopBitsEntries(), cboStopBits, unlistedStopBits);
}

bool PortProperties::cmdOK_Click() {
    SerialPort &port = m_services.port;
    // 1. The echo choice holds even when a later step fails.
    m_state.Echo = EchoChoice;

    // 2.-3. Another port number: the open port is closed, renumbered and
    // opened again.
    const int oldNumber = port.CommPort();
    const int newNumber = cboPort + 1;
    if (newNumber != oldNumber) {
        const bool reopen = port.PortOpen();
        Status st = reopen ? port.setPortOpen(false) : Status::ok();
        if (st)
            st = port.setCommPort(newNumber);
        if (st && reopen) {
            st = port.setPortOpen(true);
            m_services.view.setItemChecked(QStringLiteral("mnuOpen"), port.PortOpen());
        }
        if (!st) {
            warn(st.description());
            (void)port.setCommPort(oldNumber);
            // The port stays closed: the main window shows it so, and the
            // connection timer stops.
            if (reopen && !port.PortOpen())
                m_portControl.showPortClosed();
            return false;
        }
    }

    // 4. The line parameters.
    const Status settingsSet = port.setSettings(chosenSettings());
    if (!settingsSet) {
        warn(settingsSet.description());
        return false;
    }

    // 5. Flow control.
    const Status handshakingSet = port.setHandshaking(HandshakingChoice);
    if (!handshakingSet) {
        warn(handshakingSet.description());
        return false;
    }

    // 6. Stored as the port now has them.
    (void)m_settings.save(Keys::Settings, port.Settings());
    (void)m_settings.saveInteger(Keys::CommPort, port.CommPort());
    (void)m_settings.saveInteger(Keys::Handshaking, port.Handshaking());
    (void)m_settings.saveBool(Keys::Echo, m_state.Echo);

    unload();
    return true;
}

void PortProperties::cmdCancel_Click() {
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
