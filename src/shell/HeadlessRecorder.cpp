#include "shell/HeadlessRecorder.h"

#include "common/ItemNames.h"
#include "platform/Beeper.h"
#include "platform/ChartSurface.h"
#include "platform/Clock.h"
#include "platform/InstallInfo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/SettingsStore.h"
#include "session/MainView.h"
#include "shell/TerminalLogic.h"

#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QRegularExpression>
#include <QScopeGuard>

namespace zorneta {

namespace {

void writeLine(QIODevice &device, const QString &text) {
    device.write((text + u'\n').toUtf8());
}

// The terminal box: keeps its text for the terminal output's bookkeeping and
// passes each piece inserted to `out`, line ends as the console's own.
class ConsoleTextBox : public TextBox {
public:
    explicit ConsoleTextBox(QIODevice &out) : m_out(out) {}
    QString text() const override { return m_text; }
    void setText(const QString &text) override {
        m_text = text;
        m_selStart = std::min(m_selStart, m_text.size());
        m_selLength = 0;
    }
    qsizetype selStart() const override { return m_selStart; }
    qsizetype selLength() const override { return m_selLength; }
    void setSelStart(qsizetype position) override {
        m_selStart = std::clamp<qsizetype>(position, 0, m_text.size());
        m_selLength = 0;
    }
    void setSelLength(qsizetype length) override {
        m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selStart);
    }
    void setSelText(const QString &text) override {
        m_text.replace(m_selStart, m_selLength, text);
        m_selStart += text.size();
        m_selLength = 0;
        if (!text.isEmpty()) {
            QString shown = text;
            shown.remove(u'\r');
            m_out.write(shown.toUtf8());
        }
    }

private:
    QIODevice &m_out;
    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
};

// The main window without a window: the status text goes to `errors`.
class ConsoleView : public MainView {
public:
    ConsoleView(QIODevice &out, QIODevice &errors) : m_box(out), m_errors(errors) {}

    void setPanelText(const QString &key, const QString &text) override {
        const QString old = m_panels.value(key);
        m_panels.insert(key, text);
        if (key == panel::Status && text != old && !quiet)
            writeLine(m_errors, QStringLiteral("zorneta: ") + text);
    }
    // While quiet, the status is kept and not written.
    bool quiet = false;
    void writeStatus() { writeLine(m_errors, QStringLiteral("zorneta: ") + m_panels.value(panel::Status)); }
    QString panelText(const QString &key) const override { return m_panels.value(key); }
    void setItemChecked(const QString &name, bool checked) override { m_checked.insert(name, checked); }
    bool itemChecked(const QString &name) const override { return m_checked.value(name); }
    void setItemEnabled(const QString &name, bool enabled) override { m_enabled.insert(name, enabled); }
    bool itemEnabled(const QString &name) const override { return m_enabled.value(name, true); }
    void showConnected(bool connected) override { m_connected = connected; }
    bool connectedShown() const override { return m_connected; }
    TextBox &terminalBox() override { return m_box; }
    void setCaption(const QString &caption) override { m_caption = caption; }
    QString caption() const override { return m_caption; }
    void popupMenu(const QString &) override {}
    void showGraphSettings(GraphSettings &) override {}
    void showAlarm(const QString &text) override { writeLine(m_errors, QStringLiteral("zorneta: ") + text); }
    bool seriesDataVisible() const override { return false; }
    void refreshSeriesData() override {}
    void setSigText(const QString &text) override { m_sigText = text; }
    QString sigText() const override { return m_sigText; }
    void setIndicatorVisible(bool visible) override { m_indicator = visible; }
    bool indicatorVisible() const override { return m_indicator; }
    void setClearButtonVisible(bool visible) override { m_clearButton = visible; }
    bool clearButtonVisible() const override { return m_clearButton; }
    void setIndicatorColors(std::int32_t, std::int32_t) override {}
    void showAbout() override {}
    void showSnapshotDialog(SnapshotDialog &) override {}
    void showPortProperties(PortProperties &) override {}
    void showSeriesData(SeriesData &) override {}
    void setPointText(const QString &text) override { m_pointText = text; }
    QString shownPointText() const override { return m_pointText; }
    void setPointTextBackground(std::int32_t) override {}

private:
    ConsoleTextBox m_box;
    QIODevice &m_errors;
    QHash<QString, QString> m_panels;
    QHash<QString, bool> m_checked;
    QHash<QString, bool> m_enabled;
    QString m_caption;
    QString m_sigText;
    QString m_pointText;
    bool m_connected = false;
    bool m_indicator = true;
    bool m_clearButton = true;
};

// Message boxes become lines on `errors` (or are kept for the start's
// error while `collecting`), answered so that reception goes on.
class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(QIODevice &errors) : m_errors(errors) {}

