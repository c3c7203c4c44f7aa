// `cmake --install` into a temporary prefix: the program, the simulator, the
// help, the price list, the desktop entry and the icon, the service template
// and its examples land in their places, and the installed program finds its
// help and price list.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QString output; // standard output only
    QString errors;
};

Run runProgram(const QString &program, const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"ZORNETA_INSTALL_DIR"_s);
    // No display: the program answers the question without one.
    for (const QString &name : {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString BinDir = QStringLiteral(ZORNETA_INSTALL_BINDIR);
const QString DataDir = QStringLiteral(ZORNETA_INSTALL_DATADIR);

} // namespace

class tst_Installation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void filesInPlace_data();
    void filesInPlace();
    void desktopEntryStartsTheProgram();
    void installedProgramFindsItsHelp();
    void programWithoutItsDataFindsNoInstallation();
    void programInTheBuildTreeUsesTheSourceData();

private:
    QTemporaryDir m_prefix;
};

void tst_Installation::initTestCase() {
    QVERIFY(m_prefix.isValid());
    const Run install = runProgram(QStringLiteral(ZORNETA_CMAKE),
                                   {u"--install"_s, QStringLiteral(ZORNETA_BUILD_DIR), u"--prefix"_s, m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output + install.errors));
}

void tst_Installation::filesInPlace_data() {
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("source"); // the file it is a copy of; empty for programs
    const QString data = QStringLiteral(ZORNETA_SOURCE_DIR "/data/");
    QTest::newRow("program") << BinDir + u"/zorneta"_s << QString();
    QTest::newRow("simulator") << BinDir + u"/zorneta-sim"_s << QString();
    QTest::newRow("help") << DataDir + u"/zorneta/Zorneta.hlp"_s << data + u"Zorneta.hlp"_s;
    QTest::newRow("price list") << DataDir + u"/zorneta/Price.htm"_s << data + u"Price.htm"_s;
    QTest::newRow("desktop entry") << DataDir + u"/applications/zorneta.desktop"_s << data + u"zorneta.desktop"_s;
    QTest::newRow("icon") << DataDir + u"/icons/hicolor/scalable/apps/zorneta.svg"_s << data + u"zorneta.svg"_s;
    QTest::newRow("service template") << u"lib/systemd/system/zorneta-recorder@.service"_s
                                      << data + u"systemd/zorneta-recorder@.service"_s;
    QTest::newRow("service options example")
        << DataDir + u"/doc/zorneta/examples/furnace1.conf"_s << data + u"systemd/furnace1.conf"_s;
    QTest::newRow("logrotate example") << DataDir + u"/doc/zorneta/examples/logrotate/zorneta"_s
                                       << data + u"logrotate/zorneta"_s;
    QTest::newRow("copyright") << DataDir + u"/doc/zorneta/copyright"_s << data + u"debian/copyright"_s;
}

void tst_Installation::filesInPlace() {
    QFETCH(QString, installed);
    QFETCH(QString, source);
    const QFileInfo file(m_prefix.filePath(installed));
    QVERIFY2(file.isFile(), qPrintable(file.filePath()));
    if (source.isEmpty()) {
        QVERIFY(file.isExecutable());
    } else {
        QVERIFY(file.size() > 0);
        QCOMPARE(contents(file.filePath()), contents(source));
    }
}

void tst_Installation::desktopEntryStartsTheProgram() {
    const QString entry = QString::fromUtf8(contents(m_prefix.filePath(DataDir + u"/applications/zorneta.desktop"_s)));
    const QStringList lines = entry.split(u'\n');
    QCOMPARE(lines.value(0), u"[Desktop Entry]"_s);
    for (const QString &line :
         {u"Type=Application"_s, u"Name=Зорнета"_s, u"Exec=zorneta"_s, u"Icon=zorneta"_s, u"Terminal=false"_s})
        QVERIFY2(lines.contains(line), qPrintable(line));
    // The command and the icon the entry names are installed.
    QVERIFY(QFileInfo(m_prefix.filePath(BinDir + u"/zorneta"_s)).isExecutable());
    QVERIFY(QFileInfo::exists(m_prefix.filePath(DataDir + u"/icons/hicolor/scalable/apps/zorneta.svg"_s)));
    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (!validator.isEmpty()) {
        const Run check = runProgram(validator, {m_prefix.filePath(DataDir + u"/applications/zorneta.desktop"_s)});
        QVERIFY2(check.exitCode == 0 && (check.output + check.errors).trimmed().isEmpty(),
                 qPrintable(check.output + check.errors));
    }
}

void tst_Installation::installedProgramFindsItsHelp() {
    const Run run = runProgram(m_prefix.filePath(BinDir + u"/zorneta"_s), {u"--install-info"_s});
    const QString data = QDir(m_prefix.path()).canonicalPath() + u'/' + DataDir + u"/zorneta/"_s;
    QCOMPARE(run.output, u"installation: %1\nhelp: %1Zorneta.hlp\nprice list: %1Price.htm\n"_s.arg(data));
    QCOMPARE(run.exitCode, 0);
}

void tst_Installation::programWithoutItsDataFindsNoInstallation() {
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(u"zorneta"_s);
    QVERIFY(QFile::copy(m_prefix.filePath(BinDir + u"/zorneta"_s), copy));
    const Run run = runProgram(copy, {u"--install-info"_s});
    QCOMPARE(run.output, u"installation: not found\nhelp: not found\nprice list: not found\n"_s);
    QCOMPARE(run.exitCode, 1);
}

void tst_Installation::programInTheBuildTreeUsesTheSourceData() {
    const Run run = runProgram(QStringLiteral(ZORNETA_BINARY), {u"--install-info"_s});
    QVERIFY2(run.output.contains(u"help: "_s + QStringLiteral(ZORNETA_SOURCE_DIR "/data/Zorneta.hlp\n")),
             qPrintable(run.output));
    QCOMPARE(run.exitCode, 0);
}

QTEST_GUILESS_MAIN(tst_Installation)
#include "tst_installation.moc"
