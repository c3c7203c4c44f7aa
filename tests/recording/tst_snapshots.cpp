// Taking snapshots through the snapshot dialog's logic and writing snapshot
// files: the dialog's state, all data and sections, the refusals, the exact
// bytes of the files, the replace question and write failures.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

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

QByteArray cp1251(const QString &text) {
    return QStringEncoder("windows-1251")(text);
}

// The open port with `count` readings, one a second from 14:05:00 on:
// reading k is 100 + k, labelled 00:00:0k.
void readings(LogicRig &rig, int count) {
    rig.open();
    for (int k = 1; k <= count; ++k) {
        rig.clock.advance(1000);
        rig.reading(100 + k);
    }
}

const QString SeriesTitle = u"08 декабря 14`05"_s;

// The lines of readings from..to as a snapshot file holds them.
QByteArray pointLines(int from, int to) {
    QByteArray lines;
    for (int k = from; k <= to; ++k)
        lines += "00:00:" + QByteArray::number(k).rightJustified(2, '0') + "\t" + QByteArray::number(100 + k) + "\r";
    return lines;
}
const QString Refused = u"Снимки только с реального графика!"_s;
const QString Bounds = u" Проверьте соответствие границ снимка границам реального графика !"_s;

} // namespace

class tst_Snapshots : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }
    void dialogLoadsItsChoice_data();
    void dialogLoadsItsChoice();
    void okHidesCancelUnloads();
    void allDataFile();
    void sectionFilePastTheLastReading();
    void refusals_data();
    void refusals();
    void failedSnapshotKeepsThePrevious();
    void replaceQuestion();
    void fileFailures();
    void abandonedSaveTakesBackItsLines();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void tst_Snapshots::dialogLoadsItsChoice_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("option");
    QTest::newRow("absent") << QString() << 0;
    QTest::newRow("True") << u"True"_s << 0;
    QTest::newRow("False") << u"False"_s << 1;
}

void tst_Snapshots::dialogLoadsItsChoice() {
    QFETCH(QString, stored);
    QFETCH(int, option);
    LogicRig rig;
    if (!stored.isNull())
        rig.settings.values[u"Зорнета/Properties/SnapShot"_s] = stored;
    QCOMPARE(rig.logic->runToolbarKey(toolbar::CopySnap), commandForMenuItem(menu::TakeSnapshot));
    SnapshotDialog &d = rig.logic->snapshotDialog();
    QCOMPARE(rig.view.snapshotDialogsShown, 1);
    QVERIFY(d.isLoaded() && d.isShown());
    QCOMPARE(d.option(), option);
    QCOMPARE(d.boundsEnabled(), option == 1);
    QCOMPARE(rig.state().snapshotAllData, option == 0);
    QCOMPARE(d.firstPoint(), u"1"_s);
    QCOMPARE(d.lastPoint(), u"50"_s);
    QVERIFY(!d.saveToFile());
    // The flag follows the option at once, before OK.
    d.chooseRange(1 - option);
    QCOMPARE(rig.state().snapshotAllData, option == 1);
    QCOMPARE(d.boundsEnabled(), option == 0);
}

