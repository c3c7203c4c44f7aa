// A recording read back for review: any bytes as the file, then its runs'
// summaries, thinned curves over stretches and the CSV export, checked
// against what the reader says it holds.
//
// Input: the first byte caps the entries (so the "too big" refusal is
// reached), two bytes choose a stretch and a width; the rest is the file.

#include "FuzzSupport.h"

#include "review/CsvExport.h"
#include "review/FiringRecord.h"

#include <QBuffer>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

using namespace zorneta;
using namespace zorneta::fuzzing;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto cap = input.ConsumeIntegral<uint8_t>();
    const int columns = input.ConsumeIntegralInRange(1, 40);
    const auto stretch = input.ConsumeIntegral<uint8_t>();
    QByteArray bytes = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    QBuffer file(&bytes);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), QStringLiteral("buffer"));

    FiringRecord record(cap < 128 ? qint64(cap) + 1 : FiringRecord::DefaultMaxEntries);
    const ReviewStatus loaded = record.load(file, QStringLiteral("fuzz.txt"));
    if (!loaded) {
        FUZZ_CHECK(!loaded.message().isEmpty(), QStringLiteral("a refusal without a message"));
        FUZZ_CHECK(record.entryCount() == 0 && record.runs().empty(), loaded.message());
        return 0;
    }

    qint64 entries = 0, skipped = 0;
    for (const RecordRun &run : record.runs()) {
        const QString where = QStringLiteral("run %1").arg(run.number);
        FUZZ_CHECK(run.first == entries, where);
        FUZZ_CHECK(run.readings + run.breaks == run.count, where);
        entries += run.count;
        skipped += run.skipped;
        for (qint64 i = run.first + 1; i < run.first + run.count; ++i)
            FUZZ_CHECK(record.seconds(i) >= record.seconds(i - 1), where + QStringLiteral(": time went back"));

        const RunSummary summary = record.summary(run.number, 500.0);
        FUZZ_CHECK(summary.readings == run.readings && summary.breaks == run.breaks, where);
        FUZZ_CHECK(qint64(summary.breakTimes.size()) == run.breaks, where);
        FUZZ_CHECK(summary.highest.has_value() == (run.readings > 0), where);
        if (summary.highest)
            FUZZ_CHECK(*summary.highest != FiringRecord::BreakValue && !std::isnan(*summary.highest), where);
        FUZZ_CHECK(!summary.secondsAtOrAbove || *summary.secondsAtOrAbove >= 0, where);

        const qint32 span = run.endSeconds - run.startSeconds;
        const qint32 from = run.startSeconds + qint32(qint64(span) * (stretch >> 4) / 16);
        const qint32 to = from + qint32(qint64(span) * ((stretch & 15) + 1) / 16);
        const QList<CurvePoint> points = record.curve(run.number, from, to, columns);
        FUZZ_CHECK(points.size() <= 2 * columns + 2, where + QStringLiteral(": %1 points").arg(points.size()));
        for (qsizetype k = 0; k < points.size(); ++k) {
            FUZZ_CHECK(points[k].seconds >= from && points[k].seconds <= to, where);
            FUZZ_CHECK(!std::isnan(points[k].value) && points[k].value != FiringRecord::BreakValue, where);
            if (k > 0)
                FUZZ_CHECK(points[k].seconds >= points[k - 1].seconds, where);
        }
    }
    FUZZ_CHECK(entries == record.entryCount(), QStringLiteral("entries"));
    if (!record.runs().empty())
        FUZZ_CHECK(skipped == record.skippedLines(), QStringLiteral("skipped lines"));

    // One CSV row per entry under the header.
    QByteArray csv;
    QBuffer out(&csv);
    FUZZ_CHECK(out.open(QIODevice::WriteOnly), QStringLiteral("csv buffer"));
    FUZZ_CHECK(bool(exportCsv(record, CsvOptions{}, out)), QStringLiteral("export"));
    FUZZ_CHECK(csv.count("\r\n") == record.entryCount() + 1, QString::fromUtf8(csv.left(200)));
    return 0;
}
