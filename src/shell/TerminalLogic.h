#pragma once

#include "acquisition/AcquisitionCore.h"
#include "acquisition/NewSession.h"
#include "acquisition/PortControl.h"
#include "acquisition/PortProperties.h"
#include "acquisition/ReadingPipeline.h"
#include "session/SessionState.h"
#include "acquisition/TerminalOutput.h"
#include "acquisition/TerminalTransmit.h"
#include "chart/ChartGestures.h"
#include "chart/ChartModel.h"
#include "chart/ColourCommands.h"
#include "chart/PeriodCommands.h"
#include "chart/SeriesData.h"
#include "chart/ViewToggles.h"
#include "recording/RecordingFile.h"
#include "recording/SnapshotDialog.h"
#include "recording/Snapshots.h"
#include "chart/ViewRanges.h"
#include "common/Commands.h"
#include "settings/AlarmTemperature.h"
#include "settings/GraphSettings.h"
#include "session/PersistedSettings.h"
#include "session/Services.h"
#include "shell/HelpCommands.h"
#include "shell/ReceptionPresenter.h"
#include "review/ReviewActions.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace zorneta {

// The main window's logic: it composes the acquisition core with the command
// objects of every subsystem and the presenter of what reception reports,
// runs the window's load and unload, and dispatches menu items and toolbar
// keys to their commands.
class TerminalLogic : public QObject {
    Q_OBJECT
public:
    explicit TerminalLogic(Services services);
    ~TerminalLogic() override;

    // The main window's load: defaults, saved settings, the readings table,
    // the chart's appearance and the saved port settings.
    void load();
    // Closing the main window: the port, then the recording file.
    void unload();

    // Runs a command of the menus or the toolbar.
    void run(Command command);
    // Runs the command of a menu item (by its objectName) or of a toolbar key,
    // matched exactly; returns the command run. Unknown names do nothing.
    std::optional<Command> runMenuItem(const QString &name);
    std::optional<Command> runToolbarKey(const QString &key);

    // Menu "Выход": the same shutdown as closing the window, then the end.
    void exitProgram();
    // "Свойства  Графика...", the context menu's "&Свойства графика" and the
    // toolbar's "HangUpPhone": the graph settings dialog, modal.
    void openGraphSettings();
    // "Свойства  Порта..." and the toolbar's "Properties": the port settings
    // dialog, modal, preset afresh.
    void openPortProperties();
    // Chart mouse events that open its menus.
    void chartMouseDown(int button);
    void chartAxisSelected(int axisId);

    SessionState &state() { return m_state; }
    Services &services() { return m_services; }
    ChartModel &chart() { return m_chart; }
    RecordingFile &recording() { return m_recording; }
    TerminalOutput &output() { return m_output; }
    PortControl &portControl() { return m_portControl; }
    ReadingPipeline &pipeline() { return m_core.pipeline(); }
    AcquisitionCore &core() { return m_core; }
    PersistedSettings &settings() { return m_settings; }
    ViewToggles &toggles() { return m_toggles; }
    GraphSettings &graphSettings() { return m_graph; }
    PeriodCommands &periods() { return m_periods; }
    PortProperties &portProperties() { return m_properties; }
    TerminalTransmit &transmit() { return m_transmit; }
    ViewRanges &viewRanges() { return m_viewRanges; }
    AlarmTemperature &alarmTemperature() { return m_alarmTemperature; }
    NewSession &newSession() { return m_newSession; }
    HelpCommands &help() { return m_help; }
    Snapshots &snapshots() { return m_snapshots; }
    SnapshotDialog &snapshotDialog() { return m_snapshotDialog; }
    SeriesData &seriesData() { return m_seriesData; }
    ChartGestures &gestures() { return m_gestures; }
    ColourCommands &colours() { return m_colours; }

    // Called after the shutdown steps of the exit command: the window closes.
    std::function<void()> onExit;
    // "Просмотреть запись…": the recording the user chose goes to a review window.
    std::function<void(const QString &path)> onReviewRecording;
    // The printer the session's report may go to (none: it can only be saved).
    void setReportPrinter(ReportPrinter *printer) { m_review.setPrinter(printer); }
    // "Экспорт в CSV…" and "Отчёт…" of the session on the line: its table of
    // readings made into a firing record (see liveRecord), named by the port.
    void exportSessionCsv();
    void reportSession();
    ReviewActions &review() { return m_review; }

private:
    void applyPortSettings();
    // The session's readings as a record; nothing (after saying so) when there are none.
    // The session's readings as a record, each run's start where known; nothing
    // (and a box says so) while there are no readings.
    std::optional<FiringRecord> sessionRecord(QList<QDateTime> *runStarts);
    QString sessionName() const;

    Services m_services;
    AcquisitionCore m_core;
    SessionState &m_state;
    PersistedSettings m_settings;
    ChartModel m_chart;
    RecordingFile m_recording;
    TerminalOutput m_output;
    PortControl m_portControl;
    ReceptionPresenter m_presenter;
    ViewToggles m_toggles;
    GraphSettings m_graph;
    PeriodCommands m_periods;
    PortProperties m_properties;
    TerminalTransmit m_transmit;
    ViewRanges m_viewRanges;
    AlarmTemperature m_alarmTemperature;
    NewSession m_newSession;
    HelpCommands m_help;
    Snapshots m_snapshots;
    SnapshotDialog m_snapshotDialog;
    SeriesData m_seriesData;
    ChartGestures m_gestures;
    ColourCommands m_colours;
    ReviewActions m_review;
    bool m_unloaded = false;
    // The X axis shows clock times ("Время по часам").
    bool m_clockTimeAxis = false;
};

} // namespace zorneta
