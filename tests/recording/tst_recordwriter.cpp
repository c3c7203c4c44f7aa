// The recording file as reception writes it, on real files: a removed file
// made again, text appended after a last line without its end, a pipe
// refused without waiting, an unfinished line ended at the close, the file
// opened again by its name after it was moved away.

#include "common/ItemNames.h"
#include "recording/RecordWriter.h"
#include "support/LogicRig.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
bool write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
} // namespace

class tst_RecordWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void whatTheWorldDoes_data();
    void whatTheWorldDoes();
    void pipeIsRefusedWithoutWaiting();
    void removedFileIsToldOnTheStatusBar();
    void reopenedByName_data();
    void reopenedByName();
};

void tst_RecordWriter::whatTheWorldDoes_data() {
    QTest::addColumn<QByteArray>("before"); // the file before the open
    QTest::addColumn<QString>("step");      // what happens between the two lines
    QTest::addColumn<QByteArray>("second"); // the second line received
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("removed file is made again")
        << QByteArray() << u"rm"_s << QByteArray("0200\r\n") << QByteArray("00:00:00\t0100\n00:00:00\t0200\n");
    QTest::newRow("appended after a line without its end")
        << QByteArray("00:00:09\t0042") << QString() << QByteArray("0200\r\n")
        << QByteArray("00:00:09\t0042\n00:00:00\t0100\n00:00:00\t0200\n");
    QTest::newRow("unfinished line ended at the close")
        << QByteArray() << QString() << QByteArray("PARTIAL") << QByteArray("00:00:00\t0100\n00:00:00\tPARTIAL\n");
}

void tst_RecordWriter::whatTheWorldDoes() {
    QFETCH(QByteArray, before);
    QFETCH(QString, step);
    QFETCH(QByteArray, second);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"печь.txt"_s);
    if (!before.isEmpty())
        QVERIFY(write(path, before));
    RecordWriter writer;
    QSignalSpy failed(&writer, &RecordWriter::writeFailed);
    QSignalSpy recreated(&writer, &RecordWriter::fileRecreated);
    QVERIFY(writer.open(path).isOk());
    writer.writeReceived("0100\r\n", u"00:00:00"_s);
    if (step == u"rm")
        QVERIFY(QFile::remove(path));
    writer.writeReceived(second, u"00:00:00"_s);
    writer.close();
    QCOMPARE(contents(path), expected);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(recreated.size(), step == u"rm" ? 1 : 0);
}

void tst_RecordWriter::reopenedByName_data() {
    QTest::addColumn<QByteArray>("first"); // received before the file is reopened
    QTest::addColumn<QString>("step");     // what happens to the file before
    QTest::addColumn<QString>("error");    // what reopen() says; empty: it succeeds
    QTest::addColumn<QByteArray>("atPath");
    QTest::addColumn<QByteArray>("moved"); // the file moved away (sub2/печь.txt or печь.txt.1)
    const QByteArray none("<unreadable>");
    QTest::newRow("moved away") << QByteArray("0100\r\n") << u"mv"_s << QString() << QByteArray("00:00:00\t0200\n")
                                << QByteArray("00:00:00\t0100\n");
    QTest::newRow("unfinished line at the turn") << QByteArray("PART") << u"mv"_s << QString()
                                                 << QByteArray("00:00:00\t0200\n") << QByteArray("00:00:00\tPART\n");
    QTest::newRow("made anew with a line without its end")
        << QByteArray("0100\r\n") << u"mv+write"_s << QString() << QByteArray("X\n00:00:00\t0200\n")
        << QByteArray("00:00:00\t0100\n");
    QTest::newRow("removed") << QByteArray("0100\r\n") << u"rm"_s << QString()
                             << QByteArray("00:00:00\t0100\n00:00:00\t0200\n") << none;
    QTest::newRow("its folder moved away: written on where it was")
        << QByteArray("0100\r\n") << u"mv folder"_s << u"Не удалось открыть файл %1: нет такого файла или папки"_s
        << none << QByteArray("00:00:00\t0100\n00:00:00\t0200\n");
}

void tst_RecordWriter::reopenedByName() {
    QFETCH(QByteArray, first);
    QFETCH(QString, step);
    QFETCH(QString, error);
    QFETCH(QByteArray, atPath);
    QFETCH(QByteArray, moved);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
    const QString path = dir.filePath(u"sub/печь.txt"_s);
    const QString movedPath = step == u"mv folder" ? dir.filePath(u"sub2/печь.txt"_s) : path + u".1"_s;
    RecordWriter writer;
    QSignalSpy failed(&writer, &RecordWriter::writeFailed);
    QVERIFY(writer.open(path).isOk());
    writer.writeReceived(first, u"00:00:00"_s);
    if (step.startsWith(u"mv "))
        QVERIFY(QDir(dir.path()).rename(u"sub"_s, u"sub2"_s));
    else if (step.startsWith(u"mv"))
        QVERIFY(QFile::rename(path, movedPath));
    if (step == u"mv+write")
        QVERIFY(write(path, "X"));
    if (step == u"rm")
        QVERIFY(QFile::remove(path));
    const Status reopened = writer.reopen();
    QCOMPARE(reopened.description(), error.isEmpty() ? QString() : error.arg(path));
    writer.writeReceived("0200\r\n", u"00:00:00"_s);
    writer.close();
    QCOMPARE(contents(path), atPath);
    QCOMPARE(contents(movedPath), moved);
    QCOMPARE(failed.size(), 0);
}

void tst_RecordWriter::pipeIsRefusedWithoutWaiting() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"fifo"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    RecordWriter writer;
    const Status opened = writer.open(path);
    QVERIFY(!opened.isOk());
    QCOMPARE(opened.description(), u"Не удалось открыть файл "_s + path + u": это не обычный файл"_s);
    QVERIFY(!writer.isOpen());
}

void tst_RecordWriter::removedFileIsToldOnTheStatusBar() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.txt"_s);
    LogicRig rig;
    QVERIFY(rig.logic->recording().openAt(path, u"r.txt"_s));
    rig.open();
    rig.reading(1);
    QVERIFY(QFile::remove(path));
    rig.reading(2);
    QCOMPARE(contents(path), QByteArray("00:00:00\t0001\n00:00:00\t0002\n"));
    QCOMPARE(rig.view.panels.value(panel::Status), u"Файл записи удалён и создан заново: "_s + path + u"  14:05:00"_s);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

QTEST_GUILESS_MAIN(tst_RecordWriter)
#include "tst_recordwriter.moc"
