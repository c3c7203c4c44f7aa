// The program's start and its preference commands on a settings file that is
// damaged or refused: a real QSettings file under a temporary XDG_CONFIG_HOME,
// the real start-up and the real indicator toggle (which saves two keys).

#include "platform/qt/QtSettingsStore.h"
#include "support/LogicRig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

enum Scene { FileContent, FolderInPlace, FileInPlaceOfFolder, UnchangeableFile, UnchangeableFolder, PipeInPlace };

// Sets or clears a file attribute; false where chattr is missing or refused.
bool chattr(const QString &flag, const QString &path) {
    QProcess process;
    process.start(u"chattr"_s, {flag, path});
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray contents(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

} // namespace

class tst_SettingsFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void startAndSave_data();
    void startAndSave();
    void failureShownOnceUntilASaveSucceeds();

private:
    QString folder() const { return m_dir.path() + u"/Зорнета"_s; }
    QString configFile() const { return folder() + u"/Зорнета.conf"_s; }
    QTemporaryDir m_dir;
};

void tst_SettingsFaults::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    QCOMPARE(QtSettingsStore::settingsFilePath(u"Зорнета"_s), configFile());
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"Зорнета"_s, u"Зорнета"_s);
    QCOMPARE(settings.fileName(), configFile());
}

void tst_SettingsFaults::init() {
    QVERIFY(QDir().mkpath(folder()));
}

void tst_SettingsFaults::cleanup() {
    chattr(u"-i"_s, folder());
    chattr(u"-i"_s, configFile());
    QDir(folder()).removeRecursively();
    QFile::remove(folder());
}

void tst_SettingsFaults::startAndSave_data() {
    QTest::addColumn<int>("scene");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("legend");     // as read at start-up
    QTest::addColumn<int>("backColor");   // as read at start-up
    QTest::addColumn<QString>("message"); // shown by the toggle; %1 is the file
    const QByteArray valid = "[Properties]\nLegend=False\nGroundColor=255\n";
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 37 + 11) % 256);
    QByteArray huge = valid;
    huge += QByteArray(30 * 1024 * 1024, 'x');
    const QString refused = u"Не удалось сохранить настройки в файл %1: "_s;

    QTest::newRow("folder in place of the file")
        << int(FolderInPlace) << QByteArray() << true << 0 << refused + u"это папка, а не файл"_s;
    // A pipe with no writer would stall the start for ever if it were read.
    QTest::newRow("pipe in place of the file")
        << int(PipeInPlace) << QByteArray() << true << 0 << refused + u"это не обычный файл"_s;
    QTest::newRow("file in place of the folder")
        << int(FileInPlaceOfFolder) << QByteArray() << true << 0 << refused + u"часть пути не является папкой"_s;
    QTest::newRow("unchangeable file") << int(UnchangeableFile) << valid << false << 255
                                       << refused + u"операция не разрешена"_s;
    QTest::newRow("unchangeable folder") << int(UnchangeableFolder) << valid << false << 255
                                         << refused + u"операция не разрешена"_s;
    QTest::newRow("truncated in a key") << int(FileContent) << QByteArray("[Properties]\nLegend=False\nGroundCo")
                                        << false << 0 << QString();
    QTest::newRow("truncated in the section") << int(FileContent) << QByteArray("[Prope") << true << 0 << QString();
    QTest::newRow("garbage") << int(FileContent) << garbage << true << 0 << QString();
    QTest::newRow("garbage after valid lines") << int(FileContent) << valid + garbage << false << 255 << QString();
    QTest::newRow("huge") << int(FileContent) << huge << true << 0
                          << u"Файл настроек %1 был повреждён (слишком велик) и сохранён как %1.damaged; "
                             u"настройки записаны в новый файл"_s;
}