void tst_Snapshots::okHidesCancelUnloads() {
    LogicRig rig;
    readings(rig, 10);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.chooseRange(1);
    d.setFirstPoint(u"2"_s);
    d.setLastPoint(u"7"_s);
    d.confirm();
    QVERIFY(d.isLoaded());
    QVERIFY(!d.isShown());
    QCOMPARE(rig.settings.values.value(u"Зорнета/Properties/SnapShot"_s), u"False"_s);
    // Shown again: the same values.
    rig.logic->runMenuItem(menu::TakeSnapshot);
    QVERIFY(d.isShown());
    QCOMPARE(d.firstPoint(), u"2"_s);
    QCOMPARE(d.lastPoint(), u"7"_s);
    QCOMPARE(d.option(), 1);
    // Cancel unloads; the next opening starts afresh, with the saved option.
    d.cancel();
    QVERIFY(!d.isLoaded() && !d.isShown());
    rig.logic->runMenuItem(menu::TakeSnapshot);
    QCOMPARE(d.firstPoint(), u"1"_s);
    QCOMPARE(d.lastPoint(), u"50"_s);
    QCOMPARE(d.option(), 1);
    QCOMPARE(rig.view.snapshotDialogsShown, 3);
    // Cancel leaves the snapshot in memory.
    QCOMPARE(rig.logic->snapshots().snapReadings().firstColumn(), 2);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_Snapshots::allDataFile() {
    LogicRig rig;
    readings(rig, 10);
    for (const QString &item : {menu::PasteSnapshot, menu::EraseSnapshot, toolbar::PasteSnap, toolbar::DeleteSnap})
        rig.view.setItemEnabled(item, false);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.setSaveToFile(true);
    rig.prompts.fileAnswers.push_back(choice(path(u"all.txt"_s)));
    d.confirm();

    QCOMPARE(rig.prompts.shown.size(), 1);
    const auto &dialog = rig.prompts.shown.front();
    QCOMPARE(dialog.kind, ScriptedPrompts::Kind::SaveFile);
    QCOMPARE(dialog.title, u"Сохранить файл снимка"_s);
    QCOMPARE(dialog.text, u"Файл снимка(*.TXT)|*.TXT|Все файлы (*.*)|*.*"_s);
    QCOMPARE(dialog.proposed, u"Снимок "_s + SeriesTitle);
    QCOMPARE(contents(path(u"all.txt"_s)), "00:00:01\t" + cp1251(SeriesTitle) + "\r" + pointLines(2, 10));
    for (const QString &item : {menu::PasteSnapshot, menu::EraseSnapshot, toolbar::PasteSnap, toolbar::DeleteSnap})
        QVERIFY2(rig.view.itemEnabled(item), qPrintable(item));
    QCOMPARE(rig.settings.values.value(u"Зорнета/Properties/SnapShot"_s), u"True"_s);
    QVERIFY(!d.isShown());
}

void tst_Snapshots::sectionFilePastTheLastReading() {
    LogicRig rig;
    readings(rig, 12); // 50 columns allocated, 12 readings
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.chooseRange(1);
    d.setFirstPoint(u"8"_s);
    d.setLastPoint(u" 14.4 points"_s);
    d.setSaveToFile(true);
    rig.prompts.fileAnswers.push_back(choice(path(u"section.txt"_s)));
    d.confirm();

    const QString title =
        u"Снимок графика "_s + SeriesTitle + u" в границах от точки № 8 до точки №  14.4 points включительно"_s;
    const QByteArray golden =
        "00:00:08\t" + cp1251(title) + "\r00:00:09\t109\r00:00:10\t110\r00:00:11\t111\r00:00:12\t112\r\t\r\t\r";
    QCOMPARE(contents(path(u"section.txt"_s)), golden);
    const ReadingsTable &snap = rig.logic->snapshots().snapReadings();
    QCOMPARE(snap.firstColumn(), 8);
    QCOMPARE(snap.lastColumn(), 14);
    // The live table is untouched.
    QCOMPARE(rig.state().readings.cell(2, 8).toNumber(), 108.0);
}

void tst_Snapshots::refusals_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("allData");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text2After");
    QTest::newRow("To is the last column") << 10 << false << u"1"_s << u"50"_s << Bounds << u"50"_s;
    QTest::newRow("To past the last column") << 10 << false << u"1"_s << u"99999999999999999999"_s << Bounds << u"50"_s;
    QTest::newRow("From 0") << 10 << false << u"0"_s << u"5"_s << Refused << u"5"_s;
    QTest::newRow("From not a number") << 10 << false << u"x1"_s << u"5"_s << Refused << u"5"_s;
    QTest::newRow("From above To") << 10 << false << u"6"_s << u"5"_s << Refused << u"5"_s;
    QTest::newRow("all data, no readings") << 0 << true << u"1"_s << u"50"_s << Refused << u"50"_s;
}

