#include "acquisition/TerminalTransmit.h"

#include "session/SessionState.h"
#include "common/TextEncoding.h"
#include "platform/Beeper.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

TerminalTransmit::TerminalTransmit(Services &services, SessionState &state) : m_services(services), m_state(state) {}

bool TerminalTransmit::txtTerm_KeyPress(const QString &text) {
    SerialPort &port = m_services.port;
    if (text.isEmpty() || !port.PortOpen())
        return true;

    // One character of the code page, one byte; anything else (a character
    // the code page lacks, or more than one character from one key) is
    // refused rather than sent as something the user did not type.
    const char byte = text.size() == 1 ? EncodeLineChar(text.at(0)) : 0;
    if (byte == 0) {
        m_services.beeper.Beep();
        return false;
    }
    // A failed write is reported by the port as a line event.
    (void)port.Output(QByteArray(1, byte));
    if (m_state.Echo)
        return true;
    TextBox &box = m_services.view.terminalBox();
    box.setSelStart(box.Text().size());
    return false;
}

} // namespace zorneta
