#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

namespace zorneta {

class AcquisitionCore;
class ChartModel;
class PortControl;
class RecordingFile;
class TerminalOutput;
struct Services;

// The main window's side of reception: what the acquisition core reports is
// shown on the window as it happens. The boxes it opens (a thermocouple
// break, a line fault, a failed write) block the program's windows but never
// reception: every line is shown and recorded while they are up, and the
// answer acts when it comes.
class ReceptionPresenter : public QObject {
    Q_OBJECT
public:
    ReceptionPresenter(Services &services, AcquisitionCore &core, PortControl &port, ChartModel &chart,
                       TerminalOutput &output, RecordingFile &recording);

    static constexpr int AlarmBeeps = 50;
    static constexpr int ErrorBeeps = 300;

    // The alarm window's text for a set temperature reached at a moment.
    static QString alarmText(qint64 temperature, const QDateTime &at);

private:
    void showLine(const QByteArray &line);
    void applyXDivisions(int divisions);
    void showAlarm(qint64 temperature, const QDateTime &at);
    void showBreak(bool closed);
    void showFault(int code, const QString &text, const QDateTime &at);
    void showEventDone(qint64 pointCount);
    void showLineLost();
    void showLineRestored();
    void askAboutWriteFailure(const QString &description);
    void showFileRecreated(const QString &path);

    Services &m_services;
    AcquisitionCore &m_core;
    PortControl &m_port;
    ChartModel &m_chart;
    TerminalOutput &m_output;
    RecordingFile &m_recording;
    // A line-error question is open: further faults only update the status.
    bool m_errorQuestionOpen = false;
};

} // namespace zorneta
