#pragma once

#include "review/CsvExport.h"
#include "review/FiringRecord.h"
#include "review/ReportRenderer.h"

#include <QString>

#include <functional>
#include <optional>

namespace zorneta {

class Prompts;
class ReportPrinter;

// The review's dialogs and what follows them, for the review window and for
// the live session alike: which recording to look at, where a CSV export
// goes, and whether a report is printed or saved as PDF or PNG. Failures are
// told in a message box.
class ReviewActions {
public:
    // Without a printer a report can only be saved.
    ReviewActions(Prompts &prompts, ReportPrinter *printer) : m_prompts(prompts), m_printer(printer) {}
    void setPrinter(ReportPrinter *printer) { m_printer = printer; }

    // The open dialog for a recording; nothing when cancelled.
    std::optional<QString> chooseRecording();
    // The save dialog, then the CSV file; true when it was written.
    bool exportCsv(const FiringRecord &record, const CsvOptions &options, const QString &proposedName);
    // Asks whether to print; prints, or asks where to save and writes a PDF
    // (or a PNG when the name ends in .png); true when done.
    bool report(const FiringRecord &record, const ReportOptions &options, const QString &proposedName);

    // The question before a report and the captions of the dialogs.
    static QString reportQuestion();
    static QString messageTitle();

private:
    void showError(const QString &text);
    // Writes a file that appears only when written whole; a failure is shown.
    bool writeWhole(const QString &path, const std::function<ReviewStatus(QIODevice &)> &write);

    Prompts &m_prompts;
    ReportPrinter *m_printer;
};

} // namespace zorneta
