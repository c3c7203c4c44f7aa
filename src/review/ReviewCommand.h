#pragma once

#include <QChar>
#include <QCommandLineOption>
#include <QList>
#include <QDateTime>
#include <QString>

#include <optional>

class QCommandLineParser;

namespace zorneta {

// A recording reviewed from the command line, with no display:
// `--export-csv RECORD OUT.csv` or `--report RECORD OUT.pdf|OUT.png`.
struct ReviewRequest {
    enum class Mode { None, ExportCsv, Report };
    Mode mode = Mode::None;
    QString record;
    QString output;
    // The clock time run `run` began (its stamps count from it); invalid: unknown.
    QDateTime start;
    int run = 1;
    QChar separator = u',';
    std::optional<double> alarm;
};

// The program's command-line options for reviewing a recording.
class ReviewArguments {
public:
    ReviewArguments();
    QList<QCommandLineOption> options() const;
    // Whether any of them is on the command line.
    bool given(const QCommandLineParser &parser) const;
    // The request they make, with the two file names (the positional
    // arguments); false with the Russian reason when they make none.
    bool read(const QCommandLineParser &parser, ReviewRequest *request, QString *error) const;

private:
    QCommandLineOption m_exportCsv, m_report, m_start, m_run, m_separator, m_alarm;
};

// Carries out a request. 0 when the output is written; 1 when the recording
// cannot be read or has no such run, or the output cannot be written, with
// the Russian message in *message.
int runReview(const ReviewRequest &request, QString *message);

} // namespace zorneta
