// The terminal output routine: the box's text, its length limit, backspaces,
// line ends and the stamped record text; the clear button.

#include "acquisition/TerminalOutput.h"
#include "support/LogicRig.h"

#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

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
    rig.state().StartTime = rig.clock.current;
    rig.clock.advance(317'000);
    QString text = received;
    rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(rig.view.box.text, shown);
    QCOMPARE(text, record);
    QCOMPARE(rig.view.box.selStart, rig.view.box.text.size());
}

void tst_TerminalOutput::linesGoOnAcrossBlocks() {
    // Into a real file: a line without its end goes on in the next block
    // without a second stamp, and a CR LF split over two blocks is one end.
    LogicRig rig;
    QTemporaryDir dir;
    QVERIFY(rig.logic->recording().openAt(dir.filePath(u"r.txt"_s), u"r.txt"_s));
    rig.state().StartTime = rig.clock.current;
    const QStringList blocks{u"01"_s, u"23\r"_s, u"\n0124\r\n"_s};
    for (QString text : blocks)
        rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(rig.view.box.text, u"0123\r\n0124\r\n"_s);
    QFile file(dir.filePath(u"r.txt"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("00:00:00\t0123\n00:00:00\t0124\n"));
}

void tst_TerminalOutput::longBoxIsCut() {
    LogicRig rig;
    rig.state().StartTime = rig.clock.current;
    QString old;
    for (int i = 0; i < 16001; ++i)
        old += QChar(u'a' + i % 26);
    rig.view.box.text = old;
    QString text = u"0850\r\n"_s;
    rig.logic->output().ShowTermText(rig.view.box, text);
    // From character 5000 on: 11002 characters, then the new text.
    QCOMPARE(rig.view.box.text.size(), qsizetype(11002 + 6));
    QCOMPARE(rig.view.box.text.left(11002), old.mid(4999));
    QVERIFY(rig.view.box.text.endsWith(u"0850\r\n"_s));
}

void tst_TerminalOutput::boxAtTheLimitIsKept() {
    LogicRig rig;
    rig.view.box.text = QString(16000, u'x');
    QString text = u"1"_s;
    rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(rig.view.box.text.size(), qsizetype(16001));
}

void tst_TerminalOutput::leadingBackspaceErasesTheLastCharacter() {
    LogicRig rig;
    rig.view.box.text = u"0850\r\n12"_s;
    QString text = u"\b3\r\n"_s;
    rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(rig.view.box.text, u"0850\r\n13\r\n"_s);
    QVERIFY(text.endsWith(u"\t3\n"_s));
}

void tst_TerminalOutput::leadingBackspaceOnAnEmptyBox() {
    LogicRig rig;
    QString text = u"\b7"_s;
    rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(rig.view.box.text, u"7"_s);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_TerminalOutput::stampCountsFromTheStart() {
    LogicRig rig;
    rig.state().StartTime = rig.clock.current;
    rig.clock.advance(24 * 3600 * 1000LL + 5000);
    QString text = u"0001\r\n"_s;
    rig.logic->output().ShowTermText(rig.view.box, text);
    QCOMPARE(text, u"00:00:05\t0001\n"_s);
}

void tst_TerminalOutput::clearButton() {
    LogicRig rig;
    rig.view.box.text = u"0850\r\n0851\r\n"_s;
    rig.logic->output().Command1_Click();
    QCOMPARE(rig.view.box.text, QString());
    QCOMPARE(rig.view.box.selStart, qsizetype(0));
}

QTEST_GUILESS_MAIN(tst_TerminalOutput)
#include "tst_terminaloutput.moc"
