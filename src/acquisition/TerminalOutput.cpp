#include "acquisition/TerminalOutput.h"

#include "session/SessionState.h"
#include "common/Formats.h"
#include "common/TextEncoding.h"
#include "platform/Clock.h"
#include "recording/RecordingFile.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

QString TerminalOutput::BoxText(QString text, bool *erasesPrevious) {
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
    text.remove(u'\n');
    for (qsizetype i = text.indexOf(u'\r'); i >= 0; i = text.indexOf(u'\r', i + 2))
        text.insert(i + 1, u'\n');
    return text;
}

QString TerminalOutput::RecordText(QString boxText, const QString &stamp) {
    const qsizetype crs = boxText.count(u'\r');
    boxText.remove(u'\r');
    QString prefix;
    prefix.reserve(crs * (stamp.size() + 1));
    for (qsizetype i = 0; i < crs; ++i)
        prefix += stamp + u'\t';
    return prefix + boxText;
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
    text = BoxText(text, &erasesPrevious);
    if (erasesPrevious && length > 0) {
        // A leading backspace replaces the box's last character.
        box.setSelStart(length - 1);
        box.setSelLength(1);
    }
    // 6. Into the box.
    box.setSelText(text);
    // 7. The record: a stamp and a TAB per line end.
    text = RecordText(text, ElapsedText(m_state.StartTime, m_services.clock.now()));
    // 8. Into the recording file, when one is open.
    if (m_recording.isOpen())
        m_recording.writeRecord(EncodeFileText(text));
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
