#include "shell/ui/QtTextBox.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace zorneta {

QtTextBox::QtTextBox(QPlainTextEdit *widget) : QObject(widget), m_widget(widget), m_window(widget->window()) {
    m_text = widget->toPlainText();
    connect(widget, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            userEdited();
    });
    // The window's update request comes right before it paints what changed.
    if (m_window)
        m_window->installEventFilter(this);
    // What the user does in the widget meets the text as it is.
    widget->installEventFilter(this);
    widget->viewport()->installEventFilter(this);
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
    if (appending && !pendingCr && !text.startsWith(u'\n') && !m_renderPending) {
        // The common case, a reading appended at the end: extend the widget
        // instead of rebuilding it.
        m_appendPending += displayText(text);
        showCaret();
    } else {
        render();
    }
}

void QtTextBox::render() {
    m_renderPending = true;
    m_appendPending.clear();
    showCaret();
}

void QtTextBox::showCaret() {
    m_caretPending = true;
    showSoon();
}

void QtTextBox::showSoon() {
    if (!m_window || !m_widget->isVisible()) {
        showPending();
        return;
    }
    // Marks the box for the window's next paint; its update request then
    // brings the widget up to date first (see eventFilter).
    m_widget->viewport()->update();
}

void QtTextBox::showPending() {
    if (!pending())
        return;
    m_updating = true;
    if (m_renderPending) {
        m_widget->setPlainText(displayText(m_text));
    } else if (!m_appendPending.isEmpty()) {
        QTextCursor cursor(m_widget->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(m_appendPending);
    }
    m_renderPending = false;
    m_appendPending.clear();
    m_caretPending = false;
    // Show the end of the text when the caret is there, as a terminal does.
    if (m_selStart == m_text.size()) {
        QTextCursor cursor = m_widget->textCursor();
        cursor.movePosition(QTextCursor::End);
        m_widget->setTextCursor(cursor);
        m_widget->ensureCursorVisible();
    }
    m_updating = false;
}

bool QtTextBox::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::UpdateRequest:
        if (watched == m_window)
            showPending();
        break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
        if (watched == m_widget || watched == m_widget->viewport())
            showPending();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
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
