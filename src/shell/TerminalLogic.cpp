#include "shell/TerminalLogic.h"

#include "common/Colour.h"
#include "common/ItemNames.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"
#include "review/LiveRecord.h"

#include <array>
#include <limits>
#include <optional>

namespace zorneta {

TerminalLogic::TerminalLogic(Services services)
    : m_services(services), m_core(services.port, services.clock), m_state(m_core.state()),
      m_settings(services.settings, &services.prompts), m_chart(m_services, m_state),
      m_recording(m_services, m_state, m_core.record()), m_output(m_services),
      m_portControl(m_services, m_core, m_chart),
      m_presenter(m_services, m_core, m_portControl, m_chart, m_output, m_recording),
      m_toggles(m_services, m_state, m_settings), m_graph(m_services, m_state, m_settings, m_chart),
      m_periods(m_services, m_state), m_properties(m_services, m_state, m_settings, m_portControl),
      m_transmit(m_services, m_state), m_viewRanges(m_services, m_state, m_chart),
      m_alarmTemperature(m_services, m_state), m_newSession(m_services, m_core, m_portControl, m_output, m_periods),
      m_help(m_services), m_snapshots(m_services, m_state),
      m_snapshotDialog(m_services, m_state, m_settings, m_snapshots), m_seriesData(m_services, m_state),
      m_gestures(m_services, m_seriesData), m_colours(m_services, m_state, m_settings),
      m_review(m_services.prompts, nullptr) {
    m_periods.listChosen = [this](PeriodList list, int position) { m_graph.followMenu(list, position); };
}

TerminalLogic::~TerminalLogic() = default;

std::optional<Command> TerminalLogic::runMenuItem(const QString &name) {
    const std::optional<Command> command = commandForMenuItem(name);
    if (command)
        run(*command);
    return command;
}

std::optional<Command> TerminalLogic::runToolbarKey(const QString &key) {
    const std::optional<Command> command = commandForToolbarKey(key);
    if (command)
        run(*command);
    return command;
}

void TerminalLogic::run(Command command) {
    MainView &view = m_services.view;
    switch (command) {
    case Command::TogglePort:
        m_portControl.togglePort();
        break;
    case Command::OpenPortSettings:
        openPortProperties();
        break;
    case Command::OpenRecording:
        m_recording.openRecording();
        break;
    case Command::CloseRecording:
        m_recording.closeRecording();
        break;
    case Command::Exit:
        exitProgram();
        break;
    case Command::RescaleValues:
        m_chart.autoScaleValues();
        break;
    case Command::ShowUpdatePeriodMenu:
        view.popupMenu(menu::UpdatePeriodMenu);
        break;
    case Command::ShowReadPeriodMenu:
        view.popupMenu(menu::ReadPeriodMenu);
        break;
    case Command::ShowXDivisionsMenu:
        view.popupMenu(menu::XDivisionsMenu);
        break;
    case Command::ShowColourMenu:
        view.popupMenu(menu::ColourMenu);
        break;
    case Command::ToggleIndicator:
        m_toggles.toggleIndicator();
        break;
    case Command::ToggleLegend:
        m_toggles.toggleLegend();
        break;
    case Command::ToggleLegendFromChart:
        m_toggles.toggleLegendFromChart();
        break;
    case Command::UpdateEvery1:
    case Command::UpdateEvery10:
    case Command::UpdateEvery50:
    case Command::UpdateEvery100:
    case Command::UpdateEvery500:
    case Command::UpdateEvery1000:
    case Command::ReadEvery1:
    case Command::ReadEvery5:
    case Command::ReadEvery20:
    case Command::ReadEvery100:
    case Command::ReadEvery250:
    case Command::ReadEvery500:
    case Command::ToggleAutoXDivisions:
    case Command::XDivisions1:
    case Command::XDivisions10:
    case Command::XDivisions50:
    case Command::XDivisions100:
    case Command::XDivisions500:
    case Command::XDivisions1000:
    case Command::XDivisions2500:
        m_periods.run(command);
        break;
    case Command::ChooseXAxisColour:
    case Command::ChooseYAxisColour:
    case Command::ChooseY2AxisColour:
    case Command::ChooseCurveColour:
    case Command::ChooseLegendColour:
    case Command::ChoosePlotColour:
    case Command::ChooseChartColour:
    case Command::ChooseIndicatorBackColour:
    case Command::ChooseIndicatorTextColour:
        m_colours.run(command);
        break;
    case Command::OpenGraphSettings:
        openGraphSettings();
        break;
    case Command::EnterAlarmTemperature:
        m_alarmTemperature.openAlarmTemperature();
        break;
    case Command::CutGraphStart:
        m_viewRanges.cutGraphStart();
        break;
    case Command::ShowWholeGraph:
        m_viewRanges.showGraphAll();
        break;
    case Command::ShowGraphEnd:
        m_viewRanges.showGraphEnd();
        break;
    case Command::CopyData:
        m_snapshots.copyData();
        break;
    case Command::InsertData:
        m_snapshots.insertData();
        break;
    case Command::TakeSnapshot:
        m_snapshotDialog.takeSnapshot();
        break;
    case Command::PasteSnapshot:
        m_snapshots.showSnapshotChart();
        break;
    case Command::EraseSnapshot:
        m_snapshots.clearSnapshots();
        break;
    case Command::StartNewSession:
        m_newSession.startNewSession();
        break;
    case Command::ShowHelp:
        m_help.showHelpContents();
        break;
    case Command::ShowPriceList:
        m_help.showPriceList();
        break;
    case Command::ShowAbout:
        m_help.showAboutBox();
        break;
    case Command::ShowWholeCurve:
        m_services.chart.resetZoom();
        break;
    case Command::ToggleClockTimeAxis:
        m_clockTimeAxis = !m_clockTimeAxis;
        view.setItemChecked(menu::ClockTimeAxis, m_clockTimeAxis);
        m_services.chart.setClockTimeAxis(m_clockTimeAxis);
        break;
    case Command::ReviewRecording:
        if (const std::optional<QString> path = m_review.chooseRecording(); path && onReviewRecording)
            onReviewRecording(*path);
        break;
    case Command::ExportSessionCsv:
        exportSessionCsv();
        break;
    case Command::ReportSession:
        reportSession();
        break;
    }
}

QString TerminalLogic::sessionName() const {
    return QStringLiteral("Com%1").arg(m_services.port.commPort());
}

std::optional<FiringRecord> TerminalLogic::sessionRecord(QList<QDateTime> *runStarts) {
    FiringRecord record = liveRecord(m_state.readings, runStarts);
    if (record.runs().empty()) {
        m_services.prompts.messageBox(ReviewActions::messageTitle(), QStringLiteral("В сеансе ещё нет показаний."),
                                      Prompts::Icon::Information, Prompts::Buttons::Ok);
        return std::nullopt;
    }
    return record;
}

void TerminalLogic::exportSessionCsv() {
    CsvOptions options;
    const std::optional<FiringRecord> record = sessionRecord(&options.runStarts);
    if (!record)
        return;
    options.start = m_state.startTime;
    options.startRun = 1;
    m_review.exportCsv(*record, options, sessionName() + QStringLiteral(".csv"));
}

void TerminalLogic::reportSession() {
    QList<QDateTime> runStarts;
    const std::optional<FiringRecord> record = sessionRecord(&runStarts);
    if (!record)
        return;
    ReportOptions options;
    options.run = 1;
    options.start = runStarts.value(0).isValid() ? runStarts.value(0) : m_state.startTime;
    if (m_state.temperature > 0)
        options.alarm = double(m_state.temperature);
    options.sourceName = sessionName();
    m_review.report(*record, options, sessionName() + QStringLiteral(".pdf"));
}

void TerminalLogic::openPortProperties() {
    m_properties.load();
    m_services.view.showPortProperties(m_properties);
}

void TerminalLogic::openGraphSettings() {
    m_graph.ensureLoaded();
    m_services.view.showGraphSettings(m_graph);
}

void TerminalLogic::chartMouseDown(int button) {
    m_gestures.mouseDown(button);
}

void TerminalLogic::chartAxisSelected(int axisId) {
    m_gestures.axisSelected(axisId);
}

void TerminalLogic::load() {
    MainView &view = m_services.view;
    SessionState &s = m_state;
    // Automatic X-axis spacing on, through its own command.
    s.autoTickDivision = false;
    m_periods.toggleAutoTickDivision();
    // Defaults.
    s.xTickDivisions = 1;
    s.xLabelDivisions = 1;
    s.pointCount = 0;
    s.curveRed = 10;
    s.curveGreen = 10;
    s.curveBlue = 200;
    s.curveWidth = 40;
    s.onlyEnd = false;
    s.readPeriod = 1;
    s.updatePeriod = 10;
    // Their menu items.
    view.setItemChecked(menu::UpdateEvery10, true);
    view.setItemChecked(menu::ReadEvery1, true);
    // No snapshot yet.
    view.setItemEnabled(menu::PasteSnapshot, false);
    view.setItemEnabled(toolbar::PasteSnap, false);
    view.setItemEnabled(toolbar::DeleteSnap, false);
    // Saved preferences.
    s.indicatorBackColor = m_settings.colour(Keys::GroundColor, 0);
    s.indicatorTextColor = m_settings.colour(Keys::PenColor, 65280);
    view.setIndicatorColors(s.indicatorBackColor, s.indicatorTextColor);
    s.indicatorShown = m_settings.boolean(Keys::Indicator, true);
    view.setClearButtonVisible(m_settings.boolean(Keys::Button, true));
    // The graph settings dialog, loaded hidden, preset from the store; its
    // choices take effect only when it is confirmed.
    m_graph.presetFromStore();
    s.xAxisHidden = m_settings.boolean(Keys::Opto, true);
    s.y2AxisHidden = m_settings.boolean(Keys::Y2, true);
    s.legendShown = m_settings.boolean(Keys::Legend, true);
    view.setItemChecked(menu::LegendOnOff, s.legendShown);
    view.setItemChecked(menu::ChartLegendOnOff, s.legendShown);
    // A fresh readings table.
    s.readings = freshReadings();
    // The chart's appearance.
    m_chart.setupChart(s.curveRed, s.curveGreen, s.curveBlue);
    // An empty indicator.
    TextBox &box = view.terminalBox();
    box.setSelStart(0);
    box.setSelLength(box.text().size());
    box.setSelText(QString());
    // Not connected.
    view.showConnected(false);
    // The indicator column as saved.
    m_toggles.applyIndicator();
    // The end-view timer runs from start-up.
    m_viewRanges.endViewTimer().start();
    // The saved port settings, then legend and axes again.
    applyPortSettings();
}

namespace {
std::optional<int> toInt(std::optional<qint64> n) {
    if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*n);
}
} // namespace