    bool collecting = false;
    QString collected;

    Answer messageBox(const QString &title, const QString &text, Icon, Buttons buttons, DefaultButton) override {
        static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
        const QString flat = QString(text).replace(lineBreaks, QStringLiteral(" ")).trimmed();
        if (collecting) {
            if (collected.isEmpty())
                collected = flat;
        } else {
            QString head = title.trimmed();
            if (!head.endsWith(u':') && !head.endsWith(u'!'))
                head += u':';
            writeLine(m_errors, QStringLiteral("zorneta: ") + head + u' ' + flat);
        }
        switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok; // a line error: reception goes on
        default:
            return escapeAnswer(buttons); // a failed write: Cancel closes the file
        }
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &, std::optional<QPoint>) override {
        return std::nullopt;
    }
    std::optional<FileChoice> openFileDialog(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<FileChoice> saveFileDialog(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<std::int32_t> colorDialog(std::int32_t) override { return std::nullopt; }

private:
    QIODevice &m_errors;
};

// No chart is drawn; what is set is kept for the logic that reads it back.
class NoChart : public ChartSurface {
public:
    void setChartData(const ReadingsTable &) override {}
    void refresh() override {}
    Status setAxisPenWidth(Axis, float) override { return Status::ok(); }
    Status setAxisPenColor(Axis, int, int, int) override { return Status::ok(); }
    Status setAxisScaleHidden(Axis axis, bool hidden) override {
        m_hidden[static_cast<int>(axis)] = hidden;
        return Status::ok();
    }
    bool axisScaleHidden(Axis axis) const override { return m_hidden[static_cast<int>(axis)]; }
    Status setDivisionsPerLabel(int) override { return Status::ok(); }
    Status setDivisionsPerTick(int) override { return Status::ok(); }
    Status setLabelTick(bool) override { return Status::ok(); }
    Status setCategoryScaleAuto(Axis, bool) override { return Status::ok(); }
    Status setAxisLabelFont(Axis, bool, int) override { return Status::ok(); }
    Status setValueScale(Axis axis, const ValueScale &scale) override {
        m_scales[static_cast<int>(axis)] = scale;
        return Status::ok();
    }
    ValueScale valueScale(Axis axis) const override { return m_scales[static_cast<int>(axis)]; }
    Status setSeriesPenColor(int, int, int) override { return Status::ok(); }
    Status setSeriesPenWidth(float) override { return Status::ok(); }
    void setShowLegend(bool shown) override { m_legend = shown; }
    bool showLegend() const override { return m_legend; }
    Status setBackdrop(Backdrop, const BackdropStyle &) override { return Status::ok(); }
    BackdropStyle backdrop(Backdrop) const override { return BackdropStyle{}; }
    Status setCurrentCell(int, int) override { return Status::ok(); }
    double currentCellValue() const override { return 0.0; }
    QString rowLabel(int) const override { return QString(); }
    Status setRowLabel(int, const QString &) override { return Status::ok(); }
    Status editCopy() override { return Status::ok(); }
    Status editPaste() override { return Status::ok(); }
    void move(int, int, int, int) override {}

private:
    std::array<bool, 3> m_hidden{};
    std::array<ValueScale, 3> m_scales{};
    bool m_legend = false;
};

// Nothing is read from or kept in the user's settings: the recorder runs
// with the program's defaults and its own command line.
class NoSettings : public SettingsStore {
public:
    QString getSetting(const QString &, const QString &, const QString &, const QString &defaultValue) const override {
        return defaultValue;
    }
    Status saveSetting(const QString &, const QString &, const QString &, const QString &) override {
        return Status::ok();
    }
};

class Silence : public Beeper {
public:
    void beep() override {}
};

class NoInstallation : public InstallInfo {
public:
    std::optional<QString> installationDirectory() const override { return std::nullopt; }
};

class NoLauncher : public Launcher {
public:
    Status openDocument(const QString &) override { return Status::failure(QStringLiteral("Нет экрана")); }
    Status showHelpContents(const QString &) override { return Status::failure(QStringLiteral("Нет экрана")); }
};

} // namespace

