#include "shell/TerminalLogic.h"

#include "common/Colour.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "session/MainView.h"

#include <array>

namespace zorneta {

namespace {

// Toolbar keys in the order they are matched, with the menu command each runs.
struct KeyCommand {
    const char16_t *key;
    const char16_t *command;
};
constexpr std::array<KeyCommand, 18> ToolbarDispatch{{
    {u"OpenLogFile", u"mnuOpenLog"},
    {u"CloseLogFile", u"mnuCloseLog"},
    {u"DialPhoneNumber", u"mnuSigTemp"},
    {u"HangUpPhone", u"mnuAppl"},
    {u"Properties", u"mnuProperties"},
    {u"CopySnap", u"mnuGetInMind"},
    {u"PortOpen", u"mnuOpen"},
    {u"Help", u"mnuContent"},
    {u"PasteSnap", u"mnuFromMemory"},
    {u"ClosePort", u"mnuOpen"},
    {u"Copy", u"mnuCopyData"},
    {u"Paste", u"mnuInsertData"},
    {u"DeleteSnap", u"mnuClearMemory"},
    {u"GraphStart", u"mnuCutStart"},
    {u"GraphEnd", u"mnuGraphEnd"},
    {u"GraphAll", u"mnuGraphAll"},
    {u"NewSession", u"mnuNewSession"},
    {u"Legend", u"mnuLegendShow"},
}};

QString str(const char16_t *s) {
    return QString::fromUtf16(s);
}

} // namespace

TerminalLogic::TerminalLogic(Services services)
    : m_services(services), m_settings(services.settings), m_chart(m_services, m_state),
      m_recording(m_services, m_state), m_output(m_services, m_state, m_recording),
      m_portControl(m_services, m_state, m_chart), m_pipeline(m_services, m_state, m_portControl, m_chart, m_output),
      m_toggles(m_services, m_state, m_settings), m_graph(m_services, m_state, m_settings, m_chart),
      m_periods(m_services, m_state), m_properties(m_services, m_state, m_settings, m_portControl),
      m_transmit(m_services, m_state), m_help(m_services), m_snapshots(m_services, m_state),
      m_snapshotDialog(m_services, m_state, m_settings, m_snapshots), m_seriesData(m_services, m_state),
      m_gestures(m_services, m_seriesData), m_colours(m_services, m_state, m_settings) {
    m_periods.listChosen = [this](PeriodList list, int position) { m_graph.followMenu(list, position); };
    connect(&m_services.port, &SerialPort::OnComm, this, [this] { m_pipeline.MSComm1_OnComm(); });
}

TerminalLogic::~TerminalLogic() = default;

QString TerminalLogic::commandForToolbarKey(const QString &key) {
    for (const KeyCommand &kc : ToolbarDispatch) {
        if (key == str(kc.key))
            return str(kc.command);
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
    if (name == u"mnuOpen")
        m_portControl.mnuOpen_Click();
    else if (name == u"mnuOpenLog")
        m_recording.mnuOpenLog_Click();
    else if (name == u"mnuCloseLog")
        m_recording.mnuCloseLog_Click();
    else if (name == u"mnuFileExit")
        mnuFileExit_Click();
    else if (name == u"mnuRefresh")
        m_chart.mnuRefresh_Click();
    else if (m_periods.run(name))
        return;
    else if (m_colours.run(name))
        return;
    else if (name == u"mnuAppl" || name == u"mnuGraphProper")
        mnuAppl_Click();
    else if (name == u"mnuViewUpdate")
        m_services.view.popupMenu(QStringLiteral("mnuReNew"));
    else if (name == u"mnuViewPeriod")
        m_services.view.popupMenu(QStringLiteral("mnuRead"));
    else if (name == u"mnuViewAxisX")
        m_services.view.popupMenu(QStringLiteral("mnuGridXSec"));
    else if (name == u"mnuViewColor")
        m_services.view.popupMenu(QStringLiteral("mnuColor"));
    else if (name == u"mnuViewIndicator")
        m_toggles.mnuViewIndicator_Click();
    else if (name == u"mnuShowLegend")
        m_toggles.mnuShowLegend_Click();
    else if (name == u"mnuLegendShow")
        m_toggles.mnuLegendShow_Click();
    else if (name == u"mnuContent")
        m_help.mnuContent_Click();
    else if (name == u"mnuLirant")
        m_help.mnuLirant_Click();
    else if (name == u"mnuAbout")
        m_help.mnuAbout_Click();
    else if (name == u"mnuGetInMind")
        m_snapshotDialog.mnuGetInMind_Click();
    else if (name == u"mnuFromMemory")
        m_snapshots.mnuFromMemory_Click();
    else if (name == u"mnuClearMemory")
        m_snapshots.mnuClearMemory_Click();
    else if (name == u"mnuCopyData")
        m_snapshots.mnuCopyData_Click();
    else if (name == u"mnuInsertData")
        m_snapshots.mnuInsertData_Click();
    else if (name == u"mnuProperties")
        mnuProperties_Click();
}

void TerminalLogic::mnuProperties_Click() {
    m_properties.Form_Load();
    m_services.view.showPortProperties(m_properties);
}

void TerminalLogic::mnuAppl_Click() {
    m_graph.ensureLoaded();
    m_services.view.showGraphSettings(m_graph);
}

void TerminalLogic::chartMouseDown(int button) {
    m_gestures.mouseDown(button);
}

void TerminalLogic::chartAxisSelected(int axisId) {
    m_gestures.axisSelected(axisId);
}

void TerminalLogic::Form_Load() {
    MainView &view = m_services.view;
    SessionState &s = m_state;
    // 1. Automatic X-axis spacing on, through its own command.
    s.AutoTickDivision = false;
    m_periods.mnuAutoTickDivis_Click();
    // 2. Defaults.
    s.XTickDivisions = 1;
    s.XLabelDivisions = 1;
    s.PointCount = 0;
    s.CurveRed = 10;
    s.CurveGreen = 10;
    s.CurveBlue = 200;
    s.CurveWidth = 40;
    s.OnlyEnd = false;
    s.ReadPeriod = 1;
    s.UpdatePeriod = 10;
    // 3. Their menu items.
    view.setItemChecked(QStringLiteral("mnuY64Sec"), true);
    view.setItemChecked(QStringLiteral("mnuR064Sec"), true);
    // 4. No snapshot yet.
    view.setItemEnabled(QStringLiteral("mnuFromMemory"), false);
    view.setItemEnabled(QStringLiteral("PasteSnap"), false);
    view.setItemEnabled(QStringLiteral("DeleteSnap"), false);
    // 5. Saved preferences.
    s.IndicatorBackColor = m_settings.colour(Keys::GroundColor, 0);
    s.IndicatorTextColor = m_settings.colour(Keys::PenColor, 65280);
    view.setIndicatorColors(s.IndicatorBackColor, s.IndicatorTextColor);
    s.IndicatorShown = m_settings.boolean(Keys::Indicator, true);
    view.setClearButtonVisible(m_settings.boolean(Keys::Button, true));
    // The graph settings dialog, loaded hidden, preset from the store; its
    // choices take effect only when it is confirmed.
    m_graph.presetFromStore();
    s.XAxisHidden = m_settings.boolean(Keys::Opto, true);
    s.Y2AxisHidden = m_settings.boolean(Keys::Y2, true);
    s.LegendShown = m_settings.boolean(Keys::Legend, true);
    view.setItemChecked(QStringLiteral("mnuLegendShow"), s.LegendShown);
    view.setItemChecked(QStringLiteral("mnuShowLegend"), s.LegendShown);
    // 6. A fresh readings table.
    s.Readings = FreshReadings();
    // 7. The chart's appearance.
    m_chart.SetupChart(s.CurveRed, s.CurveGreen, s.CurveBlue);
    // 9. An empty indicator.
    TextBox &box = view.terminalBox();
    box.setSelStart(0);
    box.setSelLength(box.Text().size());
    box.setSelText(QString());
    // 11. Not connected.
    view.showConnected(false);
    // The indicator column as saved.
    m_toggles.applyIndicator();
    // 12.-13. The saved port settings, then legend and axes again.
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
        const auto number = TextToInteger(commPort);
        pending = number ? port.setCommPort(static_cast<int>(*number))
                         : Status::failure(QStringLiteral("Недопустимый номер порта: ") + commPort);
    }
    const QString handshaking = m_settings.text(Keys::Handshaking);
    if (!handshaking.isEmpty()) {
        const auto mode = TextToInteger(handshaking);
        Status st = mode ? port.setHandshaking(static_cast<int>(*mode))
                         : Status::failure(QStringLiteral("Недопустимый режим управления потоком: ") + handshaking);
        if (!st || !pending) {
            warn(!st ? st : pending);
            return;
        }
    }
    ChartSurface &chart = m_services.chart;
    chart.setShowLegend(m_state.LegendShown);
    (void)chart.setAxisScaleHidden(ChartSurface::Axis::X, m_state.XAxisHidden);
    (void)chart.setAxisScaleHidden(ChartSurface::Axis::Y2, m_state.Y2AxisHidden);
}

void TerminalLogic::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_portControl.reconnect().receptionEnded();
    SerialPort &port = m_services.port;
    if (port.PortOpen())
        (void)port.setPortOpen(false);
    if (m_recording.isOpen())
        m_recording.mnuCloseLog_Click();
}

void TerminalLogic::mnuFileExit_Click() {
    Form_Unload();
    if (onExit)
        onExit();
}

} // namespace zorneta
