// `zorneta --export-csv` and `zorneta --report` run as the user runs them,
// with no display at all: the files they write, and status 0 when done, 1
// for a recording that cannot be used, 2 for bad arguments.

#include "RecordSamples.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_ReviewProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void statuses_data();
    void statuses();

private:
    QTemporaryDir m_dir;
};

void tst_ReviewProgram::initTestCase() {
    QVERIFY(samples::write(m_dir.filePath(u"firing.txt"_s), samples::twoRuns()));
    QVERIFY(samples::write(m_dir.filePath(u"empty.txt"_s), QByteArray()));
}

void tst_ReviewProgram::statuses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");     // what standard error says (%1: the folder)
    QTest::addColumn<QString>("output");    // the file that must appear, or empty
    QTest::addColumn<QByteArray>("starts"); // its first bytes

    const QByteArray bom = "\xEF\xBB\xBF";
    QTest::newRow("csv") << QStringList{u"--export-csv"_s, u"firing.txt"_s, u"out.csv"_s} << 0 << QString()
                         << u"out.csv"_s << bom + u"Время,\"Прошло, с\""_s.toUtf8();
    QTest::newRow("csv with start and separator")
        << QStringList{u"--export-csv"_s, u"firing.txt"_s, u"semi.csv"_s,    u"--start"_s, u"2026-12-08T10:00:00"_s,
                       u"--run"_s,        u"2"_s,          u"--separator"_s, u";"_s}
        << 0 << QString() << u"semi.csv"_s << bom + u"Время;Прошло, с;"_s.toUtf8();
    QTest::newRow("pdf report") << QStringList{u"--report"_s, u"firing.txt"_s, u"out.pdf"_s, u"--alarm"_s, u"855"_s}
                                << 0 << QString() << u"out.pdf"_s << "%PDF"_ba;
    QTest::newRow("png report") << QStringList{u"--report"_s, u"firing.txt"_s, u"out.png"_s, u"--run"_s, u"2"_s} << 0
                                << QString() << u"out.png"_s << "\x89PNG"_ba;
    QTest::newRow("empty recording") << QStringList{u"--export-csv"_s, u"empty.txt"_s, u"e.csv"_s} << 1
                                     << u"zorneta: Файл пуст: empty.txt"_s << QString() << QByteArray();
    QTest::newRow("no such run") << QStringList{u"--report"_s, u"firing.txt"_s, u"r.png"_s, u"--run"_s, u"5"_s} << 1
                                 << u"zorneta: В записи нет сеанса 5: сеансов в ней 2"_s << QString() << QByteArray();
    QTest::newRow("unwritable output") << QStringList{u"--export-csv"_s, u"firing.txt"_s, u"no/such/dir/o.csv"_s} << 1
                                       << u"zorneta: Не удалось открыть файл no/such/dir/o.csv"_s << QString()
                                       << QByteArray();
    QTest::newRow("one file only") << QStringList{u"--export-csv"_s, u"firing.txt"_s} << 2
                                   << u"zorneta: --export-csv: укажите файл записи и файл таблицы"_s << QString()
                                   << QByteArray();
    QTest::newRow("bad separator") << QStringList{u"--export-csv"_s, u"firing.txt"_s, u"o.csv"_s, u"--separator"_s,
                                                  u"|"_s}
                                   << 2 << u"zorneta: --separator: нужен знак ',' или ';'"_s << QString()
                                   << QByteArray();
    QTest::newRow("bad start") << QStringList{u"--export-csv"_s, u"firing.txt"_s, u"o.csv"_s, u"--start"_s, u"вчера"_s}
                               << 2 << u"zorneta: --start: нужны дата и время, например 2026-12-08T10:00:00"_s
                               << QString() << QByteArray();
    QTest::newRow("bad run") << QStringList{u"--report"_s, u"firing.txt"_s, u"o.pdf"_s, u"--run"_s, u"0"_s} << 2
                             << u"zorneta: --run: нужен номер сеанса, 1 или больше"_s << QString() << QByteArray();
    QTest::newRow("report as text") << QStringList{u"--report"_s, u"firing.txt"_s, u"o.txt"_s} << 2
                                    << u"zorneta: --report: файл отчёта должен оканчиваться на .pdf или .png"_s
                                    << QString() << QByteArray();
    QTest::newRow("both modes") << QStringList{u"--report"_s, u"--export-csv"_s, u"firing.txt"_s, u"o.pdf"_s} << 2
                                << u"zorneta: --export-csv и --report нельзя задать вместе"_s << QString()
                                << QByteArray();
    QTest::newRow("alarm without report")
        << QStringList{u"--alarm"_s, u"900"_s} << 2
        << u"zorneta: --start, --run, --separator и --alarm задаются с --export-csv или --report"_s << QString()
        << QByteArray();
}

void tst_ReviewProgram::statuses() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QProcess program;
    // No display, and a platform plugin that would abort a program that
    // reached for one: the report must choose the offscreen one itself.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, m_dir.path());
    env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(m_dir.path());
    program.start(QStringLiteral(ZORNETA_BINARY), arguments);
    QVERIFY(program.waitForFinished(120000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString said = QString::fromUtf8(program.readAllStandardError()).trimmed();
    QTEST(program.exitCode(), "status");
    QFETCH(QString, error);
    if (error.isEmpty())
        QCOMPARE(said, QString());
    else
        QVERIFY2(said.startsWith(error) && !said.contains(u'\n'), qPrintable(said));
    if (!output.isEmpty()) {
        QFETCH(QByteArray, starts);
        QFile file(m_dir.filePath(output));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(starts.size()), starts);
    }
}

QTEST_GUILESS_MAIN(tst_ReviewProgram)
#include "tst_reviewprogram.moc"