void TerminalLogic::applyPortSettings() {
    SerialPort &port = m_services.port;
    auto warn = [this](const Status &st) {
        m_services.prompts.messageBox(QString::fromUtf16(AppTitle), st.description(), Prompts::Icon::Exclamation,
                                      Prompts::Buttons::Ok);
    };
    const QString settings = m_settings.text(Keys::Settings);
    if (!settings.isEmpty()) {
        const Status st = port.setSettings(settings);
        if (!st) {
            warn(st);
            return;
        }
    }
    // A refused port number is reported together with the flow control, as
    // the check after it finds the earlier failure.
    Status pending = Status::ok();
    const QString commPort = m_settings.text(Keys::CommPort);
    if (!commPort.isEmpty()) {
        // A number beyond an int is refused as written, not cut down to one.
        const auto number = toInt(textToInteger(commPort));
        pending = number ? port.setCommPort(*number)
                         : Status::failure(QStringLiteral("Недопустимый номер порта: ") + commPort);
    }
    const QString handshaking = m_settings.text(Keys::Handshaking);
    if (!handshaking.isEmpty()) {
        const auto mode = toInt(textToInteger(handshaking));
        Status st = mode ? port.setHandshaking(*mode)
                         : Status::failure(QStringLiteral("Недопустимый режим управления потоком: ") + handshaking);
        if (!st || !pending) {
            warn(!st ? st : pending);
            return;
        }
    }
    ChartSurface &chart = m_services.chart;
    chart.setShowLegend(m_state.legendShown);
    (void)chart.setAxisScaleHidden(ChartSurface::Axis::X, m_state.xAxisHidden);
    (void)chart.setAxisScaleHidden(ChartSurface::Axis::Y2, m_state.y2AxisHidden);
}

void TerminalLogic::unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_core.closePort();
    if (m_recording.isOpen())
        m_recording.closeRecording();
}

void TerminalLogic::exitProgram() {
    unload();
    if (onExit)
        onExit();
}

} // namespace zorneta
