// The real program records from a simulated thermoregulator and is killed
// with SIGKILL: every line it received is in the recording file.

#include "simulator/ThermoSimulator.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_KillSafety : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordingSurvivesSigkill();
};

namespace {
QStringList readLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    QStringList lines = QString::fromLatin1(all).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

void tst_KillSafety::recordingSurvivesSigkill() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    sim::SimOptions options;
    options.periodMs = 20;
    options.speedup = 300;
    sim::ThermoSimulator simulator(options);
    QString error;
    QVERIFY2(simulator.start(&error), qPrintable(error));

    const QString record = dir.filePath(u"furnace.txt"_s);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, dir.path());
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(ZORNETA_BINARY),
                  {u"--com"_s, u"1="_s + simulator.devicePath(), u"--open-port"_s, u"--record"_s, record});
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));

    // Let it record a while; the simulator keeps sending from this event loop.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(record).size() >= 40, 30000);
    // The line goes quiet, the program takes what is on its way...
    simulator.stop();
    const qint64 sent = simulator.groupsSent();
    const QList<int> sentValues = simulator.valuesSent();
    QVERIFY(!sentValues.isEmpty());
    const QString lastSent = QStringLiteral("\t%1").arg(sentValues.last(), 4, 10, QLatin1Char('0'));
    QTRY_VERIFY_WITH_TIMEOUT(!readLines(record).isEmpty() && readLines(record).last().endsWith(lastSent), 10000);
    // ...and dies without any chance to close its file.
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);

    const QStringList lines = readLines(record);
    static const QRegularExpression shape(u"^\\d\\d:\\d\\d:\\d\\d\\t(\\d{4})$"_s);
    QList<int> recorded;
    for (const QString &line : lines) {
        const auto m = shape.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        recorded.append(m.captured(1).toInt());
    }
    // The recorded values are exactly the groups sent from the moment the
    // program's port was open to the end: none lost, none twice.
    const QList<int> values = simulator.valuesSent();
    QCOMPARE(values.size(), sent);
    QVERIFY(recorded.size() <= values.size());
    QCOMPARE(recorded, values.mid(values.size() - recorded.size()));
}

QTEST_GUILESS_MAIN(tst_KillSafety)
#include "tst_killsafety.moc"
