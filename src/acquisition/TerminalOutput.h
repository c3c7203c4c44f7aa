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
    // the box's last character, reported through erasesPrevious), then every
    // line end (CR LF, LF alone or CR alone) written as CR LF. A CR that
    // ended the previous block and an LF that begins this one are one line
    // end: *afterCr says whether the text before ended with a CR, and is
    // updated.
    static QString BoxText(QString text, bool *erasesPrevious = nullptr, bool *afterCr = nullptr);
    // The record form of a box text: each line with an "hh:nn:ss" stamp and a
    // TAB in front and an LF at its end. *atLineStart says whether the record
    // stands at the start of a line (a line that has not ended yet goes on
    // in the next block without a second stamp), and is updated.
    static QString RecordText(QStringView boxText, const QString &stamp, bool *atLineStart);

private:
    Services &m_services;
    SessionState &m_state;
    RecordingFile &m_recording;
    bool m_afterCr = false;
    bool m_recordAtLineStart = true;
};

} // namespace zorneta
