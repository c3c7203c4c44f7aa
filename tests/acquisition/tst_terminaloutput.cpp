// A received line in the terminal box and in the recording file: the box's
// text, its length limit, backspaces, line ends and the stamped record; the
// clear button.

#include "acquisition/TerminalOutput.h"
#include "support/LogicRig.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {
QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class tst_TerminalOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxAndRecordText_data();
    void boxAndRecordText();
    void linesGoOnAcrossBlocks();
    void longBoxIsCut();
    void boxAtTheLimitIsKept();
    void leadingBackspaceErasesTheLastCharacter();
    void leadingBackspaceOnAnEmptyBox();
    void stampCountsFromTheStart();
    void clearButton();
};

void tst_TerminalOutput::boxAndRecordText_data() {
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("record");
    const QString s = u"00:05:17\t"_s;
    QTest::newRow("group") << u"0123\r\n"_s << u"0123\r\n"_s << s + u"0123\n"_s;
    QTest::newRow("LF alone") << u"0444\n"_s << u"0444\r\n"_s << s + u"0444\n"_s;
    QTest::newRow("CR inside") << u"0789\r0333\r\n"_s << u"0789\r\n0333\r\n"_s << s + u"0789\n"_s + s + u"0333\n"_s;
    QTest::newRow("backspace inside") << u"12\b3\r\n"_s << u"13\r\n"_s << s + u"13\n"_s;
    QTest::newRow("two groups") << u"0001\r\n0002\r\n"_s << u"0001\r\n0002\r\n"_s << s + u"0001\n"_s + s + u"0002\n"_s;
    QTest::newRow("no line end") << u"01"_s << u"01"_s << s + u"01"_s;
    QTest::newRow("only the line end") << u"23\r"_s << u"23\r\n"_s << s + u"23\n"_s;
    QTest::newRow("two backspaces") << u"abc\b\bd"_s << u"ad"_s << s + u"ad"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void tst_TerminalOutput::boxAndRecordText() {
    QFETCH(QString, received);
    QFETCH(QString, shown);
    QFETCH(QString, record);
    LogicRig rig;
    QTemporaryDir dir;
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"r.txt"_s), u"r.txt"_s));
    rig.state().startTime = rig.clock.current;
    rig.clock.advance(317'000);
    rig.port.receive(received.toLatin1());
    QCOMPARE(rig.view.box.contents, shown);
    QCOMPARE(contents(dir.filePath(u"r.txt"_s)), record.toLatin1());
    QCOMPARE(rig.view.box.selectionStart, rig.view.box.contents.size());
}

void tst_TerminalOutput::linesGoOnAcrossBlocks() {
    // Into a real file: a line without its end goes on in the next block
    // without a second stamp, and a CR LF split over two blocks is one end.
    LogicRig rig;
    QTemporaryDir dir;
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"r.txt"_s), u"r.txt"_s));
    rig.state().startTime = rig.clock.current;
    for (const QByteArray &block : {QByteArray("01"), QByteArray("23\r"), QByteArray("\n0124\r\n")})
        rig.port.receive(block);
    QCOMPARE(rig.view.box.contents, u"0123\r\n0124\r\n"_s);
    QCOMPARE(contents(dir.filePath(u"r.txt"_s)), QByteArray("00:00:00\t0123\n00:00:00\t0124\n"));
}

void tst_TerminalOutput::longBoxIsCut() {
    LogicRig rig;
    rig.state().startTime = rig.clock.current;
    QString old;
    for (int i = 0; i < 16001; ++i)
        old += QChar(u'a' + i % 26);
    rig.view.box.contents = old;
    rig.port.receive("0850\r\n");
    // From character 5000 on: 11002 characters, then the new text.
    QCOMPARE(rig.view.box.contents.size(), qsizetype(11002 + 6));
    QCOMPARE(rig.view.box.contents.left(11002), old.mid(4999));
    QVERIFY(rig.view.box.contents.endsWith(u"0850\r\n"_s));
}

void tst_TerminalOutput::boxAtTheLimitIsKept() {
    LogicRig rig;
    rig.view.box.contents = QString(16000, u'x');
    rig.port.receive("1");
    QCOMPARE(rig.view.box.contents.size(), qsizetype(16001));
}

void tst_TerminalOutput::leadingBackspaceErasesTheLastCharacter() {
    LogicRig rig;
    QTemporaryDir dir;
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"r.txt"_s), u"r.txt"_s));
    rig.view.box.contents = u"0850\r\n12"_s;
    rig.port.receive("\b3\r\n");
    QCOMPARE(rig.view.box.contents, u"0850\r\n13\r\n"_s);
    QVERIFY(contents(dir.filePath(u"r.txt"_s)).endsWith("\t3\n"));
}

void tst_TerminalOutput::leadingBackspaceOnAnEmptyBox() {
    LogicRig rig;
    rig.port.receive("\b7");
    QCOMPARE(rig.view.box.contents, u"7"_s);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_TerminalOutput::stampCountsFromTheStart() {
    LogicRig rig;
    rig.state().startTime = rig.clock.current;
    QTemporaryDir dir;
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"r.txt"_s), u"r.txt"_s));
    rig.clock.advance(24 * 3600 * 1000LL + 5000);
    rig.port.receive("0001\r\n");
    QCOMPARE(contents(dir.filePath(u"r.txt"_s)), QByteArray("00:00:05\t0001\n"));
}

void tst_TerminalOutput::clearButton() {
    LogicRig rig;
    rig.view.box.contents = u"0850\r\n0851\r\n"_s;
    rig.logic->output().clearTerminal();
    QCOMPARE(rig.view.box.contents, QString());
    QCOMPARE(rig.view.box.selectionStart, qsizetype(0));
}

QTEST_GUILESS_MAIN(tst_TerminalOutput)
#include "tst_terminaloutput.moc"
