// The recording writer: received blocks into a recording file in a temporary
// folder, read back and checked.
//
// Input: one byte for how many bytes the file holds before it is opened
// (they must stay in front), then the received bytes; block sizes and the
// clock's steps come from the end.

#include "FuzzSupport.h"

#include "common/Formats.h"
#include "recording/RecordWriter.h"
#include "support/Doubles.h"

#include <QFile>

#include <fuzzer/FuzzedDataProvider.h>

using namespace zorneta;
using namespace zorneta::fuzzing;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto held = input.ConsumeIntegral<uint8_t>() % 64;

    const QString path = scratch().filePath(QStringLiteral("record.txt"));
    const QByteArray earlier = QByteArray(held, 'e') + (held ? "\n" : "");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), path);
        FUZZ_CHECK(file.write(earlier) == earlier.size(), path);
    }

    testing::FakeClock clock;
    const QDateTime start = clock.now();
    RecordWriter recording;
    FUZZ_CHECK(recording.open(path).isOk(), path);

    QByteArray expected;
    while (input.remaining_bytes() > 0) {
        const auto length = input.ConsumeIntegralInRange<size_t>(1, 400);
        const std::string piece = input.ConsumeBytesAsString(length);
        const QByteArray block(piece.data(), static_cast<qsizetype>(piece.size()));
        recording.writeReceived(block, elapsedText(start, clock.now()));
        expected += recordedBody(block);
        clock.advance(input.ConsumeIntegralInRange<qint64>(0, 90'000'000));
    }
    FUZZ_CHECK(!recording.failing(), path);
    recording.close();

    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
    const QByteArray all = file.readAll();
    FUZZ_CHECK(all.startsWith(earlier), QString::fromLatin1(all.left(80)));
    bool wellFormed = false;
    const QByteArray body = fileBody(all.mid(earlier.size()), &wellFormed);
    FUZZ_CHECK(wellFormed, QStringLiteral("a line without its stamp"));
    FUZZ_CHECK(body == expected,
               QStringLiteral("recorded %1\nreceived %2")
                   .arg(QString::fromLatin1(body.toHex(' ')), QString::fromLatin1(expected.toHex(' '))));
    return 0;
}
