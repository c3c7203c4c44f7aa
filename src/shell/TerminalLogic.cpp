#include "shell/TerminalLogic.h"

#include "common/Colour.h"
#include "common/ItemNames.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"

#include <array>

namespace zorneta {

namespace {

// Toolbar keys in the order they are matched, with the menu command each runs.
struct KeyCommand {
    const QString &key;
    const QString &command;
};
const std::array<KeyCommand, 18> ToolbarDispatch{{
    {toolbar::OpenLogFile, menu::mnuOpenLog},
    {toolbar::CloseLogFile, menu::mnuCloseLog},
    {toolbar::DialPhoneNumber, menu::mnuSigTemp},
    {toolbar::HangUpPhone, menu::mnuAppl},
    {toolbar::Properties, menu::mnuProperties},
    {toolbar::CopySnap, menu::mnuGetInMind},
    {toolbar::PortOpen, menu::mnuOpen},
    {toolbar::Help, menu::mnuContent},
    {toolbar::PasteSnap, menu::mnuFromMemory},
    {toolbar::ClosePort, menu::mnuOpen},
    {toolbar::Copy, menu::mnuCopyData},
    {toolbar::Paste, menu::mnuInsertData},
    {toolbar::DeleteSnap, menu::mnuClearMemory},
    {toolbar::GraphStart, menu::mnuCutStart},
    {toolbar::GraphEnd, menu::mnuGraphEnd},
    {toolbar::GraphAll, menu::mnuGraphAll},
    {toolbar::NewSession, menu::mnuNewSession},
    {toolbar::Legend, menu::mnuLegendShow},
}};

} // namespace

TerminalLogic::TerminalLogic(Services services)
    : m_services(services), m_settings(services.settings, &services.prompts), m_chart(m_services, m_state),
      m_recording(m_services, m_state), m_output(m_services, m_state, m_recording),
      m_portControl(m_services, m_state, m_chart), m_pipeline(m_services, m_state, m_portControl, m_chart, m_output),
      m_toggles(m_services, m_state, m_settings), m_graph(m_services, m_state, m_settings, m_chart),
      m_periods(m_services, m_state), m_properties(m_services, m_state, m_settings, m_portControl),
      m_transmit(m_services, m_state), m_viewRanges(m_services, m_state, m_chart),
      m_alarmTemperature(m_services, m_state), m_newSession(m_services, m_state, m_portControl, m_output, m_periods),
      m_help(m_services), m_snapshots(m_services, m_state),
      m_snapshotDialog(m_services, m_state, m_settings, m_snapshots), m_seriesData(m_services, m_state),
      m_gestures(m_services, m_seriesData), m_colours(m_services, m_state, m_settings) {
    m_periods.listChosen = [this](PeriodList list, int position) { m_graph.followMenu(list, position); };
    connect(&m_services.port, &SerialPort::commEventRaised, this, [this] { m_pipeline.onCommEvent(); });
}

TerminalLogic::~TerminalLogic() = default;

QString TerminalLogic::commandForToolbarKey(const QString &key) {
    for (const KeyCommand &kc : ToolbarDispatch) {
        if (key == kc.key)
            return kc.command;
    }
    return QString();
}

QString TerminalLogic::runToolbarKey(const QString &key) {
    const QString command = commandForToolbarKey(key);
    if (!command.isEmpty())
        runMenuCommand(command);
    return command;
}

void TerminalLogic::runMenuCommand(const QString &name) {
    if (name == menu::mnuOpen)
        m_portControl.togglePort();
    else if (name == menu::mnuOpenLog)
        m_recording.openRecording();
    else if (name == menu::mnuCloseLog)
        m_recording.closeRecording();
    else if (name == menu::mnuFileExit)
        exitProgram();
    else if (name == menu::mnuRefresh)
        m_chart.autoScaleValues();
    else if (m_periods.run(name))
        return;
    else if (m_colours.run(name))
        return;
    else if (name == menu::mnuAppl || name == menu::mnuGraphProper)
        openGraphSettings();
    else if (name == menu::mnuViewUpdate)
        m_services.view.popupMenu(menu::mnuReNew);
    else if (name == menu::mnuViewPeriod)
        m_services.view.popupMenu(menu::mnuRead);
    else if (name == menu::mnuViewAxisX)
        m_services.view.popupMenu(menu::mnuGridXSec);
    else if (name == menu::mnuViewColor)
        m_services.view.popupMenu(menu::mnuColor);
    else if (name == menu::mnuViewIndicator)
        m_toggles.toggleIndicator();
    else if (name == menu::mnuShowLegend)
        m_toggles.toggleLegend();
    else if (name == menu::mnuLegendShow)
        m_toggles.toggleLegendFromChart();
    else if (name == menu::mnuGraphEnd)
        m_viewRanges.showGraphEnd();
    else if (name == menu::mnuGraphAll)
        m_viewRanges.showGraphAll();
    else if (name == menu::mnuCutStart)
        m_viewRanges.cutGraphStart();
    else if (name == menu::mnuSigTemp)
        m_alarmTemperature.openAlarmTemperature();
    else if (name == menu::mnuNewSession)
        m_newSession.startNewSession();
    else if (name == menu::mnuContent)
        m_help.showHelpContents();
    else if (name == menu::mnuLirant)
        m_help.showPriceList();
    else if (name == menu::mnuAbout)
        m_help.showAboutBox();
    else if (name == menu::mnuGetInMind)
        m_snapshotDialog.takeSnapshot();
    else if (name == menu::mnuFromMemory)
        m_snapshots.showSnapshotChart();
    else if (name == menu::mnuClearMemory)
        m_snapshots.clearSnapshots();
    else if (name == menu::mnuCopyData)
        m_snapshots.copyData();
    else if (name == menu::mnuInsertData)
        m_snapshots.insertData();
    else if (name == menu::mnuProperties)
        openPortProperties();
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
    view.setItemChecked(menu::mnuY64Sec, true);
    view.setItemChecked(menu::mnuR064Sec, true);
    // No snapshot yet.
    view.setItemEnabled(menu::mnuFromMemory, false);
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
    view.setItemChecked(menu::mnuLegendShow, s.legendShown);
    view.setItemChecked(menu::mnuShowLegend, s.legendShown);
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
        const auto number = textToInteger(commPort);
        pending = number ? port.setCommPort(static_cast<int>(*number))
                         : Status::failure(QStringLiteral("Недопустимый номер порта: ") + commPort);
    }
    const QString handshaking = m_settings.text(Keys::Handshaking);
    if (!handshaking.isEmpty()) {
        const auto mode = textToInteger(handshaking);
        Status st = mode ? port.setHandshaking(static_cast<int>(*mode))
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
    m_portControl.reconnect().receptionEnded();
    SerialPort &port = m_services.port;
    if (port.portOpen())
        (void)port.setPortOpen(false);
    if (m_recording.isOpen())
        m_recording.closeRecording();
}

void TerminalLogic::exitProgram() {
    unload();
    if (onExit)
        onExit();
}

} // namespace zorneta
