// The parsers of what the user types: the alarm temperature entry, the graph
// settings dialog's fields, the port's line settings text and the port
// settings dialog's reading of it. The first byte chooses the parser; the
// rest is the text (UTF-8), or texts and list positions.

#include "FuzzSupport.h"

#include "common/Formats.h"
#include "platform/qt/QtSerialPort.h"
#include "support/LogicRig.h"

#include <QRegularExpression>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

using namespace zorneta;
using namespace zorneta::fuzzing;

namespace {

QString textOf(FuzzedDataProvider &input, size_t maxLength) {
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void alarmTemperature(FuzzedDataProvider &input) {
    const QString typed = textOf(input, 200);
    const double value = AlarmTemperature::typedNumber(typed);
    FUZZ_CHECK(!std::isnan(value), typed);
    // A plain whole number at the start, up to 15 digits, reads exactly.
    QString compact = typed;
    compact.remove(u' ').remove(u'\t');
    static const QRegularExpression whole(QStringLiteral("^([+-]?[0-9]{1,15})(?![0-9.eE])"));
    const QRegularExpressionMatch match = whole.match(compact);
    if (match.hasMatch())
        FUZZ_CHECK(value == match.captured(1).toDouble(), typed);

    const std::optional<qint64> rounded = AlarmTemperature::roundedTemperature(value);
    if (rounded)
        FUZZ_CHECK(*rounded >= INT32_MIN && *rounded <= INT32_MAX && std::fabs(*rounded - value) <= 0.5, typed);

    // The same text answered in the input box.
    testing::LogicRig rig;
    SessionState &state = rig.state();
    state.temperature = 321;
    rig.prompts.inputAnswers.push_back(typed);
    rig.logic->alarmTemperature().openAlarmTemperature();
    if (!rounded) {
        FUZZ_CHECK(state.temperature == 321 && rig.prompts.shown.size() == 2, typed);
    } else if (*rounded == 0) {
        FUZZ_CHECK(state.temperature == AlarmTemperature::NoTemperature, typed);
    } else {
        FUZZ_CHECK(state.temperature == *rounded, typed);
        FUZZ_CHECK(rig.view.sig == AlarmTemperature::sigText(*rounded), rig.view.sig);
    }
}

void graphFields(FuzzedDataProvider &input) {
    testing::LogicRig rig;
    GraphSettings &graph = rig.logic->graphSettings();
    graph.load();
    graph.updatePeriodPosition = input.ConsumeIntegralInRange(-2, 7);
    graph.readPeriodPosition = input.ConsumeIntegralInRange(-2, 7);
    graph.curveColourPosition = input.ConsumeIntegralInRange(-2, 5);
    graph.curveWidthPosition = input.ConsumeIntegralInRange(-2, 6);
    graph.xDivisionsPosition = input.ConsumeIntegralInRange(-2, 7);
    graph.alarmTemperatureText = textOf(input, 60);
    graph.cutStartText = textOf(input, 60);
    graph.endPointsText = textOf(input, 60);
    const QString start = graph.cutStartText;
    const QString end = graph.endPointsText;
    rig.settings.values.clear();
    const bool confirmed = graph.confirm();

    auto fits = [](const QString &text) {
        const double v = std::round(leadingNumber(text));
        return v >= -32768 && v <= 32767;
    };
    FUZZ_CHECK(confirmed == (fits(start) && fits(end)), start + u'|' + end);
    const SessionState &s = rig.state();
    if (fits(start))
        FUZZ_CHECK(s.cutStartPoints == std::round(leadingNumber(start)), start);
    if (fits(end))
        FUZZ_CHECK(s.endPoints == std::round(leadingNumber(end)), end);
    // Nothing is stored when OK is refused; everything when it is taken.
    FUZZ_CHECK(confirmed ? rig.settings.values.size() >= 9 : rig.settings.values.isEmpty(),
               QString::number(rig.settings.values.size()));
    FUZZ_CHECK(confirmed || rig.prompts.shown.size() == 1, QString::number(rig.prompts.shown.size()));
    FUZZ_CHECK(s.readPeriod > 0 && s.updatePeriod > 0 && s.xTickDivisions > 0, QString());
    FUZZ_CHECK(rig.view.sig.endsWith(QStringLiteral("  град")), rig.view.sig);
}

void lineSettings(FuzzedDataProvider &input) {
    const QString text = textOf(input, 100);
    QString error;
    const auto parsed = QtSerialPort::parseSettings(text, &error);
    if (!parsed) {
        FUZZ_CHECK(error.startsWith(QStringLiteral("Недопустимые параметры порта: ")), error);
        return;
    }
    const QString canonical = parsed->text();
    FUZZ_CHECK(QtSerialPort::parseSettings(canonical) == parsed, canonical);

    // The port settings dialog shows these settings; OK unchanged gives them back.
    testing::LogicRig rig;
    rig.port.lineSettings = canonical;
    PortProperties &dialog = rig.logic->portProperties();
    dialog.load();
    const QString chosen = dialog.chosenSettings();
    FUZZ_CHECK(QtSerialPort::parseSettings(chosen) == parsed, canonical + QStringLiteral(" -> ") + chosen);
}

void dialogReading(FuzzedDataProvider &input) {
    // Whatever text a port reports, the dialog reads it without harm.
    testing::LogicRig rig;
    rig.port.lineSettings = textOf(input, 100);
    PortProperties &dialog = rig.logic->portProperties();
    dialog.load();
    FUZZ_CHECK(dialog.speedPosition >= -1 && dialog.speedPosition < PortProperties::speedEntries().size(), QString());
    FUZZ_CHECK(dialog.parityPosition >= -1 && dialog.parityPosition < PortProperties::parityEntries().size(),
               QString());
    FUZZ_CHECK(dialog.dataBitsPosition >= -1 && dialog.dataBitsPosition < PortProperties::dataBitsEntries().size(),
               QString());
    FUZZ_CHECK(dialog.stopBitsPosition >= -1 && dialog.stopBitsPosition < PortProperties::stopBitsEntries().size(),
               QString());
    (void)dialog.chosenSettings();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegral<uint8_t>() % 4) {
    case 0:
        alarmTemperature(input);
        break;
    case 1:
        graphFields(input);
        break;
    case 2:
        lineSettings(input);
        break;
    default:
        dialogReading(input);
        break;
    }
    return 0;
}
