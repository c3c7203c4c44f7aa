// The data recording file on real files: the open and close commands, the
// replace question, the exact bytes of the records, write failures on a
// device that refuses writes.

#include "common/ItemNames.h"
#include "common/TextEncoding.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

Prompts::FileChoice choice(const QString &path) {
    return Prompts::FileChoice{path, QFileInfo(path).fileName()};
}

} // namespace

class tst_RecordingFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void openCommandShowsTheDialog();
    void cancelChangesNothing();
    void newFileIsCreatedEmpty();
    void replaceQuestion_data();
    void replaceQuestion();
    void replaceCancelChoosesAgain();
    void closeCommand();
    void recordBytes_data();
    void recordBytes();
    void severalGroupsThroughTheHandler();
    void backspaceCannotUnwriteTheFile();
    void stampWrapsAfterADay();
    void nothingWrittenWhilePortClosed();
    void readPeriodSkipsAreRecordedToo();
    void folderIsRefused();
    void openFailureEndsNotRecording();
    void writeFailureRetryThenCancel();
    void recordsDuringAWriteQuestionDoNotPileUp();
    void unloadClosesTheFile();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void openLog(LogicRig &rig, const QString &file);
};

void tst_RecordingFile::init() {
    QVERIFY(m_dir.isValid());
}

void tst_RecordingFile::openLog(LogicRig &rig, const QString &file) {
    rig.prompts.fileAnswers.push_back(choice(file));
    rig.logic->runMenuItem(menu::OpenRecording);
}

void tst_RecordingFile::openCommandShowsTheDialog() {
    LogicRig rig;
    rig.open();
    for (int i = 0; i < 10; ++i)
        rig.reading(20);
    openLog(rig, path(u"a.txt"_s));
    const auto &dialog = rig.prompts.shown.front();
    QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(dialog.title, u"Открыть файл протокола связи"_s);
    QCOMPARE(dialog.text, u"Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*"_s);
    QCOMPARE(dialog.proposed, u"Зорнета 08 декабря 14`05"_s);
    QVERIFY(rig.logic->recording().isOpen());
    QCOMPARE(rig.view.caption(), u"   Зорнета   -   a.txt"_s);
    QVERIFY(!rig.view.itemEnabled(menu::OpenRecording));
    QVERIFY(!rig.view.itemEnabled(toolbar::OpenLogFile));
    QVERIFY(rig.view.itemEnabled(menu::CloseRecording));
    QVERIFY(rig.view.itemEnabled(toolbar::CloseLogFile));
    QCOMPARE(rig.logic->recording().logFilePath(), path(u"a.txt"_s));
}

void tst_RecordingFile::cancelChangesNothing() {
    LogicRig rig;
    rig.prompts.fileAnswers.push_back(std::nullopt);
    rig.logic->runMenuItem(menu::OpenRecording);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().proposed, u"Зорнета МЛ512"_s);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(rig.view.caption(), u"   Зорнета"_s);
}

void tst_RecordingFile::newFileIsCreatedEmpty() {
    LogicRig rig;
    const QString file = path(u"new.txt"_s);
    QFile::remove(file);
    openLog(rig, file);
    QCOMPARE(rig.prompts.shown.size(), 1); // no replace question
    QVERIFY(QFile::exists(file));
    QCOMPARE(contents(file), QByteArray());
}

void tst_RecordingFile::replaceQuestion_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Yes empties") << true << QByteArray("00:00:00\t0850\n");
    QTest::newRow("No appends") << false << QByteArray("old line\n00:00:00\t0850\n");
}

void tst_RecordingFile::replaceQuestion() {
    QFETCH(bool, yes);
    QFETCH(QByteArray, expected);
    const QString file = path(u"existing.txt"_s);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("old line\n");
    }
    LogicRig rig;
    rig.prompts.messageAnswers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
    openLog(rig, file);
    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &question = rig.prompts.shown.at(1);
    QCOMPARE(question.title, u"Зорнета"_s);
    QCOMPARE(question.text, u"Заменить существующий файл - "_s + file + u'?');
    QCOMPARE(question.icon, Prompts::Icon::Question);
    QCOMPARE(question.buttons, Prompts::Buttons::YesNoCancel);
    rig.open();
    rig.reading(850);
    QCOMPARE(contents(file), expected);
}

