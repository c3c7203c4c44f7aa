// The program run as `zorneta --headless` with no display at all: it records
// from a pseudo-terminal until SIGTERM and ends with status 0 and the file
// complete; help, version and bad arguments need no display either.

#include "simulator/PtyPair.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// No display anywhere, and a platform plugin that would abort a program
// that tried to reach one.
QProcessEnvironment noDisplay(const QString &configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, configHome);
    return env;
}

} // namespace

class tst_HeadlessProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordsUntilSigterm();
    void unwritableFileIsRefused();
    void runsWithoutDisplay_data();
    void runsWithoutDisplay();
    void recordOutlivesItsSurroundings_data();
    void recordOutlivesItsSurroundings();
    void windowWithoutDisplay_data();
    void windowWithoutDisplay();
};

void tst_HeadlessProgram::recordsUntilSigterm() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    sim::PtyPair line;
    QVERIFY(line.open());
    const QString record = dir.filePath(u"furnace.txt"_s);

    QProcess program;
    program.setProcessEnvironment(noDisplay(dir.path()));
    program.start(QStringLiteral(ZORNETA_BINARY), {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(),
                                                   u"--record"_s, record, u"--port-settings"_s, u"9600,n,8,1"_s});
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("Порт открыт"), 20000);

    QByteArray shown;
    QStringList sent;
    for (int value = 20; value < 30; ++value) {
        const QByteArray group = QByteArray::number(value).rightJustified(4, '0') + "\r\n";
        QCOMPARE(::write(line.masterFd(), group.constData(), size_t(group.size())), ssize_t(group.size()));
        sent << QString::fromLatin1(group.left(4));
        QTRY_VERIFY_WITH_TIMEOUT((shown += program.readAllStandardOutput()).count('\n') == sent.size(), 10000);
    }
    QCOMPARE(shown, (sent.join(u'\n') + u'\n').toLatin1());

    program.terminate(); // SIGTERM
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith('\n'));
    const QStringList lines = QString::fromLatin1(bytes).split(u'\n', Qt::SkipEmptyParts);
    static const QRegularExpression shape(u"^\\d\\d:\\d\\d:\\d\\d\\t(\\d{4})$"_s);
    QStringList recorded;
    for (const QString &l : lines) {
        const auto m = shape.match(l);
        QVERIFY2(m.hasMatch(), qPrintable(l));
        recorded << m.captured(1);
    }
    QCOMPARE(recorded, sent);
}

void tst_HeadlessProgram::unwritableFileIsRefused() {
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    const QString record = dir.filePath(u"missing/furnace.txt"_s);
    QProcess program;
    program.setProcessEnvironment(noDisplay(dir.path()));
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(), u"--record"_s, record});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(err, u"zorneta: Не удалось открыть файл "_s + record + u": нет такого файла или папки\n"_s);
}

void tst_HeadlessProgram::runsWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // expected in standard output
    QTest::addColumn<QString>("error");  // the one line on standard error

    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Запись без окна и без экрана"_s << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"Зорнета "_s << QString();
    QTest::newRow("no such device") << QStringList{u"--headless"_s, u"--com"_s, u"1=/nonexistent/ttyUSB7"_s,
                                                   u"--record"_s, u"f.txt"_s}
                                    << 1 << QString() << u"zorneta: Порт не найден: /nonexistent/ttyUSB7"_s;
    QTest::newRow("no record file") << QStringList{u"--headless"_s, u"--com"_s, u"1=/dev/null"_s} << 2 << QString()
                                    << u"zorneta: --headless: укажите файл записи (--record ФАЙЛ)"_s;
    QTest::newRow("unknown option") << QStringList{u"--headles"_s} << 2 << QString()
                                    << u"zorneta: Неизвестный параметр «headles»."_s;
    const QString parity =
        u"zorneta: Недопустимые параметры порта: 9600,x,8,1 (чётность «x», допустимы e, o, n, m, s)"_s;
    QTest::newRow("port settings, window")
        << QStringList{u"--port-settings"_s, u"9600,x,8,1"_s} << 2 << QString() << parity;
    QTest::newRow("port settings, headless")
        << QStringList{u"--headless"_s, u"--com"_s,           u"1=/dev/null"_s, u"--record"_s,
                       u"f.txt"_s,      u"--port-settings"_s, u"9600,x,8,1"_s}
        << 2 << QString() << parity;
    for (const QString &speedup : {u"NaN"_s, u"inf"_s, u"-inf"_s, u"-2"_s, u"0"_s})
        QTest::addRow("sim-speedup %s", qPrintable(speedup))
            << QStringList{u"--simulate"_s, u"--sim-speedup"_s, speedup} << 2 << QString()
            << u"zorneta: --sim-speedup: нужно положительное число"_s;
}

