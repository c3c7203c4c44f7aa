// Frames at most once a frame of the screen: a window's changes that come
// faster are all painted, together, once events settle; frames asked for in
// a burst come once.

#include "platform/qt/FramePacer.h"

#include <QLabel>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace zorneta;

namespace {

// Paints of a widget, and the text a label held at its last paint.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QLabel *label) : m_label(label) { label->installEventFilter(this); }
    int paints = 0;
    QString lastPainted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_label && event->type() == QEvent::Paint) {
            ++paints;
            lastPainted = m_label->text();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel *m_label;
};

} // namespace

class tst_FramePacer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyChangeIsPaintedOnceEventsSettle() {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *counter = new QLabel(QStringLiteral("0"));
        layout->addWidget(counter);
        auto *pacer = new FramePacer(&window);
        QVERIFY(pacer->frameInterval() >= 1);
        PaintWatch watch(counter);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(watch.lastPainted, QStringLiteral("0"));

        // Changes each in a pass of the event loop of their own, as readings
        // come: the newest one is painted once the requests settle.
        for (int i = 1; i <= 200; ++i) {
            counter->setText(QString::number(i));
            QCoreApplication::processEvents();
        }
        for (int i = 0; i < 10000 && pacer->holding(); ++i)
            QTest::qWait(1);
        QVERIFY(!pacer->holding());
        QTRY_COMPARE(watch.lastPainted, QStringLiteral("200"));
        QCOMPARE(counter->text(), QStringLiteral("200"));

        // A change after a quiet spell is painted too.
        const int paints = watch.paints;
        counter->setText(QStringLiteral("201"));
        QTRY_COMPARE(watch.lastPainted, QStringLiteral("201"));
        QVERIFY(watch.paints > paints);
    }

    void framesAskedInABurstComeOnce() {
        QWidget widget;
        FramePacer pacer(&widget, nullptr);
        QSignalSpy due(&pacer, &FramePacer::frameDue);
        for (int i = 0; i < 100; ++i)
            pacer.request();
        QVERIFY(pacer.holding());
        QCOMPARE(due.size(), 0);
        QTRY_VERIFY(!pacer.holding());
        QCoreApplication::processEvents();
        QCOMPARE(due.size(), 1);
        // The next one after its frame; one cancelled never comes.
        pacer.request();
        QTRY_COMPARE(due.size(), 2);
        pacer.request();
        pacer.cancel();
        QVERIFY(!pacer.holding());
        QTest::qWait(3 * pacer.frameInterval());
        QCOMPARE(due.size(), 2);
    }
};

QTEST_MAIN(tst_FramePacer)
#include "tst_framepacer.moc"
