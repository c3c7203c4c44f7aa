// The recorder without a window, on a pseudo-terminal, is sent SIGHUP after
// its recording file was moved away, as logrotate does: it opens the file
// again by its name, the moved file keeps everything written before it,
// complete, and the new file gets everything after; nothing is lost or
// written twice.

#include "simulator/PtyPair.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// The file's bytes with the stamps taken out; "no file" when it is missing,
// "bad shape" when a line does not start with a stamp.
QByteArray unstamped(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "no file";
    const QByteArray bytes = file.readAll();
    static const QRegularExpression shape(u"^(\\d\\d:\\d\\d:\\d\\d\\t[^\\n]*(\\n|$))*$"_s);
    if (!shape.match(QString::fromLatin1(bytes)).hasMatch())
        return "bad shape: " + bytes;
    static const QRegularExpression stamp(u"(^|(?<=\\n))\\d\\d:\\d\\d:\\d\\d\\t"_s);
    return QString::fromLatin1(bytes).remove(stamp).toLatin1();
}

} // namespace

class tst_RecordReopen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reopensOnSighup_data();
    void reopensOnSighup();
};

void tst_RecordReopen::reopensOnSighup_data() {
    QTest::addColumn<QByteArray>("before"); // sent before the file is moved
    QTest::addColumn<QByteArray>("after");  // sent after SIGHUP
    QTest::addColumn<QString>("rotation");  // "move", "move+create" or "none"
    QTest::addColumn<QByteArray>("moved");  // the moved file at the end, stamps taken out
    QTest::addColumn<QByteArray>("atPath"); // the file at the recording path at the end

    QTest::newRow("moved away") << QByteArray("0100\r\n0101\r\n") << QByteArray("0102\r\n0103\r\n") << u"move"_s
                                << QByteArray("0100\n0101\n") << QByteArray("0102\n0103\n");
    QTest::newRow("moved away, an empty file made in its place")
        << QByteArray("0100\r\n0101\r\n") << QByteArray("0102\r\n") << u"move+create"_s << QByteArray("0100\n0101\n")
        << QByteArray("0102\n");
    QTest::newRow("a line cut short at the turn")
        << QByteArray("0100\r\nPART") << QByteArray("IAL\r\n0101\r\n") << u"move"_s << QByteArray("0100\nPART\n")
        << QByteArray("IAL\n0101\n");
    QTest::newRow("left in place") << QByteArray("0100\r\n") << QByteArray("0101\r\n") << u"none"_s
                                   << QByteArray("no file") << QByteArray("0100\n0101\n");
}

void tst_RecordReopen::reopensOnSighup() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, rotation);
    QFETCH(QByteArray, moved);
    QFETCH(QByteArray, atPath);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    sim::PtyPair line;
    QVERIFY(line.open());
    const QString record = dir.filePath(u"furnace.txt"_s);
    const QString rotated = dir.filePath(u"furnace.txt.1"_s);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, dir.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--headless"_s, u"--com"_s, u"1="_s + line.devicePath(), u"--record"_s, record});
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("Порт открыт"), 20000);

    QCOMPARE(::write(line.masterFd(), before.constData(), size_t(before.size())), ssize_t(before.size()));
    // A line without its end reaches the file after a second of silence.
    const QByteArray written = QByteArray(before).replace("\r\n", "\n");
    QTRY_COMPARE_WITH_TIMEOUT(unstamped(record), written, 10000);

    if (rotation != u"none")
        QVERIFY(QFile::rename(record, rotated));
    if (rotation == u"move+create") {
        QFile made(record);
        QVERIFY(made.open(QIODevice::WriteOnly));
    }
    QCOMPARE(::kill(pid_t(program.processId()), SIGHUP), 0);
    const QByteArray said = "zorneta: Порт открыт\nzorneta: файл записи открыт заново: " + record.toUtf8() + '\n';
    QTRY_COMPARE_WITH_TIMEOUT(errors += program.readAllStandardError(), said, 10000);

    QCOMPARE(::write(line.masterFd(), after.constData(), size_t(after.size())), ssize_t(after.size()));
    QTRY_COMPARE_WITH_TIMEOUT(unstamped(record), atPath, 10000);

    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(unstamped(rotated), moved);
    QCOMPARE(unstamped(record), atPath);
    QCOMPARE(errors + program.readAllStandardError(), said);
}

QTEST_GUILESS_MAIN(tst_RecordReopen)
#include "tst_recordreopen.moc"
