// The settings store on a real QSettings file under a temporary
// XDG_CONFIG_HOME, and the conversions of the stored texts.

#include "platform/qt/QtSettingsStore.h"
#include "session/PersistedSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_SettingsStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void writesTheFileNamedAfterTheApplication();
    void absentKeysGiveTheDefault();
    void valuesSurviveAnotherStore();
    void damagedFileFallsBackToDefaults();
    void unwritableFileIsReported();
    void textToBool_data();
    void textToBool();
    void textToInteger_data();
    void textToInteger();
    void listPositionsAndColoursOutOfRange();

private:
    QString configFile() const { return m_dir.path() + u"/Зорнета/Зорнета.conf"_s; }
    QTemporaryDir m_dir;
};

void tst_SettingsStore::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

void tst_SettingsStore::init() {
    QFile::remove(configFile());
}

void tst_SettingsStore::writesTheFileNamedAfterTheApplication() {
    QtSettingsStore store;
    QVERIFY(store.saveSetting(u"Зорнета"_s, u"Properties"_s, u"Legend"_s, u"False"_s).isOk());
    QVERIFY(store.saveSetting(u"Зорнета"_s, u"Properties"_s, u"SigTemp"_s, u"266"_s).isOk());
    QFile file(configFile());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(configFile()));
    const QString content = QString::fromUtf8(file.readAll());
    QVERIFY2(content.contains(u"[Properties]\n"_s), qPrintable(content));
    QVERIFY2(content.contains(u"Legend=False\n"_s), qPrintable(content));
    QVERIFY2(content.contains(u"SigTemp=266\n"_s), qPrintable(content));
}

void tst_SettingsStore::absentKeysGiveTheDefault() {
    QtSettingsStore store;
    QCOMPARE(store.getSetting(u"Зорнета"_s, u"Properties"_s, u"Speed"_s, u"1"_s), u"1"_s);
    QCOMPARE(store.getSetting(u"Зорнета"_s, u"Properties"_s, u"Settings"_s), QString());
    PersistedSettings settings(store);
    QCOMPARE(settings.boolean(Keys::Opto, true), true);
    QCOMPARE(settings.colour(Keys::PenColor, 65280), 65280);
    QCOMPARE(settings.listPosition(Keys::Color, 3, 9), 3);
    QVERIFY(!QFile::exists(configFile())); // reading writes nothing
}

void tst_SettingsStore::valuesSurviveAnotherStore() {
    {
        QtSettingsStore store;
        PersistedSettings settings(store);
        QVERIFY(settings.saveBool(Keys::Indicator, false).isOk());
        QVERIFY(settings.saveInteger(Keys::GroundColor, 16777215).isOk());
        QVERIFY(settings.save(Keys::Settings, u"19200,e,7,2"_s).isOk());
    }
    QtSettingsStore store;
    PersistedSettings settings(store);
    QCOMPARE(settings.boolean(Keys::Indicator, true), false);
    QCOMPARE(settings.colour(Keys::GroundColor, 0), 16777215);
    QCOMPARE(settings.text(Keys::Settings), u"19200,e,7,2"_s);
}

void tst_SettingsStore::damagedFileFallsBackToDefaults() {
    QDir().mkpath(QFileInfo(configFile()).absolutePath());
    QFile file(configFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Properties]\nLegend=maybe\nSpeed=seven\nColor=42\nGroundColor=-5\nPenColor=99999999\n"
               "Opto=0\nY2=TRUE\n\x01\x02garbage line without equals\n");
    file.close();
    QtSettingsStore store;
    PersistedSettings settings(store);
    QCOMPARE(settings.boolean(Keys::Legend, true), true);
    QCOMPARE(settings.listPosition(Keys::Speed, 1, 6), 1);
    QCOMPARE(settings.listPosition(Keys::Color, 3, 9), 3);
    QCOMPARE(settings.colour(Keys::GroundColor, 0), 0);
    QCOMPARE(settings.colour(Keys::PenColor, 65280), 65280);
    QCOMPARE(settings.boolean(Keys::Opto, true), false);
    QCOMPARE(settings.boolean(Keys::Y2, false), true);
}

void tst_SettingsStore::unwritableFileIsReported() {
    if (geteuid() == 0)
        QSKIP("root writes through file permissions");
    QDir().mkpath(QFileInfo(configFile()).absolutePath());
    QFile file(configFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    QtSettingsStore store;
    const Status st = store.saveSetting(u"Зорнета"_s, u"Properties"_s, u"Legend"_s, u"True"_s);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!st.isOk());
    QVERIFY(st.description().contains(u"Зорнета.conf"_s));
}

void tst_SettingsStore::textToBool_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: does not convert
    QTest::newRow("True") << u"True"_s << 1;
    QTest::newRow("true") << u"true"_s << 1;
    QTest::newRow("FALSE") << u"FALSE"_s << 0;
    QTest::newRow("fAlSe") << u"fAlSe"_s << 0;
    QTest::newRow("0") << u"0"_s << 0;
    QTest::newRow("-1") << u"-1"_s << 1;
    QTest::newRow("12") << u"12"_s << 1;
    QTest::newRow("blanks") << u" True "_s << 1;
    QTest::newRow("yes") << u"yes"_s << -1;
    QTest::newRow("empty") << QString() << -1;
}

void tst_SettingsStore::textToBool() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto b = zorneta::textToBool(text);
    if (expected < 0) {
        QVERIFY(!b.has_value());
    } else {
        QVERIFY(b.has_value());
        QCOMPARE(*b, expected == 1);
    }
}

void tst_SettingsStore::textToInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("converts");
    QTest::newRow("whole") << u" 12 "_s << qint64(12) << true;
    QTest::newRow("with decimal part") << u"3.0"_s << qint64(3) << true;
    QTest::newRow("exponent") << u"1e3"_s << qint64(1000) << true;
    QTest::newRow("fraction") << u"2.5"_s << qint64(0) << false;
    QTest::newRow("beyond 64 bits") << u"1e30"_s << qint64(0) << false;
    QTest::newRow("below 64 bits") << u"-1e19"_s << qint64(0) << false;
    QTest::newRow("infinity") << u"inf"_s << qint64(0) << false;
    QTest::newRow("nan") << u"nan"_s << qint64(0) << false;
}

void tst_SettingsStore::textToInteger() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QFETCH(bool, converts);
    const auto n = zorneta::textToInteger(text);
    QCOMPARE(n.has_value(), converts);
    if (converts)
        QCOMPARE(*n, expected);
}

void tst_SettingsStore::listPositionsAndColoursOutOfRange() {
    QtSettingsStore store;
    PersistedSettings settings(store);
    QVERIFY(settings.save(Keys::Thin, u"3"_s).isOk());
    QCOMPARE(settings.listPosition(Keys::Thin, 1, 4), 3);
    QVERIFY(settings.save(Keys::Thin, u"4"_s).isOk());
    QCOMPARE(settings.listPosition(Keys::Thin, 1, 4), 1);
    QVERIFY(settings.save(Keys::Thin, u"-1"_s).isOk());
    QCOMPARE(settings.listPosition(Keys::Thin, 1, 4), 1);
    QVERIFY(settings.save(Keys::VGrid, u"2.0"_s).isOk());
    QCOMPARE(settings.listPosition(Keys::VGrid, 1, 9), 2);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
