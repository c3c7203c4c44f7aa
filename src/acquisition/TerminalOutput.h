#pragma once

#include <QByteArray>
#include <QString>

namespace zorneta {

class TextBox;
struct Services;

// The digital indicator on the main window: each received line shown by the
// box's own rules (backspaces applied, every line end written as CR LF), the
// box kept short, and the clear button.
class TerminalOutput {
public:
    // Longest text the box keeps before it drops its oldest characters.
    static constexpr qsizetype MaxBoxLength = 16000;
    // The box keeps its text from this character (counted from 1) on.
    static constexpr qsizetype KeepFrom = 5000;

    explicit TerminalOutput(Services &services) : m_services(services) {}

    // Shows a received line in the box.
    void showLine(TextBox &box, const QByteArray &line);

    // Clear button "Очистить".
    void clearTerminal();

private:
    Services &m_services;
    bool m_afterCr = false;
};

} // namespace zorneta
