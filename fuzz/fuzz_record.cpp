// The recording writer: received blocks through the terminal output into a
// recording file in a temporary folder, read back and checked.
//
// Input: one byte for how many bytes the file holds before it is opened
// (they must stay in front), then the received bytes; block sizes and the
// clock's steps come from the end.

#include "FuzzSupport.h"

#include "acquisition/TerminalOutput.h"
#include "common/TextEncoding.h"
#include "recording/RecordingFile.h"
#include "session/SessionState.h"
#include "support/LogicRig.h"

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

    testing::LogicRig rig(testing::LogicRig::DoublesOnly);
    Services services{rig.port,   rig.chart,   rig.prompts,  rig.settings, rig.clock,
                      rig.beeper, rig.install, rig.launcher, rig.view};
    SessionState state;
    state.startTime = rig.clock.now();
    RecordingFile recording(services, state);
    TerminalOutput output(services, state, recording);
    FUZZ_CHECK(recording.openAt(path, QStringLiteral("record.txt")), path);

    QByteArray expected;
    while (input.remaining_bytes() > 0) {
        const auto length = input.ConsumeIntegralInRange<size_t>(1, 400);
        const std::string piece = input.ConsumeBytesAsString(length);
        const QByteArray block(piece.data(), static_cast<qsizetype>(piece.size()));
        QString text = decodeLineText(block);
        output.showTermText(rig.view.box, text);
        expected += recordedBody(block);
        rig.clock.advance(input.ConsumeIntegralInRange<qint64>(0, 90'000'000));
    }
    recording.closeRecording();
    FUZZ_CHECK(rig.prompts.shown.isEmpty(), rig.prompts.shown.constFirst().text);

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