void tst_SettingsFaults::startAndSave() {
    QFETCH(int, scene);
    QFETCH(QByteArray, content);
    QFETCH(bool, legend);
    QFETCH(int, backColor);
    QFETCH(QString, message);
    if (scene == FolderInPlace) {
        QVERIFY(QDir().mkpath(configFile()));
    } else if (scene == PipeInPlace) {
        QFile::remove(configFile());
        QCOMPARE(::mkfifo(QFile::encodeName(configFile()).constData(), 0600), 0);
    } else if (scene == FileInPlaceOfFolder) {
        QVERIFY(QDir(folder()).removeRecursively());
        QFile f(folder());
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else {
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }
    if (scene == UnchangeableFile || scene == UnchangeableFolder) {
        if (!chattr(u"+i"_s, scene == UnchangeableFile ? configFile() : folder()))
            QSKIP("chattr +i is refused here (needs ext2/3/4, xfs or btrfs and CAP_LINUX_IMMUTABLE); file "
                  "permissions do not stop root, so there is no other unwritable file to try");
    }

    LogicRig doubles(LogicRig::DoublesOnly);
    QtSettingsStore store;
    TerminalLogic logic(Services{doubles.port, doubles.chart, doubles.prompts, store, doubles.clock, doubles.beeper,
                                 doubles.install, doubles.launcher, doubles.view});
    logic.load();
    QCOMPARE(doubles.prompts.shown.size(), 0); // reading reports nothing
    QCOMPARE(logic.state().legendShown, legend);
    QCOMPARE(logic.state().indicatorBackColor, backColor);
    QCOMPARE(logic.state().indicatorTextColor, 65280);
    // QSettings keeps a refused value in memory for this process (and writes
    // it with the next write that succeeds), so an earlier row may have left
    // the indicator off.
    const bool shown = !logic.state().indicatorShown;

    logic.runMenuItem(u"mnuViewIndicator"_s); // saves "Button" and "Indicator"
    QCOMPARE(logic.state().indicatorShown, shown);
    if (message.isEmpty()) {
        QCOMPARE(doubles.prompts.shown.size(), 0);
    } else {
        // One message for the two keys.
        QCOMPARE(doubles.prompts.shown.size(), 1);
        const auto &box = doubles.prompts.shown.front();
        QCOMPARE(box.title, u"Зорнета"_s);
        QCOMPARE(box.text, message.arg(configFile()));
        QCOMPARE(box.icon, Prompts::Icon::Exclamation);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    }
    if (scene == UnchangeableFile || scene == UnchangeableFolder) {
        QCOMPARE(contents(configFile()), content); // left as it was
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Зорнета.conf"_s});
    } else if (scene == FileContent) {
        // What was saved is what the next run reads.
        QtSettingsStore next;
        QCOMPARE(next.getSetting(u"Зорнета"_s, u"Properties"_s, u"Indicator"_s), boolToText(shown));
        QCOMPARE(next.getSetting(u"Зорнета"_s, u"Properties"_s, u"Button"_s), boolToText(shown));
    }
    if (content.size() > 1024 * 1024)
        QCOMPARE(contents(configFile() + u".damaged"_s), content);
}

void tst_SettingsFaults::failureShownOnceUntilASaveSucceeds() {
    QVERIFY(QDir().mkpath(configFile())); // a folder where the file belongs
    LogicRig doubles(LogicRig::DoublesOnly);
    QtSettingsStore store;
    TerminalLogic logic(Services{doubles.port, doubles.chart, doubles.prompts, store, doubles.clock, doubles.beeper,
                                 doubles.install, doubles.launcher, doubles.view});
    logic.load();
    logic.runMenuItem(u"mnuViewIndicator"_s);
    logic.runMenuItem(u"mnuViewIndicator"_s);
    QCOMPARE(doubles.prompts.shown.size(), 1);
    // The folder goes: the next save succeeds, and a later refusal is told again.
    QVERIFY(QDir(configFile()).removeRecursively());
    logic.runMenuItem(u"mnuViewIndicator"_s);
    QCOMPARE(doubles.prompts.shown.size(), 1);
    const QByteArray shown = boolToText(logic.state().indicatorShown).toUtf8();
    QCOMPARE(contents(configFile()), "[Properties]\nButton=" + shown + "\nIndicator=" + shown + '\n');
    QVERIFY(QFile::remove(configFile()));
    QVERIFY(QDir().mkpath(configFile()));
    logic.runMenuItem(u"mnuViewIndicator"_s);
    QCOMPARE(doubles.prompts.shown.size(), 2);
    QCOMPARE(doubles.prompts.shown.at(1).text,
             u"Не удалось сохранить настройки в файл "_s + configFile() + u": это папка, а не файл"_s);
}

QTEST_GUILESS_MAIN(tst_SettingsFaults)
#include "tst_settingsfaults.moc"
