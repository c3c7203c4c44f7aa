#pragma once

#include "session/MainView.h"

#include <QObject>
#include <QPointer>

class QPlainTextEdit;
class QWidget;

namespace zorneta {

// TextBox over a QPlainTextEdit. The box's text is kept exactly as written
// (CR LF pairs count as two characters, as the terminal output expects); the
// widget shows it with each CR LF, lone CR or lone LF as one line break.
// Edits the user makes in the widget are taken back into the text.
//
// The text and the caret change at once; the widget follows when its window
// is about to paint (once a frame at most), so a burst of readings is laid
// out and scrolled into view once, not once per reading. A widget that is
// not on screen, and one the user is about to type into, follows at once.
class QtTextBox : public QObject, public TextBox {
    Q_OBJECT
public:
    explicit QtTextBox(QPlainTextEdit *widget);

    QString text() const override { return m_text; }
    void setText(const QString &text) override;
    qsizetype selStart() const override { return m_selStart; }
    qsizetype selLength() const override { return m_selLength; }
    void setSelStart(qsizetype position) override;
    void setSelLength(qsizetype length) override;
    void setSelText(const QString &text) override;

    // The widget's rendering of a text.
    static QString displayText(const QString &text);

    // Brings the widget up to date with the text and the caret now.
    void showPending();
    // Something waits to be shown in the widget.
    bool pending() const { return m_renderPending || !m_appendPending.isEmpty() || m_caretPending; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void render();
    void userEdited();
    void showCaret();
    // Asks for the window's next paint, or shows at once off screen.
    void showSoon();

    QPlainTextEdit *m_widget;
    QPointer<QWidget> m_window; // whose paints the widget follows
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    bool m_updating = false;
    // Waiting for the next paint: the whole text, or what was appended, and
    // the caret.
    bool m_renderPending = false;
    QString m_appendPending;
    bool m_caretPending = false;
};

} // namespace zorneta
