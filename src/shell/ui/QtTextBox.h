#pragma once

#include "session/MainView.h"

#include <QObject>

class QPlainTextEdit;

namespace zorneta {

// TextBox over a QPlainTextEdit. The box's text is kept exactly as written
// (CR LF pairs count as two characters, as the terminal output expects); the
// widget shows it with each CR LF, lone CR or lone LF as one line break.
// Edits the user makes in the widget are taken back into the text.
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

private:
    void render();
    void userEdited();
    void showCaret();

    QPlainTextEdit *m_widget;
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    bool m_updating = false;
};

} // namespace zorneta
