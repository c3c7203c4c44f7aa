// The command line: what each option asks for, and which requests run
// without a display.

#include "shell/ui/CommandLine.h"

#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_CommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requests_data();
    void requests();
    void headlessOptions();
};

void tst_CommandLine::requests_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Request>("request");
    QTest::addColumn<bool>("noDisplay");
    QTest::addColumn<bool>("reconnect");
    QTest::addColumn<QString>("text");

    using R = CommandLine::Request;
    QTest::newRow("window") << QStringList{} << R::Run << false << true << QString();
    QTest::newRow("no reconnect") << QStringList{u"--no-reconnect"_s} << R::Run << false << false << QString();
    QTest::newRow("help") << QStringList{u"-h"_s} << R::Help << true << true << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << R::Version << true << true << CommandLine::versionText();
    QTest::newRow("installation") << QStringList{u"--install-info"_s} << R::InstallInfo << true << true << QString();
    QTest::newRow("headless") << QStringList{u"--headless"_s, u"--com"_s, u"1=/dev/ttyUSB0"_s, u"--record"_s, u"f"_s}
                              << R::Run << true << true << QString();
    QTest::newRow("headless without port") << QStringList{u"--headless"_s, u"--record"_s, u"f"_s} << R::Error << true
                                           << true << u"--headless: укажите порт (--com N=УСТРОЙСТВО)"_s;
    QTest::newRow("headless demo") << QStringList{u"--headless"_s, u"--simulate"_s, u"--record"_s,
                                                  u"f"_s,          u"--demo"_s,     u"3"_s}
                                   << R::Error << true << true
                                   << u"--headless: показ с окном (--demo) невозможен без экрана"_s;
    QTest::newRow("bad binding") << QStringList{u"--com"_s, u"17=/dev/ttyS0"_s} << R::Error << true << true
                                 << u"Недопустимый номер порта: 17 (допустимы номера от 1 до 16)"_s;
    QTest::newRow("stray argument") << QStringList{u"furnace.txt"_s} << R::Error << true << true
                                    << u"Лишние аргументы: furnace.txt"_s;
    QTest::newRow("review window") << QStringList{u"--review"_s, u"furnace.txt"_s} << R::Run << false << true
                                   << QString();
    QTest::newRow("review without a display")
        << QStringList{u"--headless"_s, u"--simulate"_s, u"--record"_s, u"f"_s, u"--review"_s, u"furnace.txt"_s}
        << R::Error << true << true << u"--headless: окно просмотра записи (--review) невозможно без экрана"_s;
}

void tst_CommandLine::requests() {
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Request, request);
    QFETCH(bool, noDisplay);
    QFETCH(bool, reconnect);
    QFETCH(QString, text);
    const CommandLine line = CommandLine::parse(QStringList{u"zorneta"_s} + arguments, false);
    QCOMPARE(line.request, request);
    QCOMPARE(line.needsNoDisplay(), noDisplay);
    QCOMPARE(line.options.reconnect, reconnect);
    QCOMPARE(line.text, text);
    if (arguments.contains(u"--review"_s) && request == CommandLine::Request::Run)
        QCOMPARE(line.options.reviewPath, arguments.at(arguments.indexOf(u"--review"_s) + 1));
}

void tst_CommandLine::headlessOptions() {
    const CommandLine line =
        CommandLine::parse({u"zorneta"_s, u"--headless"_s, u"--com"_s, u"2=/dev/ttyACM0"_s, u"--record"_s,
                            u"/tmp/f.txt"_s, u"--port-settings"_s, u"19200,e,7,2"_s, u"--no-reconnect"_s});
    QCOMPARE(line.request, CommandLine::Request::Run);
    QVERIFY(line.options.headless);
    QCOMPARE(line.options.comBindings, QStringList{u"2=/dev/ttyACM0"_s});
    QCOMPARE(line.options.recordPath, u"/tmp/f.txt"_s);
    QCOMPARE(line.options.portSettings, u"19200,e,7,2"_s);
    QVERIFY(!line.options.reconnect);
    // Without --port-settings the line runs at the default parameters.
    QCOMPARE(CommandLine::parse({u"zorneta"_s, u"--headless"_s, u"--com"_s, u"1=/dev/ttyUSB0"_s, u"--record"_s, u"f"_s})
                 .options.portSettings,
             u"9600,n,8,1"_s);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
