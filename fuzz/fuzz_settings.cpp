// The settings reader: arbitrary text as the settings file, then the main
// window's load on it. Every value that takes effect must lie within its
// allowed range. (The graph settings dialog's OK, which writes the file, is
// fed by fuzz_numbers: writes take the file's lock and slow this target
// down tenfold.)

#include "FuzzSupport.h"

#include "platform/qt/QtSettingsStore.h"
#include "support/LogicRig.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace zorneta;
using namespace zorneta::fuzzing;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // A folder of its own for every input: QSettings keeps what it parsed of a
    // file by its path and would not notice a rewrite within the same moment.
    static int run = 0;
    const QString home = scratch().filePath(QString::number(++run));
    const QString app = QString::fromUtf16(AppTitle);
    FUZZ_CHECK(QDir().mkpath(home + u'/' + app), home);
    {
        QFile file(home + u'/' + app + u'/' + app + QStringLiteral(".conf"));
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), file.fileName());
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) ==
                       static_cast<qint64>(size),
                   file.fileName());
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);

    {
        testing::LogicRig rig(testing::LogicRig::DoublesOnly);
        QtSettingsStore store;
        TerminalLogic logic(Services{rig.port, rig.chart, rig.prompts, store, rig.clock, rig.beeper, rig.install,
                                     rig.launcher, rig.view});
        logic.load();
        const SessionState &s = logic.state();
        PersistedSettings &settings = logic.settings();

        FUZZ_CHECK(s.indicatorBackColor >= 0 && s.indicatorBackColor <= 0xFFFFFF,
                   QString::number(s.indicatorBackColor));
        FUZZ_CHECK(s.indicatorTextColor >= 0 && s.indicatorTextColor <= 0xFFFFFF,
                   QString::number(s.indicatorTextColor));
        GraphSettings &graph = logic.graphSettings();
        FUZZ_CHECK(graph.updatePeriodPosition >= 0 && graph.updatePeriodPosition < GraphSettings::speedEntries().size(),
                   QString::number(graph.updatePeriodPosition));
        FUZZ_CHECK(graph.readPeriodPosition >= 0 && graph.readPeriodPosition < GraphSettings::passOverEntries().size(),
                   QString::number(graph.readPeriodPosition));
        FUZZ_CHECK(graph.curveColourPosition >= 0 && graph.curveColourPosition < GraphSettings::colorEntries().size(),
                   QString::number(graph.curveColourPosition));
        FUZZ_CHECK(graph.curveWidthPosition >= 0 && graph.curveWidthPosition < GraphSettings::thinEntries().size(),
                   QString::number(graph.curveWidthPosition));
        FUZZ_CHECK(graph.xDivisionsPosition >= 0 && graph.xDivisionsPosition < GraphSettings::vGridEntries().size(),
                   QString::number(graph.xDivisionsPosition));

        // The port takes a stored number or flow control only as written.
        const QString commPort = settings.text(Keys::CommPort);
        FUZZ_CHECK(rig.port.portNumber == 1 || textToInteger(commPort) == rig.port.portNumber,
                   commPort + QStringLiteral(" became port ") + QString::number(rig.port.portNumber));
        FUZZ_CHECK(rig.port.portNumber >= 1 && rig.port.portNumber <= 16, QString::number(rig.port.portNumber));
        const QString handshaking = settings.text(Keys::Handshaking);
        FUZZ_CHECK(rig.port.flowControl == 0 || textToInteger(handshaking) == rig.port.flowControl,
                   handshaking + QStringLiteral(" became flow control ") + QString::number(rig.port.flowControl));
        FUZZ_CHECK(rig.port.flowControl >= 0 && rig.port.flowControl <= 3, QString::number(rig.port.flowControl));
        const QString line = settings.text(Keys::Settings);
        FUZZ_CHECK(line.isEmpty() || rig.port.lineSettings == line, rig.port.lineSettings);
    }
    QDir(home).removeRecursively();
    return 0;
}