void tst_RecordingFile::replaceCancelChoosesAgain() {
    const QString first = path(u"first.txt"_s);
    const QString second = path(u"second.txt"_s);
    {
        QFile f(first);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("keep me\n");
    }
    QFile::remove(second);
    LogicRig rig;
    rig.prompts.fileAnswers.push_back(choice(first));
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    rig.prompts.fileAnswers.push_back(choice(second));
    rig.logic->runMenuItem(menu::OpenRecording);
    QCOMPARE(rig.prompts.shown.size(), 3);
    QCOMPARE(rig.prompts.shown.at(2).kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(rig.prompts.shown.at(2).proposed, u"Зорнета МЛ512"_s);
    QCOMPARE(rig.logic->recording().logFilePath(), second);
    QCOMPARE(contents(first), QByteArray("keep me\n"));
    QCOMPARE(rig.view.caption(), u"   Зорнета   -   second.txt"_s);
}

void tst_RecordingFile::closeCommand() {
    LogicRig rig;
    const QString file = path(u"close.txt"_s);
    QFile::remove(file);
    openLog(rig, file);
    rig.open();
    rig.reading(1);
    rig.logic->runToolbarKey(toolbar::CloseLogFile);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(rig.view.caption(), u"   Зорнета"_s);
    QVERIFY(rig.view.itemEnabled(menu::OpenRecording));
    QVERIFY(rig.view.itemEnabled(toolbar::OpenLogFile));
    QVERIFY(!rig.view.itemEnabled(menu::CloseRecording));
    QVERIFY(!rig.view.itemEnabled(toolbar::CloseLogFile));
    rig.reading(2);
    // Nothing written at close, nothing after it.
    QCOMPARE(contents(file), QByteArray("00:00:00\t0001\n"));
}

void tst_RecordingFile::recordBytes_data() {
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one group, 14 bytes") << QStringList{u"0123\r\n"_s}
                                         << QByteArray::fromHex("30303A30353A313709303132330A");
    QTest::newRow("group split over two blocks") << QStringList{u"01"_s, u"23\r\n"_s} << QByteArray("00:05:17\t0123\n");
    QTest::newRow("several groups") << QStringList{u"0001\r\n"_s, u"0002\r\n"_s, u"0003\r\n"_s}
                                    << QByteArray("00:05:17\t0001\n00:05:17\t0002\n00:05:17\t0003\n");
    QTest::newRow("two line ends in one block")
        << QStringList{u"0001\r\n0002\r\n"_s} << QByteArray("00:05:17\t0001\n00:05:17\t0002\n");
    QTest::newRow("Cyrillic as Windows-1251")
        << QStringList{u"Тест\r\n"_s} << QByteArray("00:05:17\t\xD2\xE5\xF1\xF2\n");
}

void tst_RecordingFile::recordBytes() {
    QFETCH(QStringList, blocks);
    QFETCH(QByteArray, bytes);
    const QString file = path(u"bytes.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.state().startTime = rig.clock.current;
    rig.clock.advance(317'000);
    for (const QString &block : blocks)
        rig.port.receive(encodeFileText(block));
    QCOMPARE(contents(file), bytes);
    QVERIFY(!contents(file).contains('\r'));
}

void tst_RecordingFile::severalGroupsThroughTheHandler() {
    const QString file = path(u"handler.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    for (int i = 0; i < 3; ++i) {
        rig.clock.advance(640);
        rig.reading(847 + i);
    }
    rig.clock.advance(2000);
    rig.group("9999\r\n");
    QCOMPARE(contents(file), QByteArray("00:00:00\t0847\n00:00:01\t0848\n00:00:01\t0849\n00:00:03\t9999\n"));
    // The break closed the port, not the file.
    QVERIFY(rig.logic->recording().isOpen());
    QVERIFY(rig.view.itemEnabled(menu::CloseRecording));
}

void tst_RecordingFile::backspaceCannotUnwriteTheFile() {
    const QString file = path(u"bs.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.state().startTime = rig.clock.current;
    rig.port.receive("12");
    rig.port.receive("\b3\r\n");
    QCOMPARE(rig.view.box.contents, u"13\r\n"_s);
    QCOMPARE(contents(file), QByteArray("00:00:00\t123\n"));
}

void tst_RecordingFile::stampWrapsAfterADay() {
    const QString file = path(u"day.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.clock.advance(24 * 3600 * 1000LL + 1000);
    rig.reading(500);
    QCOMPARE(contents(file), QByteArray("00:00:01\t0500\n"));
}

void tst_RecordingFile::nothingWrittenWhilePortClosed() {
    const QString file = path(u"closed.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.reading(1);
    rig.open(); // closes the port
    QVERIFY(!rig.port.isOpen);
    // A closed port raises no events; nothing is written, the file stays open.
    QCOMPARE(contents(file), QByteArray("00:00:00\t0001\n"));
    QVERIFY(rig.logic->recording().isOpen());
}

void tst_RecordingFile::readPeriodSkipsAreRecordedToo() {
    const QString file = path(u"period.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.state().readPeriod = 5;
    for (int i = 0; i < 6; ++i)
        rig.reading(i);
    // Every line received is recorded; the period thins only the table.
    QCOMPARE(contents(file), QByteArray("00:00:00\t0000\n00:00:00\t0001\n00:00:00\t0002\n00:00:00\t0003\n"
                                        "00:00:00\t0004\n00:00:00\t0005\n"));
    QCOMPARE(rig.state().pointCount, qint64(2));
}

void tst_RecordingFile::folderIsRefused() {
    LogicRig rig;
    rig.prompts.fileAnswers.push_back(choice(m_dir.path()));
    rig.logic->runMenuItem(menu::OpenRecording);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown.at(1).icon, Prompts::Icon::Exclamation);
    QCOMPARE(rig.prompts.shown.at(1).text, u"Выбрана папка, а не файл: "_s + m_dir.path());
}

void tst_RecordingFile::openFailureEndsNotRecording() {
    LogicRig rig;
    const QString file = path(u"no/such/folder/x.txt"_s);
    rig.prompts.fileAnswers.push_back(choice(file));
    rig.logic->runMenuItem(menu::OpenRecording);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &box = rig.prompts.shown.at(1);
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QCOMPARE(box.text, u"Не удалось открыть файл "_s + file + u": нет такого файла или папки"_s);
    QCOMPARE(rig.view.caption(), u"   Зорнета"_s);
    QVERIFY(rig.view.itemEnabled(menu::OpenRecording));
}

void tst_RecordingFile::writeFailureRetryThenCancel() {
    if (!QFile::exists(u"/dev/full"_s))
        QSKIP("no /dev/full on this system");
    LogicRig rig;
    rig.prompts.messageAnswers.push_back(Prompts::Answer::No); // keep the device, "append"
    openLog(rig, u"/dev/full"_s);
    QVERIFY(rig.logic->recording().isOpen());
    rig.open();
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Retry);
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Cancel);
    rig.reading(850);
    // Two write-failure questions: Retry, then Cancel.
    QCOMPARE(rig.prompts.shown.size(), 4);
    for (int i : {2, 3}) {
        const auto &box = rig.prompts.shown.at(i);
        QCOMPARE(box.title, u"Зорнета"_s);
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(box.text, u"Не удалось записать в файл /dev/full: на диске нет места"_s);
    }
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(rig.view.caption(), u"   Зорнета"_s);
    // Still receiving, still showing.
    rig.reading(851);
    QCOMPARE(rig.state().pointCount, qint64(2));
    QVERIFY(rig.view.box.contents.endsWith(u"0851\r\n"_s));
    QCOMPARE(rig.prompts.shown.size(), 4);
}

void tst_RecordingFile::recordsDuringAWriteQuestionDoNotPileUp() {
    if (!QFile::exists(u"/dev/full"_s))
        QSKIP("no /dev/full on this system");
    LogicRig rig;
    rig.prompts.messageAnswers.push_back(Prompts::Answer::No);
    openLog(rig, u"/dev/full"_s);
    rig.open();
    rig.prompts.keepBoxesOpen = true;
    rig.reading(851);
    // Readings keep arriving while the user reads the question: shown,
    // stored, and no question of their own.
    rig.reading(852);
    rig.reading(853);
    QCOMPARE(rig.prompts.openBoxes.size(), 1);
    rig.prompts.answerOpenBox(Prompts::Answer::Retry);
    QCOMPARE(rig.prompts.openBoxes.size(), 1);
    rig.prompts.answerOpenBox(Prompts::Answer::Cancel);
    // One question per answer.
    QCOMPARE(rig.prompts.shown.size(), 4);
    QCOMPARE(rig.state().pointCount, qint64(3));
    QVERIFY(!rig.logic->recording().isOpen());
    QVERIFY(rig.view.box.contents.endsWith(u"0851\r\n0852\r\n0853\r\n"_s));
}

void tst_RecordingFile::unloadClosesTheFile() {
    const QString file = path(u"unload.txt"_s);
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.reading(7);
    rig.logic->unload();
    QVERIFY(!rig.port.isOpen);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(contents(file), QByteArray("00:00:00\t0007\n"));
}

QTEST_GUILESS_MAIN(tst_RecordingFile)
#include "tst_recordingfile.moc"
