// The live page in a real browser: Debian's chromium, headless, driven over
// its DevTools protocol (tests/web/browser/page-check.mjs), on the real
// recorder reading a pseudo-terminal. A group written to the line appears on
// the page as a temperature, the curve is drawn, and a break is shown as a
// break, never as 9999.

#include "simulator/PtyPair.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_BrowserPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageFollowsTheLine();
};

void tst_BrowserPage::pageFollowsTheLine() {
    QVERIFY2(QFileInfo::exists(QStringLiteral(ZORNETA_BROWSER_DIR "/node_modules/puppeteer-core/package.json")),
             "puppeteer-core is not installed: run scripts/web-test-deps");
    QVERIFY2(QFileInfo::exists(QStringLiteral(ZORNETA_CHROMIUM)), "chromium is not installed: run scripts/deps");
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();

    QProcess program;
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(), u"--record"_s,
                   dir.filePath(u"furnace.txt"_s), u"--serve"_s, u"127.0.0.1:"_s + QString::number(port)});
    QVERIFY(program.waitForStarted(10000));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("Порт открыт"), 20000);
    // A few readings before the page opens, so the curve has a shape.
    for (const QByteArray group : {"0020\r\n", "0100\r\n", "0300\r\n"})
        QCOMPARE(::write(line.masterFd(), group.constData(), 6), ssize_t(6));

    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    browser.setWorkingDirectory(QStringLiteral(ZORNETA_BROWSER_DIR));
    const QString shot = qEnvironmentVariable("ZORNETA_PAGE_SCREENSHOT");
    browser.start(QStringLiteral(ZORNETA_NODE),
                  {u"page-check.mjs"_s, u"http://127.0.0.1:"_s + QString::number(port) + u'/',
                   QStringLiteral(ZORNETA_CHROMIUM), shot});
    QVERIFY(browser.waitForStarted(10000));
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += browser.readAllStandardOutput()).contains("ready\n"), 60000);

    // The browser starts its clock, then the group goes onto the line.
    browser.write("777\n");
    QTRY_VERIFY_WITH_TIMEOUT((said += browser.readAllStandardOutput()).contains("watching\n"), 60000);
    QCOMPARE(::write(line.masterFd(), "0777\r\n", 6), ssize_t(6));
    QTRY_VERIFY_WITH_TIMEOUT((said += browser.readAllStandardOutput()).contains("\ncurve "), 60000);
    const QByteArray shown = said.mid(said.indexOf("shown 777 ")).split('\n').value(0);
    QVERIFY2(shown.startsWith("shown 777 "), said.constData());
    qInfo("the group appeared on the page %s ms after it was written", shown.mid(10).constData());
    const int lit = said.mid(said.indexOf("\ncurve ") + 7).split('\n').value(0).toInt();
    QVERIFY2(lit > 50, said.constData());

    QCOMPARE(::write(line.masterFd(), "9999\r\n", 6), ssize_t(6));
    browser.write("break\n");
    browser.closeWriteChannel();
    QTRY_VERIFY_WITH_TIMEOUT((said += browser.readAllStandardOutput()).contains("\ntext "), 60000);
    QVERIFY(browser.waitForFinished(30000));
    QCOMPARE(browser.exitCode(), 0);
    const QByteArray text = said.mid(said.indexOf("\ntext ") + 6);
    QVERIFY2(text.contains("ОБРЫВ ТЕРМОПАРЫ"), text.constData());
    QVERIFY2(!text.contains("9999"), text.constData());
    QVERIFY2(text.contains("Порт закрыт Запись не ведётся"), text.constData());
    QVERIFY2(text.contains("Приём завершён: обрыв в цепи термопары, порт закрыт"), text.constData());

    program.terminate();
    QVERIFY(program.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_BrowserPage)
#include "tst_browserpage.moc"
