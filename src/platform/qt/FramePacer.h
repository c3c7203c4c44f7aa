#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace zorneta {

// Spaces frames at least one frame of a widget's screen apart.
//
// Painting a window: every change to a widget of the window (a reading in the
// terminal box, the counter on the status bar, a new curve) asks the window
// for a paint; when readings come faster than the screen refreshes, the
// requests that arrive within a frame of the last paint are held back and
// answered together when the frame is over, so the window paints what
// changed once. Nothing is lost: the widgets hold their new state at once,
// only the painting waits.
//
// Drawing anything else (the chart's curve): request() asks for a frame, and
// frameDue() comes once it is due: right after the current pass of the event
// loop after a quiet spell, else when a frame interval has passed since the
// last one. Requests while one waits are answered by it. The spacing may be
// widened to a multiple of what the last frame cost, so a slow frame keeps
// its share of the time.
class FramePacer : public QObject {
    Q_OBJECT
public:
    // Paces the paints of `window` (a top-level widget) and is deleted with it.
    explicit FramePacer(QWidget *window);
    // Paces frames drawn on `screenOf` (its screen gives the frame interval;
    // 60 Hz while there is none): see request().
    FramePacer(QWidget *screenOf, QObject *parent);

    // Milliseconds of a frame: the refresh interval of the widget's screen
    // (60 Hz when the screen does not tell).
    int frameInterval() const;
    // A frame asked for waits for its time.
    bool holding() const { return m_timer.isActive(); }

    // Frames begin at least perCost times as far apart as the last one cost
    // (see setFrameCost); 0, the default, spaces them by the frame interval
    // alone.
    void setSpacingPerCost(qint64 perCost) { m_spacingPerCost = perCost; }
    // What the last frame took, drawing and painting, in nanoseconds.
    void setFrameCost(qint64 nanos) { m_costNanos = nanos; }

    // Asks for a frame (see the class comment); nothing when one waits.
    void request();
    // The frame asked for is not wanted any more (it was drawn another way).
    void cancel() { m_timer.stop(); }

Q_SIGNALS:
    // A frame begins: draw it now. The spacing counts from here.
    void frameDue();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Milliseconds from one frame's start to the next one's at least.
    qint64 spacing() const;
    void beginFrame();
    void paintWindow();

    QPointer<QWidget> m_widget;
    QWidget *m_window = nullptr; // the window painted, or none
    QTimer m_timer;
    QElapsedTimer m_sinceFrame;
    qint64 m_spacingPerCost = 0;
    qint64 m_costNanos = 0;
    bool m_delivering = false;
};

} // namespace zorneta