void tst_Snapshots::refusals() {
    QFETCH(int, count);
    QFETCH(bool, allData);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(QString, text2After);
    LogicRig rig;
    readings(rig, count);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.chooseRange(allData ? 0 : 1);
    d.setFirstPoint(from);
    d.setLastPoint(to);
    d.setSaveToFile(true);
    d.confirm();

    QCOMPARE(rig.prompts.shown.size(), 1); // the message, no file dialog
    const auto &box = rig.prompts.shown.front();
    QCOMPARE(box.kind, ScriptedPrompts::Kind::MessageBox);
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, Prompts::Icon::None);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QCOMPARE(d.lastPoint(), text2After);
    QVERIFY(d.isShown());
    QVERIFY(!rig.view.itemEnabled(toolbar::PasteSnap));
    QCOMPARE(rig.logic->snapshots().snapReadings().columnCount(), 0);
    QVERIFY(!rig.settings.values.contains(u"Зорнета/Properties/SnapShot"_s));

    if (message == Bounds) {
        // The number put into Text2 is refused in turn; one below is taken.
        d.confirm();
        QCOMPARE(rig.prompts.shown.size(), 2);
        QCOMPARE(rig.prompts.shown.last().text, Bounds);
        d.setLastPoint(u"49"_s);
        d.setSaveToFile(false);
        d.confirm();
        QCOMPARE(rig.prompts.shown.size(), 2);
        QCOMPARE(rig.logic->snapshots().snapReadings().lastColumn(), 49);
    }
}

void tst_Snapshots::failedSnapshotKeepsThePrevious() {
    LogicRig rig;
    readings(rig, 10);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.confirm();
    const ReadingsTable before = rig.logic->snapshots().snapReadings();
    QCOMPARE(before.lastColumn(), 10);
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.chooseRange(1);
    d.setFirstPoint(u"9"_s);
    d.setLastPoint(u"3"_s);
    d.confirm();
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.front().text, Refused);
    QCOMPARE(rig.logic->snapshots().snapReadings(), before);
}

void tst_Snapshots::replaceQuestion() {
    LogicRig rig;
    readings(rig, 11);
    const QString file = path(u"snap.txt"_s);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    auto snapshotTo = [&](std::initializer_list<Prompts::Answer> answers) {
        rig.prompts.shown.clear();
        rig.prompts.fileAnswers.push_back(choice(file));
        for (Prompts::Answer a : answers) {
            rig.prompts.messageAnswers.push_back(a);
            if (a == Prompts::Answer::Cancel)
                rig.prompts.fileAnswers.push_back(choice(file));
        }
        rig.logic->runMenuItem(menu::TakeSnapshot);
        d.setSaveToFile(true);
        d.confirm();
    };
    const QByteArray first = "00:00:01\t" + cp1251(SeriesTitle) + "\r" + pointLines(2, 11);
    snapshotTo({});
    QCOMPARE(contents(file), first);
    QCOMPARE(rig.prompts.shown.size(), 1);

    // No appends the second snapshot after the first.
    rig.clock.advance(1000);
    rig.reading(112);
    snapshotTo({Prompts::Answer::No});
    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &question = rig.prompts.shown.at(1);
    QCOMPARE(question.text, u"Заменить существующий файл - "_s + file + u'?');
    QCOMPARE(question.icon, Prompts::Icon::Question);
    QCOMPARE(question.buttons, Prompts::Buttons::YesNoCancel);
    const QByteArray second = first + pointLines(12, 12);
    QCOMPARE(contents(file), first + second);

    // Cancel chooses again; Yes replaces.
    snapshotTo({Prompts::Answer::Cancel, Prompts::Answer::Yes});
    QCOMPARE(rig.prompts.shown.size(), 4);
    QCOMPARE(rig.prompts.shown.at(2).kind, ScriptedPrompts::Kind::SaveFile);
    QCOMPARE(contents(file), second);
    QCOMPARE(rig.prompts.unanswered, 0);

    // A cancelled file dialog: no file, no message, the snapshot kept.
    rig.prompts.shown.clear();
    rig.prompts.fileAnswers.push_back(std::nullopt);
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.confirm();
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(contents(file), second);
    QCOMPARE(rig.logic->snapshots().snapReadings().lastColumn(), 12);
}