void tst_HeadlessProgram::runsWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QProcess program;
    program.setProcessEnvironment(noDisplay(dir.path()));
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(ZORNETA_BINARY), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    if (output.isEmpty()) {
        QCOMPARE(out, QString());
        QCOMPARE(err, error + u'\n');
    } else {
        QVERIFY2(out.contains(output), qPrintable(out));
        QCOMPARE(err, QString());
    }
}

void tst_HeadlessProgram::recordOutlivesItsSurroundings_data() {
    // What happens to the recorder's surroundings while it records, and what
    // its standard error says of it.
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QString>("said");
    QTest::newRow("a line cut short by SIGTERM") << u"partial"_s << QString();
    QTest::newRow("standard output read no more")
        << u"stdout"_s
        << u"zorneta: стандартный вывод закрыт: показания больше не печатаются, запись в файл продолжается\n"_s;
    QTest::newRow("standard output and error read no more") << u"both"_s << QString();
}

void tst_HeadlessProgram::recordOutlivesItsSurroundings() {
    QFETCH(QString, scene);
    QFETCH(QString, said);
    QTemporaryDir dir;
    sim::PtyPair line;
    QVERIFY(line.open());
    const QString record = dir.filePath(u"furnace.txt"_s);
    QProcess program;
    program.setProcessEnvironment(noDisplay(dir.path()));
    // A pipe whose reader is gone before the first line: standard output,
    // and for "both" standard error too, as `2>&1 | head` leaves them.
    int gone[2] = {-1, -1};
    if (scene != u"partial") {
        QCOMPARE(::pipe(gone), 0);
        ::close(gone[0]);
        const bool both = scene == u"both";
        program.setChildProcessModifier([gone, both] {
            ::dup2(gone[1], STDOUT_FILENO);
            if (both)
                ::dup2(gone[1], STDERR_FILENO);
        });
    }
    const auto closeGone = qScopeGuard([gone] {
        if (gone[1] >= 0)
            ::close(gone[1]);
    });
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(), u"--record"_s, record});
    QVERIFY(program.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
    QByteArray errors;
    if (scene != u"both")
        QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("Порт открыт"), 20000);
    const QByteArray groups = scene == u"partial" ? QByteArray("0100\r\nPARTIAL") : QByteArray("0100\r\n0101\r\n");
    QCOMPARE(::write(line.masterFd(), groups.constData(), size_t(groups.size())), ssize_t(groups.size()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile(record).size() >= 14, 10000);
    if (scene != u"partial") {
        // Still recording after the reader went away.
        QTest::qWait(300);
        QCOMPARE(::write(line.masterFd(), "0102\r\n", 6), ssize_t(6));
        QTRY_VERIFY_WITH_TIMEOUT(QFile(record).size() >= 3 * 14, 10000);
    }
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    static const QRegularExpression stamps(u"\\d\\d:\\d\\d:\\d\\d\\t"_s);
    const QString body = QString::fromLatin1(file.readAll()).remove(stamps);
    QCOMPARE(body, scene == u"partial" ? u"0100\nPARTIAL\n"_s : u"0100\n0101\n0102\n"_s);
    if (scene != u"both") {
        errors += program.readAllStandardError();
        QCOMPARE(QString::fromUtf8(errors), u"zorneta: Порт открыт\n"_s + said);
    }
}

void tst_HeadlessProgram::windowWithoutDisplay_data() {
    QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM; empty: unset
    QTest::newRow("platform unset") << QString();
    QTest::newRow("xcb") << u"xcb"_s;
    QTest::newRow("xcb with options") << u"xcb:nograb"_s;
}

void tst_HeadlessProgram::windowWithoutDisplay() {
    QFETCH(QString, platform);
    QTemporaryDir dir;
    QProcessEnvironment env = noDisplay(dir.path());
    env.remove(u"QT_QPA_PLATFORM"_s);
    // Nor a Wayland socket where a client would look without WAYLAND_DISPLAY.
    env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
    if (!platform.isEmpty())
        env.insert(u"QT_QPA_PLATFORM"_s, platform);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZORNETA_BINARY), {u"--simulate"_s});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
             u"zorneta: нет экрана (не заданы DISPLAY и WAYLAND_DISPLAY); запись без окна: zorneta --headless\n"_s);
}

QTEST_GUILESS_MAIN(tst_HeadlessProgram)
#include "tst_headlessprogram.moc"
