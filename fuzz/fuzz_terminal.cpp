// The terminal box alone: received blocks shown by the box's rules, and the
// record form of the same blocks.
//
// Input: one byte for how much text the box holds already (so its trimming
// is reached), then the received bytes; the block sizes come from the end.

#include "FuzzSupport.h"

#include "acquisition/TerminalOutput.h"
#include "common/TextEncoding.h"
#include "common/LineForms.h"
#include "support/LogicRig.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace zorneta;
using namespace zorneta::fuzzing;

namespace {

// Every CR is followed by an LF and every LF follows a CR.
bool lineEndsPaired(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto filled = input.ConsumeIntegral<uint8_t>();

    testing::LogicRig rig(testing::LogicRig::DoublesOnly);
    Services services{rig.port,   rig.chart,   rig.prompts,  rig.settings, rig.clock,
                      rig.beeper, rig.install, rig.launcher, rig.view};
    TerminalOutput output(services);

    testing::MemoryTextBox &box = rig.view.box;
    const QString before = QString(filled * 80, u'x') + QStringLiteral("\r\n");
    box.setText(before);

    const QString stamp = QStringLiteral("00:00:00");
    QString received;        // everything received, decoded
    QString boxForm;         // the box form of every block, joined
    QString recordForm;      // the record form of every block, joined
    bool afterCr = false;    // carried from block to block as the routine does
    bool atLineStart = true; // likewise
    while (input.remaining_bytes() > 0) {
        const auto length = input.ConsumeIntegralInRange<size_t>(1, 400);
        const std::string piece = input.ConsumeBytesAsString(length);
        const QString block = decodeLineText(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
        FUZZ_CHECK(block.size() == static_cast<qsizetype>(piece.size()), block);
        received += block;

        const QString shown = boxFormOf(block, nullptr, &afterCr);
        FUZZ_CHECK(!shown.contains(u'\b'), shown);
        FUZZ_CHECK(lineEndsPaired(shown), shown);
        boxForm += shown;
        const QString record = recordFormOf(shown, stamp, &atLineStart);
        FUZZ_CHECK(!record.contains(u'\r'), record);
        FUZZ_CHECK(record.count(u'\n') == shown.count(QStringLiteral("\r\n")), record);
        recordForm += record;

        output.showLine(box, QByteArray(piece.data(), static_cast<qsizetype>(piece.size())));
        FUZZ_CHECK(box.contents.size() <= TerminalOutput::MaxBoxLength + shown.size(),
                   QString::number(box.contents.size()));
        FUZZ_CHECK(box.selectionStart == box.contents.size(), QString::number(box.selectionStart));
    }

    // Without backspaces, where the line cut the text into blocks does not
    // matter, and the box ends with everything received.
    if (!received.contains(u'\b')) {
        FUZZ_CHECK(boxForm == boxFormOf(received), boxForm);
        bool wholeAtLineStart = true;
        FUZZ_CHECK(recordForm == recordFormOf(boxForm, stamp, &wholeAtLineStart), recordForm);
        FUZZ_CHECK((before + boxForm).endsWith(box.contents), box.contents);
        FUZZ_CHECK(box.contents.size() >= std::min<qsizetype>(before.size() + boxForm.size(),
                                                              TerminalOutput::MaxBoxLength - TerminalOutput::KeepFrom),
                   QString::number(box.contents.size()));
    }
    return 0;
}
