#pragma once

#include "common/ReadingsTable.h"

#include <QString>

namespace zorneta {

struct Services;
struct SessionState;

// The snapshot held in memory (SnapReadings) and the commands that work on
// it and on the clipboard: taking a snapshot of all readings or of a section,
// writing it to a snapshot file, showing it on the chart in place of the live
// curve, erasing it, and copying the chart's data to and inserting it from the
// clipboard.
//
// The snapshot file: one line per column of the snapshot, from its first to
// its last column: the row-1 cell as text, TAB, the row-2 cell as text, CR.
// Windows-1251, appended at the end of the file. The first line carries the
// title.
class Snapshots {
public:
    Snapshots(Services &services, SessionState &state);

    // The snapshot in memory: empty until the first one is taken.
    const ReadingsTable &snapReadings() const { return m_snap; }

    // The empty snapshot left by erasing: columns 1 and 2, the single label
    // "Нет данных" and the title "Снимок чистый".
    static ReadingsTable cleanSnapshot();

    // What taking a snapshot came to.
    enum class Outcome {
        Taken,
        // To reaches the last allocated column of the readings: nothing taken.
        OutOfBounds,
        // No readings, or From below 1 or above To: nothing taken.
        Refused,
    };

    // All readings of the session: columns 1 to PointCount. The snapshot in
    // memory is replaced only when the new one is complete.
    Outcome takeAll();
    // Columns From to To; the texts typed for the bounds go into the title.
    // On OutOfBounds *lastColumn receives the last allocated column.
    Outcome takeSection(qint64 from, qint64 to, const QString &fromText, const QString &toText,
                        qint64 *lastColumn = nullptr);

    // Enables the paste and erase commands: done after the first snapshot,
    // they then stay enabled.
    void enableSnapshotCommands();

    // Asks for a file and writes the snapshot to it (appending, or replacing
    // after the replace question). A failed write asks Retry/Cancel; Cancel
    // takes back what this save wrote, so the file holds no half snapshot.
    void saveSnapshot();

    // Shows the snapshot on the chart, titled "Снимок " + the series title.
    void showSnapshotChart();
    // Replaces the snapshot by the clean one; the chart is left as it is.
    void clearSnapshots();
    // The chart's data (what it shows) to the clipboard.
    void copyData();
    // The clipboard's chart data into the chart, titled "Вставка из буфера".
    // Other clipboard content, or data beyond what the chart takes, is refused
    // with the chart's message, the chart unchanged.
    void insertData();

private:
    // One line of the snapshot file: row 1, TAB, row 2, CR.
    static QByteArray lineBytes(const ReadingsTable &table, qint64 column);
    void message(const QString &text);
    void showError(const QString &description);
    bool writeSnapshotFile(const QString &path, const ReadingsTable &table);

    Services &m_services;
    SessionState &m_state;
    ReadingsTable m_snap;
};

} // namespace zorneta
