// The review window on real recording files, offscreen: the runs it lists,
// the status counts, the proposed start, the wheel, a drag and Home on the
// real chart widget, the pointer's readout, and files that are not
// recordings.

#include "RecordSamples.h"
#include "review/ui/ReviewChart.h"
#include "review/ui/ReviewWindow.h"
#include "shell/ui/Application.h"
#include "shell/ui/StartWindow.h"
#include "support/Doubles.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {
// One run of 1000 seconds, a reading a second worth 100 + its second, and a
// thermocouple break at 500 s.
QByteArray secondsRun() {
    QByteArray bytes;
    for (int s = 0; s < 1000; ++s)
        bytes += samples::line(s, s == 500 ? "9999" : QByteArray::number(100 + s).rightJustified(4, '0'));
    return bytes;
}

void move(QWidget *widget, const QPointF &at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void button(QWidget *widget, QEvent::Type type, const QPointF &at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
} // namespace

class tst_ReviewWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void runsAndStatus();
    void exportWithTheStartGiven();
    void notRecordings_data();
    void notRecordings();
    void wheelDragAndHome();
    void readout_data();
    void readout();
    void commandLine();

private:
    QString write(const QString &name, const QByteArray &bytes) {
        const QString path = m_dir.filePath(name);
        return samples::write(path, bytes) ? path : QString();
    }

    QTemporaryDir m_dir;
    testing::ScriptedPrompts m_prompts;
};