struct HeadlessRecorder::Parts {
    Parts(SerialPort &port, Clock &clock, QIODevice &out, QIODevice &errors)
        : view(out, errors), prompts(errors),
          logic(Services{port, chart, prompts, settings, clock, beeper, install, launcher, view}) {}

    NoChart chart;
    ConsoleView view;
    ConsolePrompts prompts;
    NoSettings settings;
    Silence beeper;
    NoInstallation install;
    NoLauncher launcher;
    TerminalLogic logic;
};

HeadlessRecorder::HeadlessRecorder(SerialPort &port, Clock &clock, QIODevice &out, QIODevice &errors)
    : m_parts(std::make_unique<Parts>(port, clock, out, errors)) {
    // Connected after the reading handler: runs when it has done its part.
    connect(&port, &SerialPort::commEventRaised, this, &HeadlessRecorder::checkStillRecording);
    m_parts->logic.load();
}

HeadlessRecorder::~HeadlessRecorder() {
    stop();
}

TerminalLogic &HeadlessRecorder::logic() {
    return m_parts->logic;
}

bool HeadlessRecorder::start(const Settings &settings, QString *error) {
    TerminalLogic &logic = m_parts->logic;
    SerialPort &port = logic.services().port;
    ConsolePrompts &prompts = m_parts->prompts;
    logic.portControl().reconnect().setEnabled(settings.reconnect);

    if (!settings.portSettings.isEmpty()) {
        if (const Status st = port.setSettings(settings.portSettings); !st) {
            *error = st.description();
            return false;
        }
    }
    if (const Status st = port.setCommPort(settings.portNumber); !st) {
        *error = st.description();
        return false;
    }
    // The port toggle and the file's open report their failures as message
    // boxes: while starting they are collected into the start's error, and
    // the status is written only once the start has succeeded, so a start
    // that fails says only why.
    prompts.collecting = true;
    prompts.collected.clear();
    m_parts->view.quiet = true;
    const auto stopCollecting = qScopeGuard([this] {
        m_parts->prompts.collecting = false;
        m_parts->view.quiet = false;
    });
    logic.portControl().togglePort();
    if (!port.portOpen()) {
        *error = prompts.collected.isEmpty() ? QStringLiteral("Не удалось открыть порт") : prompts.collected;
        return false;
    }
    const QFileInfo file(settings.recordPath);
    if (!logic.recording().openAt(file.absoluteFilePath(), file.fileName())) {
        // The refusal names the file already.
        *error = prompts.collected.isEmpty()
                     ? QStringLiteral("Не удалось открыть файл записи %1").arg(file.absoluteFilePath())
                     : prompts.collected;
        logic.portControl().reconnect().receptionEnded();
        (void)port.setPortOpen(false);
        return false;
    }
    m_parts->view.quiet = false;
    m_parts->view.writeStatus();
    m_running = true;
    return true;
}

void HeadlessRecorder::stop() {
    if (!m_running)
        return;
    m_running = false;
    m_parts->logic.unload();
}

void HeadlessRecorder::checkStillRecording() {
    if (!m_running)
        return;
    TerminalLogic &logic = m_parts->logic;
    SessionState &state = logic.state();
    const SerialPort &port = logic.services().port;
    int status = -1;
    if (!logic.recording().isOpen())
        status = Failed;
    else if (!port.portOpen() && !logic.portControl().reconnect().waiting())
        status = state.pointCount > 0 && state.readings.isNumber(2, state.pointCount) &&
                         state.readings.number(2, state.pointCount) == ReadingPipeline::BreakValue
                     ? ThermocoupleBreak
                     : Failed;
    if (status < 0)
        return;
    stop();
    Q_EMIT ended(status);
}

} // namespace zorneta
