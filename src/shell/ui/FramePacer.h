#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace zorneta {

// Paints a window at most once a frame of its screen. Every change to a
// widget of the window (a reading in the terminal box, the counter on the
// status bar, a new curve) asks the window for a paint; when readings come
// faster than the screen refreshes, the requests that arrive within a frame
// of the last paint are held back and answered together when the frame is
// over, so the window paints what changed once. Nothing is lost: the widgets
// hold their new state at once, only the painting waits.
class FramePacer : public QObject {
    Q_OBJECT
public:
    // Paces `window` (a top-level widget) and is deleted with it.
    explicit FramePacer(QWidget *window);

    // Milliseconds of a frame: the refresh interval of the window's screen
    // (60 Hz when the screen does not tell).
    int frameInterval() const;
    // A paint request waits for the end of the frame.
    bool holding() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintNow();

    QWidget *m_window;
    QTimer m_timer;
    QElapsedTimer m_sincePaint;
    bool m_delivering = false;
};

} // namespace zorneta
