#pragma once

#include <QString>

namespace zorneta {

struct Services;
struct SessionState;

// Typing to the thermoregulator: every key press in the terminal box that
// carries a character sends that character to the open port as one byte of
// the line's code page, with no terminator. With local echo on, the typed
// character also appears in the box; with echo off the box keeps showing
// only what the line sends and its caret goes to the end. While the port is
// closed the box is edited locally and nothing is sent.
//
// A character the code page has no byte for is never sent: while the port
// is open such a key press is discarded (echo or not, so the box never shows
// what did not go out) and the system beeps.
class TerminalTransmit {
public:
    TerminalTransmit(Services &services, SessionState &state);

    // A key press in the terminal box, before the box takes it; `text` is
    // what the key would insert (empty for keys without a character: arrows,
    // function keys...). Returns true when the box is to take the key press
    // as usual, false when it is discarded.
    bool txtTerm_KeyPress(const QString &text);

private:
    Services &m_services;
    SessionState &m_state;
};

} // namespace zorneta
