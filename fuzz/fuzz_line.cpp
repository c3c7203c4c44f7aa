// Bytes from the line through the port's framing into the communications
// handler, with the terminal box and a real recording file.
//
// Input: one options byte, then the received bytes. The sizes of the pieces
// the line delivers, the pauses between them (which hand out a held partial
// line) and the clock's steps come from the end of the input, so block
// boundaries are fuzzed together with the bytes.

#include "FuzzSupport.h"

#include "common/Formats.h"
#include "common/ItemNames.h"
#include "platform/qt/LineFramer.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QRegularExpression>

#include <fuzzer/FuzzedDataProvider.h>

using namespace zorneta;
using namespace zorneta::fuzzing;

namespace {

bool isWholeGroupBytes(const QByteArray &chunk) {
    static const QRegularExpression group(QStringLiteral("^[0-9]{4}\r\n$"));
    return group.match(QString::fromLatin1(chunk)).hasMatch();
}

// Whether a line the handler takes in becomes a reading: at most six
// characters that read as one number with only blanks around it, and not the
// tail of a group caught by the port's opening.
bool becomesReading(const QByteArray &chunk, bool firstSinceOpen) {
    if (firstSinceOpen && !isWholeGroupBytes(chunk))
        return false;
    if (chunk.size() > 6)
        return false;
    static const QRegularExpression number(QStringLiteral("^[ \t\r\n]*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)[ \t\r\n]*$"));
    return number.match(QString::fromLatin1(chunk)).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto options = input.ConsumeIntegral<uint8_t>();

    testing::LogicRig rig;
    SessionState &state = rig.state();
    static constexpr int ReadPeriods[] = {1, 1, 2, 5};
    state.readPeriod = ReadPeriods[options & 3];
    state.updatePeriod = (options & 4) ? 1 : 10;
    state.onlyEnd = (options & 8) != 0;
    if (options & 16)
        state.temperature = 100;
    const bool recording = (options & 32) != 0;
    const QString path = scratch().filePath(QStringLiteral("line.txt"));
    QFile::remove(path);
    if (recording)
        FUZZ_CHECK(rig.logic->recording().openAt(path, QStringLiteral("line.txt")), path);
    rig.open();
    FUZZ_CHECK(rig.port.portOpen(), QString());

    LineFramer framer;
    QByteArray fed;          // what the line delivered to the framing
    QByteArray framed;       // the chunks the framing made, in order
    QByteArray expectedBody; // what the recording file must hold
    qint64 expectedPoints = 0;
    bool firstSinceOpen = true;

    auto deliver = [&](const QByteArray &chunk) {
        FUZZ_CHECK(!chunk.isEmpty(), QString());
        framed += chunk;
        if (!rig.port.portOpen())
            return; // a closed port drops what is still on its way
        const bool takenIn = state.commEventCount % state.readPeriod == 0;
        rig.port.firstLine = firstSinceOpen;
        rig.port.receive(chunk);
        // Every line is recorded and shown; the read period thins the table.
        if (takenIn && becomesReading(chunk, firstSinceOpen))
            ++expectedPoints;
        if (rig.logic->recording().isOpen())
            expectedBody += recordedBody(chunk);
        FUZZ_CHECK(rig.view.panelText(panel::Counter) == QString::number(state.pointCount),
                   rig.view.panelText(panel::Counter));
        FUZZ_CHECK(rig.view.box.contents.size() <= TerminalOutput::MaxBoxLength + 2 * chunk.size(),
                   QString::number(rig.view.box.contents.size()));
        firstSinceOpen = false;
        FUZZ_CHECK(state.pointCount == expectedPoints, QStringLiteral("%1 readings, %2 expected from %3")
                                                           .arg(state.pointCount)
                                                           .arg(expectedPoints)
                                                           .arg(QString::fromLatin1(chunk.toHex(' '))));
    };

    while (input.remaining_bytes() > 0) {
        const auto length = input.ConsumeIntegralInRange<size_t>(1, 300);
        const std::string piece = input.ConsumeBytesAsString(length);
        const QByteArray bytes(piece.data(), static_cast<qsizetype>(piece.size()));
        fed += bytes;
        const QList<QByteArray> chunks = framer.receive(bytes);
        for (const QByteArray &chunk : chunks) {
            FUZZ_CHECK(chunk.endsWith('\n') || chunk.size() > LineFramer::MaxUnterminatedBytes,
                       QString::fromLatin1(chunk.toHex(' ')));
            FUZZ_CHECK(chunk.indexOf('\n') == chunk.size() - 1 || !chunk.contains('\n'),
                       QString::fromLatin1(chunk.toHex(' ')));
            deliver(chunk);
        }
        rig.clock.advance(input.ConsumeIntegralInRange<qint64>(0, 4000));
        // A pause on the line hands out a partial line.
        if (input.ConsumeBool() && framer.holding())
            deliver(framer.takeHeld());
    }
    if (framer.holding())
        deliver(framer.takeHeld());
    FUZZ_CHECK(framed == fed, QStringLiteral("framing lost or added bytes"));

    // The only message a stream of data can raise is the thermocouple break.
    for (const auto &shown : rig.prompts.shown)
        FUZZ_CHECK(shown.title == QStringLiteral("Зорнета:  Внимание - неисправность !"), shown.title + shown.text);
    FUZZ_CHECK(rig.view.alarmsShown <= ReadingPipeline::MaxAlarms, QString::number(rig.view.alarmsShown));
    FUZZ_CHECK(state.readings.lastColumn() >= state.pointCount, QString::number(state.readings.lastColumn()));

    if (recording) {
        FUZZ_CHECK(rig.logic->recording().isOpen(), QStringLiteral("the recording closed itself"));
        rig.logic->unload();
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
        bool wellFormed = false;
        const QByteArray body = fileBody(file.readAll(), &wellFormed);
        FUZZ_CHECK(wellFormed, QStringLiteral("a line without its stamp"));
        FUZZ_CHECK(body == expectedBody,
                   QStringLiteral("recorded %1\nreceived %2")
                       .arg(QString::fromLatin1(body.toHex(' ')), QString::fromLatin1(expectedBody.toHex(' '))));
    }
    return 0;
}