void tst_ReviewWindow::runsAndStatus() {
    const QString path = write(u"firing.txt"_s, samples::twoRuns());
    const QDateTime modified(QDate(2026, 12, 8), QTime(18, 30, 0));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    ReviewWindow window(m_prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(window.openFile(path));
    window.show();

    QCOMPARE(window.windowTitle(), u"Просмотр записи: firing.txt"_s);
    QCOMPARE(window.runChooser()->count(), 2);
    QCOMPARE(window.runChooser()->itemText(0), u"Сеанс 1: 23:59:48–24:00:06, показаний: 4"_s);
    QCOMPARE(window.runChooser()->itemText(1), u"Сеанс 2: 00:00:00–00:00:05, показаний: 3"_s);
    QCOMPARE(window.statusLabel()->text(),
             u"Сеанс 1 из 2 · показаний: 4 · пропущено строк: 4 · обрывов термопары: 1"_s);
    // The file's time tells only when the last run began.
    QCOMPARE(window.startLabel()->text(), u"Начало (неизвестно):"_s);
    QVERIFY(!window.session().start().isValid());

    window.runChooser()->setCurrentIndex(1);
    QCOMPARE(window.statusLabel()->text(),
             u"Сеанс 2 из 2 · показаний: 3 · пропущено строк: 1 · обрывов термопары: 0"_s);
    QCOMPARE(window.startLabel()->text(), u"Начало (предположительно):"_s);
    QCOMPARE(window.startEdit()->dateTime(), modified.addSecs(-5));
    QCOMPARE(window.session().zoom().from(), 0.0);
    QCOMPARE(window.session().zoom().to(), 10.0); // never narrower than ten seconds

    // A start the user gives is no longer a proposal.
    window.startEdit()->setDateTime(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    QCOMPARE(window.startLabel()->text(), u"Начало сеанса:"_s);
    QCOMPARE(window.session().csvOptions().start, QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    QCOMPARE(window.session().csvOptions().startRun, 2);
}

void tst_ReviewWindow::initTestCase() {
    qputenv("TZ", "Europe/Moscow");
    tzset();
}

void tst_ReviewWindow::exportWithTheStartGiven() {
    ReviewWindow window(m_prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(window.openFile(write(u"firing.txt"_s, samples::twoRuns())));
    window.show();
    window.runChooser()->setCurrentIndex(1);
    window.startEdit()->setDateTime(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    const QString out = m_dir.filePath(u"firing-2.csv"_s);
    m_prompts.shown.clear();
    m_prompts.fileAnswers.push_back(Prompts::FileChoice{out, u"firing-2.csv"_s});
    window.exportAction()->trigger();
    QCOMPARE(m_prompts.shown.size(), 1);
    QCOMPARE(m_prompts.shown[0].proposed, u"firing-2.csv"_s);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Only the run whose start is known gets clock times.
    QCOMPARE(file.readAll(), "\xEF\xBB\xBF" +
                                 u"Время,\"Прошло, с\",\"Температура, °C\",Сеанс,Обрыв термопары\r\n"_s.toUtf8() +
                                 ",86388,850,1,\r\n"
                                 ",86392,855,1,\r\n"
                                 ",86403,860,1,\r\n"
                                 ",86404,,1," +
                                 u"да"_s.toUtf8() +
                                 "\r\n"
                                 ",86406,870,1,\r\n"
                                 "2026-12-08T10:00:01+03:00,1,20,2,\r\n"
                                 "2026-12-08T10:00:02+03:00,2,21,2,\r\n"
                                 "2026-12-08T10:00:05+03:00,5,12.5,2,\r\n");
}

void tst_ReviewWindow::notRecordings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << u"Файл пуст: %1"_s;
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37) & 0xff);
    QTest::newRow("binary") << binary
                            << u"Файл не похож на запись Зорнеты: %1 (в нём нет ни одной строки вида «чч:мм:сс», "
                               u"табуляция, принятый текст)"_s;
    QTest::newRow("foreign text") << QByteArray("name,value\nfurnace,850\n")
                                  << u"Файл не похож на запись Зорнеты: %1 (в нём нет ни одной строки вида «чч:мм:сс», "
                                     u"табуляция, принятый текст)"_s;
}

void tst_ReviewWindow::notRecordings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = write(u"odd.txt"_s, bytes);
    ReviewWindow window(m_prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    const ReviewStatus status = window.openFile(path);
    QVERIFY(!status);
    window.show();
    QCOMPARE(window.statusLabel()->text(), message.arg(path));
    QCOMPARE(window.runChooser()->count(), 0);
    QVERIFY(!window.exportAction()->isEnabled());
    QVERIFY(!window.reportAction()->isEnabled());
    // The chart paints nothing and takes the wheel without harm.
    QWheelEvent wheel(QPointF(200, 150), window.chart()->mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.chart(), &wheel);
    QVERIFY(!window.chart()->grab().isNull());
}

void tst_ReviewWindow::wheelDragAndHome() {
    ReviewWindow window(m_prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(window.openFile(write(u"seconds.txt"_s, secondsRun())));
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ReviewChart *chart = window.chart();
    const CurveZoom &zoom = window.session().zoom();
    QCOMPARE(zoom.from(), 0.0);
    QCOMPARE(zoom.to(), 999.0);

    // One notch in about 250 s: the view narrows to 0.8 of its width, 250 s
    // staying under the pointer.
    const QPointF at(chart->xAt(250), chart->plotRect().center().y());
    QWheelEvent wheel(at, chart->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &wheel);
    QVERIFY(qAbs(zoom.from() - 50.0) < 1e-6);
    QVERIFY(qAbs(zoom.to() - 849.2) < 1e-6);

    // A drag a tenth of the plot to the left shows a tenth of the view later.
    const double tenth = chart->plotRect().width() / 10;
    const QPointF start(chart->xAt(400), at.y());
    button(chart, QEvent::MouseButtonPress, start);
    move(chart, start - QPointF(tenth, 0), Qt::LeftButton);
    button(chart, QEvent::MouseButtonRelease, start - QPointF(tenth, 0));
    QVERIFY(qAbs(zoom.from() - 129.92) < 1e-6);
    QVERIFY(qAbs(zoom.to() - 929.12) < 1e-6);

    // Home shows the whole run again; so does "Вся кривая".
    QTest::keyClick(chart, Qt::Key_Home);
    QCOMPARE(zoom.from(), 0.0);
    QCOMPARE(zoom.to(), 999.0);
    QApplication::sendEvent(chart, &wheel);
    QVERIFY(zoom.to() - zoom.from() < 999.0);
    window.wholeAction()->trigger();
    QCOMPARE(zoom.from(), 0.0);
    QCOMPARE(zoom.to(), 999.0);
}

void tst_ReviewWindow::readout_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("startGiven");
    QTest::addColumn<QString>("text");
    // The file was last written at 10:16:39, by its reading of 999 s: the
    // proposed start is 10:00:00; the start given is 11:00:00.
    QTest::newRow("reading, start proposed") << 250.0 << false << u"00:04:10 · 08.12.2026 10:04:10 · 350 °C"_s;
    QTest::newRow("reading, start given") << 250.0 << true << u"00:04:10 · 08.12.2026 11:04:10 · 350 °C"_s;
    QTest::newRow("break") << 500.0 << false << u"00:08:20 · 08.12.2026 10:08:20 · обрыв термопары"_s;
    QTest::newRow("a break holds until the next line")
        << 500.4 << true << u"00:08:20 · 08.12.2026 11:08:20 · обрыв термопары"_s;
    QTest::newRow("last reading") << 999.0 << false << u"00:16:39 · 08.12.2026 10:16:39 · 1099 °C"_s;
}

void tst_ReviewWindow::readout() {
    QFETCH(double, seconds);
    QFETCH(bool, startGiven);
    QFETCH(QString, text);
    const QString path = write(u"readout.txt"_s, secondsRun());
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(10, 16, 39)), QFileDevice::FileModificationTime));
    }
    ReviewWindow window(m_prompts, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(window.openFile(path));
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.startLabel()->text(), u"Начало (предположительно):"_s);
    if (startGiven)
        window.startEdit()->setDateTime(QDateTime(QDate(2026, 12, 8), QTime(11, 0, 0)));
    ReviewChart *chart = window.chart();
    move(chart, QPointF(chart->xAt(seconds), chart->plotRect().center().y()));
    QCOMPARE(window.readoutLabel()->text(), text);
    QCOMPARE(chart->readout(), text);
}

void tst_ReviewWindow::commandLine() {
    // zorneta --review FILE: the review window alone, the file's message in it.
    const QString path = write(u"empty.txt"_s, QByteArray());
    StartOptions options;
    QString error;
    QVERIFY(Application::parseArguments({u"zorneta"_s, u"--review"_s, path}, &options, &error));
    Application program(options);
    QVERIFY(program.start(&error));
    QCOMPARE(program.mainWindow(), nullptr);
    QCOMPARE(program.splash(), nullptr);
    const QList<ReviewWindow *> windows = program.reviewWindows();
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible());
    QCOMPARE(windows[0]->statusLabel()->text(), u"Файл пуст: "_s + path);
    windows[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(program.reviewWindows().isEmpty());
}

QTEST_MAIN(tst_ReviewWindow)
#include "tst_reviewwindow.moc"
