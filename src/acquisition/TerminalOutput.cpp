#include "acquisition/TerminalOutput.h"

#include "session/SessionState.h"
#include "common/Formats.h"
#include "common/TextEncoding.h"
#include "platform/Clock.h"
#include "recording/RecordingFile.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

QString TerminalOutput::BoxText(QString text, bool *erasesPrevious, bool *afterCr) {
    if (erasesPrevious)
        *erasesPrevious = false;
    for (qsizetype i = text.indexOf(u'\b'); i >= 0; i = text.indexOf(u'\b')) {
        if (i == 0) {
            if (erasesPrevious)
                *erasesPrevious = true;
            text.remove(0, 1);
        } else {
            text.remove(i - 1, 2);
        }
    }
    bool cr = afterCr && *afterCr;
    QString box;
    box.reserve(text.size() + 8);
    for (const QChar c : std::as_const(text)) {
        if (c == u'\n') {
            if (!cr)
                box += u"\r\n";
            cr = false;
        } else if (c == u'\r') {
            box += u"\r\n";
            cr = true;
        } else {
            box += c;
            cr = false;
        }
    }
    if (afterCr)
        *afterCr = cr;
    return box;
}

QString TerminalOutput::RecordText(QStringView boxText, const QString &stamp, bool *atLineStart) {
    QString record;
    record.reserve(boxText.size() + stamp.size() + 1);
    qsizetype from = 0;
    while (from < boxText.size()) {
        if (*atLineStart) {
            record += stamp;
            record += u'\t';
            *atLineStart = false;
        }
        const qsizetype end = boxText.indexOf(u"\r\n", from);
        if (end < 0) {
            record += boxText.sliced(from);
            break;
        }
        record += boxText.sliced(from, end - from);
        record += u'\n';
        *atLineStart = true;
        from = end + 2;
    }
    return record;
}

void TerminalOutput::ShowTermText(TextBox &box, QString &text) {
    // 1. Keep the box short: drop its oldest characters.
    qsizetype length = box.Text().size();
    if (length > MaxBoxLength) {
        box.setText(box.Text().mid(KeepFrom - 1));
        length = box.Text().size();
    }
    // 2. Caret at the end.
    box.setSelStart(length);
    // 3.-5. Backspaces, line feeds, line ends.
    bool erasesPrevious = false;
    text = BoxText(text, &erasesPrevious, &m_afterCr);
    if (erasesPrevious && length > 0) {
        // A leading backspace replaces the box's last character.
        box.setSelStart(length - 1);
        box.setSelLength(1);
    }
    // 6. Into the box.
    box.setSelText(text);
    // 7. The record: a stamp and a TAB in front of every line.
    text = RecordText(text, ElapsedText(m_state.StartTime, m_services.clock.now()), &m_recordAtLineStart);
    // 8. Into the recording file, when one is open.
    if (m_recording.isOpen())
        m_recording.writeRecord(EncodeFileText(text));
    else
        m_recordAtLineStart = true; // a file opened later begins with a line of its own
    // 9. Caret at the end.
    box.setSelStart(box.Text().size());
}

void TerminalOutput::Command1_Click() {
    TextBox &box = m_services.view.terminalBox();
    box.setSelStart(0);
    box.setSelLength(box.Text().size());
    box.setSelText(QString());
}

} // namespace zorneta
