#include "review/ReviewCommand.h"

#include "common/SystemErrors.h"
#include "review/CsvExport.h"
#include "review/FiringRecord.h"
#include "review/ReportRenderer.h"

#include <QCommandLineParser>
#include <QSaveFile>

#include <cmath>

namespace zorneta {

namespace {
constexpr int Done = 0;
constexpr int Failed = 1;

ReviewStatus exportRequest(const ReviewRequest &request) {
    FiringRecord record;
    if (ReviewStatus loaded = record.load(request.record); !loaded)
        return loaded;
    if (request.start.isValid() && !record.run(request.run))
        return ReviewStatus::failure(missingRunText(request.run, qsizetype(record.runs().size())));
    CsvOptions options;
    options.separator = request.separator;
    options.start = request.start;
    options.startRun = request.run;
    QSaveFile file(request.output);
    if (!file.open(QIODevice::WriteOnly))
        return ReviewStatus::failure(fileFailureText(FileAction::Open, request.output, file.errorString()));
    if (ReviewStatus written = exportCsv(record, options, file); !written)
        return written;
    if (!file.commit())
        return ReviewStatus::failure(fileFailureText(FileAction::Write, request.output, file.errorString()));
    return ReviewStatus::ok();
}
} // namespace

ReviewArguments::ReviewArguments()
    : m_exportCsv(QStringLiteral("export-csv"),
                  QStringLiteral("Выгрузить запись для электронных таблиц: zorneta --export-csv ЗАПИСЬ ТАБЛИЦА.csv.")),
      m_report(QStringLiteral("report"),
               QStringLiteral("Отчёт об обжиге на одной странице: zorneta --report ЗАПИСЬ ОТЧЁТ.pdf или ОТЧЁТ.png.")),
      m_start(QStringLiteral("start"),
              QStringLiteral("Для --export-csv и --report: дата и время открытия порта в сеансе (--run), например "
                             "2026-12-08T10:00:00."),
              QStringLiteral("ДАТА")),
      m_run(QStringLiteral("run"),
            QStringLiteral("Для --export-csv и --report: номер сеанса записи, по умолчанию первый."),
            QStringLiteral("N")),
      m_separator(QStringLiteral("separator"),
                  QStringLiteral("Для --export-csv: разделитель ',' (дробная точка) или ';' (дробная запятая)."),
                  QStringLiteral("ЗНАК")),
      m_alarm(QStringLiteral("alarm"),
              QStringLiteral("Для --report: сигнальная температура, °C: время при ней и выше."), QStringLiteral("T")) {}

QList<QCommandLineOption> ReviewArguments::options() const {
    return {m_exportCsv, m_report, m_start, m_run, m_separator, m_alarm};
}

bool ReviewArguments::given(const QCommandLineParser &parser) const {
    for (const QCommandLineOption &option : options()) {
        if (parser.isSet(option))
            return true;
    }
    return false;
}

bool ReviewArguments::read(const QCommandLineParser &parser, ReviewRequest *request, QString *error) const {
    auto refuse = [error](const QString &text) {
        *error = text;
        return false;
    };
    const bool csv = parser.isSet(m_exportCsv);
    if (csv == parser.isSet(m_report))
        return refuse(
            csv ? QStringLiteral("--export-csv и --report нельзя задать вместе")
                : QStringLiteral("--start, --run, --separator и --alarm задаются с --export-csv или --report"));
    const QString mode = csv ? QStringLiteral("--export-csv") : QStringLiteral("--report");
    request->mode = csv ? ReviewRequest::Mode::ExportCsv : ReviewRequest::Mode::Report;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return refuse(mode + (csv ? QStringLiteral(": укажите файл записи и файл таблицы")
                                  : QStringLiteral(": укажите файл записи и файл отчёта")));
    request->record = files[0];
    request->output = files[1];
    if (!csv && !request->output.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) &&
        !request->output.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return refuse(QStringLiteral("--report: файл отчёта должен оканчиваться на .pdf или .png"));
    if (parser.isSet(m_start)) {
        // A time given with an offset or in UTC is shown in local time.
        request->start = QDateTime::fromString(parser.value(m_start), Qt::ISODate).toLocalTime();
        if (!request->start.isValid())
            return refuse(QStringLiteral("--start: нужны дата и время, например 2026-12-08T10:00:00"));
    }
    if (parser.isSet(m_run)) {
        bool ok = false;
        request->run = parser.value(m_run).toInt(&ok);
        if (!ok || request->run < 1)
            return refuse(QStringLiteral("--run: нужен номер сеанса, 1 или больше"));
    }
    if (parser.isSet(m_separator)) {
        const QString value = parser.value(m_separator);
        if (!csv)
            return refuse(QStringLiteral("--separator задаётся только с --export-csv"));
        if (value != QStringLiteral(",") && value != QStringLiteral(";"))
            return refuse(QStringLiteral("--separator: нужен знак ',' или ';'"));
        request->separator = value[0];
    }
    if (parser.isSet(m_alarm)) {
        if (csv)
            return refuse(QStringLiteral("--alarm задаётся только с --report"));
        bool ok = false;
        const double value = parser.value(m_alarm).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return refuse(QStringLiteral("--alarm: нужна температура числом"));
        request->alarm = value;
    }
    return true;
}

int runReview(const ReviewRequest &request, QString *message) {
    ReviewStatus status = ReviewStatus::ok();
    switch (request.mode) {
    case ReviewRequest::Mode::ExportCsv:
        status = exportRequest(request);
        break;
    case ReviewRequest::Mode::Report: {
        ReportOptions options;
        options.run = request.run;
        options.start = request.start;
        options.alarm = request.alarm;
        status = writeReport(request.record, request.output, options);
        break;
    }
    case ReviewRequest::Mode::None:
        break;
    }
    if (!status) {
        if (message)
            *message = status.message();
        return Failed;
    }
    return Done;
}

} // namespace zorneta
