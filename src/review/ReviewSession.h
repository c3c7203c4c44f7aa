#pragma once

#include "common/CurveZoom.h"
#include "review/CsvExport.h"
#include "review/FiringRecord.h"
#include "review/ReportRenderer.h"
#include "review/ReviewStatus.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>

namespace zorneta {

// A recording as the review window shows it: the record read from its file,
// the run chosen, when each run began (the start proposed for the last run,
// or one the user gave), and the stretch of the curve on view.
//
// The proposed start: the file was last written by the last reading of its
// last run, so that run began at the file's modification time less its last
// stamp. The start of an earlier run is not known until the user gives it.
class ReviewSession {
public:
    // The narrowest stretch of time on view, in seconds.
    static constexpr double MinimumSpan = 10.0;

    enum class StartKind { Unknown, Proposed, Given };

    ReviewSession();

    // Reads a recording file. On failure the session is empty and the
    // status carries the message.
    ReviewStatus open(const QString &path);
    // Takes a record made elsewhere (the live session's readings), named
    // `sourceName`, with the clock time its first run began.
    void take(FiringRecord record, const QString &sourceName, const QDateTime &start);

    const FiringRecord &record() const { return m_record; }
    QString path() const { return m_path; }
    QString sourceName() const { return m_sourceName; }
    bool isEmpty() const { return m_record.runs().empty(); }
    // The message of the last failed open (empty after a good one).
    QString failure() const { return m_failure; }

    // "Сеанс 1: 00:00:00–05:12:40, показаний: 29250", one per run.
    QStringList runTexts() const;
    int run() const { return m_run; }
    // Chooses run n and shows the whole of it.
    void setRun(int number);

    // When the chosen run began: invalid when unknown.
    QDateTime start() const;
    StartKind startKind() const;
    // The value to show in the start field: the run's start, or for a run
    // whose start is unknown the proposal for the last run.
    QDateTime shownStart() const;
    // The user gives the chosen run's start.
    void giveStart(const QDateTime &start);
    // The caption of the start field.
    QString startCaption() const;

    // The status bar's text: the chosen run's readings, skipped lines and
    // thermocouple breaks, or the message of a failed open.
    QString statusText() const;

    // The stretch of the chosen run's time on view (elapsed seconds).
    CurveZoom &zoom() { return m_zoom; }
    const CurveZoom &zoom() const { return m_zoom; }
    // The pointer's readout at an elapsed time of the chosen run: the time,
    // the clock time when the start is known, and the temperature that held
    // then (the last entry at or before it), or a break.
    QString readout(double seconds) const;

    // What an export or a report of the chosen run is given.
    CsvOptions csvOptions() const;
    ReportOptions reportOptions(std::optional<double> alarm = std::nullopt) const;
    // A file name for an export or a report: the recording's without its
    // suffix, the run and the new suffix ("furnace-2.csv").
    QString proposedName(const QString &suffix) const;

private:
    void clear();

    FiringRecord m_record;
    QString m_path;
    QString m_sourceName;
    QString m_failure;
    int m_run = 0;
    QDateTime m_proposal; // the last run's proposed start
    std::map<int, QDateTime> m_given;
    CurveZoom m_zoom;
};

} // namespace zorneta
