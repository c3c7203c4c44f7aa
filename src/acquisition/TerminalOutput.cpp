#include "acquisition/TerminalOutput.h"

#include "common/LineForms.h"
#include "common/TextEncoding.h"
#include "session/MainView.h"
#include "session/Services.h"

namespace zorneta {

void TerminalOutput::showLine(TextBox &box, const QByteArray &line) {
    // Keep the box short: drop its oldest characters.
    qsizetype length = box.text().size();
    if (length > MaxBoxLength) {
        box.setText(box.text().mid(KeepFrom - 1));
        length = box.text().size();
    }
    // Caret at the end.
    box.setSelStart(length);
    // Backspaces, line feeds, line ends.
    bool erasesPrevious = false;
    const QString text = boxFormOf(decodeLineText(line), &erasesPrevious, &m_afterCr);
    if (erasesPrevious && length > 0) {
        // A leading backspace replaces the box's last character.
        box.setSelStart(length - 1);
        box.setSelLength(1);
    }
    // Into the box, caret at the end.
    box.setSelText(text);
    box.setSelStart(box.text().size());
}

void TerminalOutput::clearTerminal() {
    TextBox &box = m_services.view.terminalBox();
    box.setSelStart(0);
    box.setSelLength(box.text().size());
    box.setSelText(QString());
}

} // namespace zorneta