void tst_Snapshots::fileFailures() {
    LogicRig rig;
    readings(rig, 3);
    SnapshotDialog &d = rig.logic->snapshotDialog();
    auto save = [&](const QString &file) {
        rig.prompts.shown.clear();
        rig.prompts.fileAnswers.push_back(choice(file));
        rig.logic->runMenuItem(menu::TakeSnapshot);
        d.setSaveToFile(true);
        d.confirm();
    };
    // A folder.
    save(m_dir.path());
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown.at(1).text, u"Выбрана папка, а не файл: "_s + m_dir.path());
    QCOMPARE(rig.prompts.shown.at(1).icon, Prompts::Icon::Exclamation);

    // A file that cannot be opened.
    save(path(u"missing/snap.txt"_s));
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown.at(1).icon, Prompts::Icon::Exclamation);
    QCOMPARE(rig.prompts.shown.at(1).text,
             u"Не удалось открыть файл "_s + path(u"missing/snap.txt"_s) + u": нет такого файла или папки"_s);
    QVERIFY(!QFile::exists(path(u"missing/snap.txt"_s)));

    // A full device: Retry writes the line again, Cancel ends the save.
    if (!QFile::exists(u"/dev/full"_s))
        QSKIP("no /dev/full");
    rig.prompts.unanswered = 0;
    rig.prompts.messageAnswers = {Prompts::Answer::No, Prompts::Answer::Retry, Prompts::Answer::Cancel};
    save(u"/dev/full"_s);
    QCOMPARE(rig.prompts.shown.size(), 4);
    for (int i : {2, 3}) {
        QCOMPARE(rig.prompts.shown.at(i).icon, Prompts::Icon::Critical);
        QCOMPARE(rig.prompts.shown.at(i).buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(rig.prompts.shown.at(i).text, u"Не удалось записать в файл /dev/full: на диске нет места"_s);
    }
    QCOMPARE(rig.prompts.unanswered, 0);
    // The snapshot in memory is not affected.
    QCOMPARE(rig.logic->snapshots().snapReadings().lastColumn(), 3);
}

void tst_Snapshots::abandonedSaveTakesBackItsLines() {
    LogicRig rig;
    readings(rig, 11);
    const QString file = path(u"limited.txt"_s);
    const QByteArray before = "an earlier snapshot\r";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(before), before.size());
    }
    // Files of this process may not grow past 60 bytes: the snapshot's
    // lines stop fitting part way through.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 60;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    rig.prompts.fileAnswers.push_back(choice(file));
    rig.prompts.messageAnswers = {Prompts::Answer::No, Prompts::Answer::Retry, Prompts::Answer::Cancel};
    SnapshotDialog &d = rig.logic->snapshotDialog();
    rig.logic->runMenuItem(menu::TakeSnapshot);
    d.setSaveToFile(true);
    d.confirm();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(rig.prompts.shown.size(), 4);
    QCOMPARE(rig.prompts.shown.at(2).buttons, Prompts::Buttons::RetryCancel);
    QCOMPARE(rig.prompts.shown.at(3).buttons, Prompts::Buttons::RetryCancel);
    QCOMPARE(rig.prompts.shown.at(3).text, u"Не удалось записать в файл "_s + file + u": файл слишком велик"_s);
    // Nothing of the abandoned snapshot is left in the file.
    QCOMPARE(contents(file), before);
}

QTEST_GUILESS_MAIN(tst_Snapshots)
#include "tst_snapshots.moc"
