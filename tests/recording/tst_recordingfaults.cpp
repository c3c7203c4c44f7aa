// The recording file when the system refuses it while recording: a file made
// unchangeable, a file that reaches the size the system allows, a folder
// removed with the file in it. Real files, the real recording path.

#include "support/LogicRig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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

// Sets or clears a file attribute; false where chattr is missing or refused.
bool chattr(const QString &flag, const QString &path) {
    QProcess process;
    process.start(u"chattr"_s, {flag, path});
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

enum Fault { Unchangeable, SizeLimit, FolderRemoved };

// Puts a fault in place; undo() removes its cause (and is safe to repeat).
struct FaultScene {
    Fault fault;
    QString folder;
    QString file;
    rlimit savedLimit{};
    void (*savedHandler)(int) = SIG_DFL;
    bool active = false;

    bool apply(qint64 fileSize) {
        active = true;
        switch (fault) {
        case Unchangeable:
            return chattr(u"+i"_s, file);
        case SizeLimit: {
            getrlimit(RLIMIT_FSIZE, &savedLimit);
            savedHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit limited = savedLimit;
            limited.rlim_cur = static_cast<rlim_t>(fileSize);
            return setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
        case FolderRemoved:
            return QDir(folder).removeRecursively();
        }
        return false;
    }
    void undo() {
        if (!active)
            return;
        active = false;
        switch (fault) {
        case Unchangeable:
            chattr(u"-i"_s, file);
            break;
        case SizeLimit:
            setrlimit(RLIMIT_FSIZE, &savedLimit);
            std::signal(SIGXFSZ, savedHandler);
            break;
        case FolderRemoved:
            QDir().mkpath(folder);
            break;
        }
    }
    ~FaultScene() { undo(); }
};

} // namespace

class tst_RecordingFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void faultWhileRecording_data();
    void faultWhileRecording();
    void retryBeforeTheFolderIsBack();
    void replaceRefused();
    void folderGivenOnTheCommandLine();

private:
    QTemporaryDir m_dir;
    void openLog(LogicRig &rig, const QString &file) {
        rig.prompts.fileAnswers.push_back(Prompts::FileChoice{file, QFileInfo(file).fileName()});
        rig.logic->runMenuItem(u"mnuOpenLog"_s);
    }
};

void tst_RecordingFaults::init() {
    QVERIFY(m_dir.isValid());
}

void tst_RecordingFaults::faultWhileRecording_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("retry");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("room"); // bytes the size limit still lets in
    const QString unchangeable = u"операция не разрешена"_s;
    const QString tooBig = u"файл слишком велик"_s;
    const QString removed = u"файл или его папка удалены"_s;
    QTest::newRow("unchangeable, Retry") << int(Unchangeable) << true << unchangeable << 0;
    QTest::newRow("unchangeable, Cancel") << int(Unchangeable) << false << unchangeable << 0;
    QTest::newRow("size limit, Retry") << int(SizeLimit) << true << tooBig << 0;
    QTest::newRow("size limit, Cancel") << int(SizeLimit) << false << tooBig << 0;
    // Part of the line reaches the file; Retry writes only the rest.
    QTest::newRow("size limit within a line, Retry") << int(SizeLimit) << true << tooBig << 5;
    QTest::newRow("folder removed, Retry") << int(FolderRemoved) << true << removed << 0;
    QTest::newRow("folder removed, Cancel") << int(FolderRemoved) << false << removed << 0;
}

