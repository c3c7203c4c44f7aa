#include "shell/ui/QtTextBox.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace zorneta {

QtTextBox::QtTextBox(QPlainTextEdit *widget) : QObject(widget), m_widget(widget) {
    m_text = widget->toPlainText();
    connect(widget, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            userEdited();
    });
}

QString QtTextBox::displayText(const QString &text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

void QtTextBox::setText(const QString &text) {
    m_text = text;
    m_selStart = std::min(m_selStart, m_text.size());
    m_selLength = 0;
    render();
}

void QtTextBox::setSelStart(qsizetype position) {
    m_selStart = std::clamp<qsizetype>(position, 0, m_text.size());
    m_selLength = 0;
    showCaret();
}

void QtTextBox::setSelLength(qsizetype length) {
    m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selStart);
    showCaret();
}

void QtTextBox::setSelText(const QString &text) {
    const bool appending = m_selStart == m_text.size() && m_selLength == 0;
    const bool pendingCr = m_selStart > 0 && m_text.at(m_selStart - 1) == u'\r';
    m_text.replace(m_selStart, m_selLength, text);
    m_selStart += text.size();
    m_selLength = 0;
    if (appending && !pendingCr && !text.startsWith(u'\n')) {
        // The common case, a reading appended at the end: extend the widget
        // instead of rebuilding it.
        m_updating = true;
        QTextCursor cursor(m_widget->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(displayText(text));
        m_updating = false;
        showCaret();
    } else {
        render();
    }
}

void QtTextBox::render() {
    m_updating = true;
    m_widget->setPlainText(displayText(m_text));
    m_updating = false;
    showCaret();
}

void QtTextBox::showCaret() {
    // Show the end of the text when the caret is there, as a terminal does.
    if (m_selStart == m_text.size()) {
        m_updating = true;
        QTextCursor cursor = m_widget->textCursor();
        cursor.movePosition(QTextCursor::End);
        m_widget->setTextCursor(cursor);
        m_updating = false;
        m_widget->ensureCursorVisible();
    }
}

void QtTextBox::userEdited() {
    QString text = m_widget->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    m_text = text;
    const int pos = m_widget->textCursor().position();
    // Widget positions count a line break as one character, the text as two.
    const QString before = m_widget->toPlainText().left(pos);
    m_selStart = std::min<qsizetype>(pos + before.count(u'\n'), m_text.size());
    m_selLength = 0;
}

} // namespace zorneta
