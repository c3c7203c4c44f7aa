#pragma once

#include <QString>

namespace zorneta {

class RecordingFile;
class TextBox;
struct Services;
struct SessionState;

// Puts received text into the terminal box and hands the stamped record of
// it to the recording file.
class TerminalOutput {
public:
    // Longest text the box keeps before it drops its oldest characters.
    static constexpr qsizetype MaxBoxLength = 16000;
    // The box keeps its text from this character (counted from 1) on.
    static constexpr qsizetype KeepFrom = 5000;

    TerminalOutput(Services &services, SessionState &state, RecordingFile &recording)
        : m_services(services), m_state(state), m_recording(recording) {}

    // Shows a received block in the box and records it (text is changed in
    // place into the record text).
    void ShowTermText(TextBox &box, QString &text);

    // Clear button "Очистить".
    void Command1_Click();

    // The box's form of a block: backspaces applied (a leading one erases
    // the box's last character, reported through erasesPrevious), LFs
    // dropped, an LF after every CR.
    static QString BoxText(QString text, bool *erasesPrevious = nullptr);
    // The record form of a box text: one "hh:nn:ss" stamp and a TAB in front
    // of the block for each CR, the CRs written as nothing (the LF after each
    // one ends the line).
    static QString RecordText(QString boxText, const QString &stamp);

private:
    Services &m_services;
    SessionState &m_state;
    RecordingFile &m_recording;
};

} // namespace zorneta