void tst_RecordingFaults::faultWhileRecording() {
    QFETCH(int, fault);
    QFETCH(bool, retry);
    QFETCH(QString, reason);
    QFETCH(int, room);
    const QString folder = m_dir.filePath(u"records"_s);
    const QString file = folder + u"/журнал.txt"_s;
    QVERIFY(QDir().mkpath(folder));
    QFile::remove(file);
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.reading(1);
    rig.reading(2);
    const QByteArray before = "00:00:00\t0001\n00:00:00\t0002\n";
    QCOMPARE(contents(file), before);

    FaultScene scene{static_cast<Fault>(fault), folder, file};
    if (!scene.apply(before.size() + room)) {
        scene.undo();
        if (fault != Unchangeable)
            QFAIL("the fault could not be set up");
        QSKIP("the file system here refuses chattr +i (ext2/3/4, xfs and btrfs allow it to root), so an "
              "unchangeable file cannot be made");
    }
    rig.prompts.messageAnswers.push_back(retry ? Prompts::Answer::Retry : Prompts::Answer::Cancel);
    rig.prompts.whileShown = [&](const ScriptedPrompts::Shown &shown) {
        // The user removes the cause before answering Retry.
        if (retry && shown.buttons == Prompts::Buttons::RetryCancel)
            scene.undo();
    };
    rig.reading(3);
    scene.undo();

    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &box = rig.prompts.shown.at(1);
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.text, u"Не удалось записать в файл "_s + file + u": "_s + reason);
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    rig.reading(4);
    if (retry) {
        QVERIFY(rig.logic->recording().isOpen());
        QCOMPARE(contents(file), before + "00:00:00\t0003\n00:00:00\t0004\n");
    } else {
        QVERIFY(!rig.logic->recording().isOpen());
        QCOMPARE(rig.view.caption(), u"   Зорнета"_s);
        QVERIFY(rig.view.itemEnabled(u"mnuOpenLog"_s));
        QVERIFY(!rig.view.itemEnabled(u"mnuCloseLog"_s));
        // What was written stays; a removed folder is not made again.
        QCOMPARE(contents(file), fault == FolderRemoved ? QByteArray("<unreadable>") : before);
    }
    QCOMPARE(rig.prompts.shown.size(), 2);
}

void tst_RecordingFaults::retryBeforeTheFolderIsBack() {
    const QString folder = m_dir.filePath(u"gone"_s);
    const QString file = folder + u"/log.txt"_s;
    QVERIFY(QDir().mkpath(folder));
    LogicRig rig;
    openLog(rig, file);
    rig.open();
    rig.reading(1);
    QVERIFY(QDir(folder).removeRecursively());
    rig.prompts.messageAnswers = {Prompts::Answer::Retry, Prompts::Answer::Retry};
    rig.prompts.whileShown = [&](const ScriptedPrompts::Shown &shown) {
        if (shown.text.startsWith(u"Не удалось открыть"_s))
            QDir().mkpath(folder);
    };
    rig.reading(2);
    QCOMPARE(rig.prompts.shown.size(), 3);
    QCOMPARE(rig.prompts.shown.at(1).text, u"Не удалось записать в файл "_s + file + u": файл или его папка удалены"_s);
    QCOMPARE(rig.prompts.shown.at(2).text, u"Не удалось открыть файл "_s + file + u": нет такого файла или папки"_s);
    QCOMPARE(rig.prompts.shown.at(2).icon, Prompts::Icon::Critical);
    QCOMPARE(rig.prompts.shown.at(2).buttons, Prompts::Buttons::RetryCancel);
    QVERIFY(rig.logic->recording().isOpen());
    QCOMPARE(contents(file), QByteArray("00:00:00\t0001\n00:00:00\t0002\n"));
}

void tst_RecordingFaults::replaceRefused() {
    const QString folder = m_dir.filePath(u"locked"_s);
    const QString file = folder + u"/old.txt"_s;
    QVERIFY(QDir().mkpath(folder));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("old line\n");
    }
    // Files in an unchangeable folder cannot be deleted, even by root.
    if (!chattr(u"+i"_s, folder))
        QSKIP("chattr +i is refused on this file system, so no folder can keep its files from root");
    LogicRig rig;
    rig.prompts.messageAnswers.push_back(Prompts::Answer::Yes);
    openLog(rig, file);
    chattr(u"-i"_s, folder);
    QCOMPARE(rig.prompts.shown.size(), 3);
    const auto &box = rig.prompts.shown.at(2);
    QCOMPARE(box.text, u"Не удалось удалить файл "_s + file + u": операция не разрешена"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QVERIFY(!rig.logic->recording().isOpen());
    QCOMPARE(contents(file), QByteArray("old line\n"));
}

void tst_RecordingFaults::folderGivenOnTheCommandLine() {
    // The recording file named at start-up skips the open dialog's checks.
    LogicRig rig;
    QVERIFY(!rig.logic->recording().openAt(m_dir.path(), QFileInfo(m_dir.path()).fileName()));
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.at(0).text, u"Не удалось открыть файл "_s + m_dir.path() + u": это папка, а не файл"_s);
    QCOMPARE(rig.prompts.shown.at(0).icon, Prompts::Icon::Exclamation);
    QVERIFY(!rig.logic->recording().isOpen());
}

QTEST_GUILESS_MAIN(tst_RecordingFaults)
#include "tst_recordingfaults.moc"
