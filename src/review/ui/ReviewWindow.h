#pragma once

#include "review/ReviewActions.h"
#include "review/ReviewSession.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QDateTimeEdit;
class QLabel;

namespace zorneta {

class Prompts;
class ReportPrinter;
class ReviewChart;

// A recording looked at after the fact, in a window of its own beside the
// live one: the run chooser, the run's start (proposed or given), the chart
// with its zoom, pan and readout, and the status of the file; export to CSV
// and the report of the chosen run.
class ReviewWindow : public QMainWindow {
    Q_OBJECT
public:
    ReviewWindow(Prompts &prompts, ReportPrinter *printer, QWidget *parent = nullptr);

    // Reads a recording and shows its first run; a file that is not one
    // leaves the window empty with the message in the status bar.
    ReviewStatus openFile(const QString &path);
    // Shows a record made elsewhere (the live session's readings).
    void showRecord(FiringRecord record, const QString &sourceName, const QDateTime &start);

    ReviewSession &session() { return m_session; }
    ReviewChart *chart() const { return m_chart; }
    QComboBox *runChooser() const { return m_runs; }
    QDateTimeEdit *startEdit() const { return m_start; }
    QLabel *startLabel() const { return m_startLabel; }
    QLabel *readoutLabel() const { return m_readout; }
    QLabel *statusLabel() const { return m_status; }
    QAction *exportAction() const { return m_exportAction; }
    QAction *reportAction() const { return m_reportAction; }
    QAction *wholeAction() const { return m_wholeAction; }

    // The window's commands.
    void exportCsv();
    void report();

private:
    void refresh();
    void showStart();

    ReviewSession m_session;
    ReviewActions m_actions;
    ReviewChart *m_chart = nullptr;
    QComboBox *m_runs = nullptr;
    QLabel *m_startLabel = nullptr;
    QDateTimeEdit *m_start = nullptr;
    QLabel *m_readout = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_reportAction = nullptr;
    QAction *m_wholeAction = nullptr;
    bool m_showing = false;
};

} // namespace zorneta
