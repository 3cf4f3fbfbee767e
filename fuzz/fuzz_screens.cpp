// The formats with few colours (ANSI at every depth, Discord, IRC) and animation frames on
// arbitrary text, palettes and options. The leading bytes choose the slots, the format, depth,
// styles, merging, blanks and frames; the rest is the text, decoded as UTF-8. Beyond not
// crashing: every code in the output is one the target reads as meant (no text can start or
// extend one, a Discord block ends only at its end), every character shows a colour of the
// target's set, and there is one line per frame.
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "fuzz/FuzzCheck.h"

#include <QRegularExpression>
#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

using namespace tintwave;
using engine::ColorDepth;
using engine::OutputFormat;

namespace {

// The codes each target may hold, to be taken out before the rest is checked.
QRegularExpression codesOf(OutputFormat format, ColorDepth depth) {
    if (format == OutputFormat::Discord) {
        return QRegularExpression(QStringLiteral("\\x1b\\[0;(1;)?(4;)?3[0-7]m"));
    }
    if (format == OutputFormat::Irc) {
        // Two digits, never a comma after them; the empty bold pair before a comma.
        return QRegularExpression(
            QStringLiteral("\\x03(0[0-9]|1[0-5])(?!,)|\\x02\\x02(?=,)|[\\x02\\x1D\\x1F\\x0F]"));
    }
    const char* colour = depth == ColorDepth::TrueColor ? "38;2;\\d{1,3};\\d{1,3};\\d{1,3}"
                         : depth == ColorDepth::Xterm256
                             ? "38;5;(1[6-9]|[2-9]\\d|1\\d\\d|2[0-5]\\d)"
                         : depth == ColorDepth::Xterm16 ? "(3[0-7]|9[0-7])"
                                                        : "3[0-7]";
    return QRegularExpression(QStringLiteral("\\x1b\\[(%1|0|1?;?3?;?4?)m").arg(colour));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    SlotValues slotValues{};
    for (ColorValue& slot : slotValues) {
        slot = in.ConsumeBool() ? kButtonFace : in.ConsumeIntegralInRange<ColorValue>(0, kWhite);
    }
    const OutputFormat format =
        in.PickValueInArray({OutputFormat::Ansi, OutputFormat::Discord, OutputFormat::Irc});
    engine::ColorizeOptions o;
    o.output.format = format;
    o.output.colorDepth = ColorDepth(in.ConsumeIntegralInRange(0, 3));
    o.output.blend = engine::Blend(in.ConsumeIntegralInRange(0, 2));
    o.output.merge = in.ConsumeBool();
    o.output.skipBlanks = in.ConsumeBool();
    o.bold = in.ConsumeBool();
    o.underline = in.ConsumeBool();
    o.frames = in.ConsumeIntegralInRange(0, 4);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));

    const engine::ColorizeResult r = engine::colorize(text, slotValues, o);
    if (!r.ok()) {
        return 0;
    }
    const std::optional<engine::ColorSet> set =
        format == OutputFormat::Discord ? engine::ColorSet::Discord
        : format == OutputFormat::Irc   ? engine::ColorSet::Mirc
                                        : engine::colorSetOf(o.output.colorDepth);
    for (const engine::CharColor& c : r.chars) {
        const auto colors = set ? engine::colorsOf(*set) : std::span<const engine::SetColor>();
        FUZZ_CHECK(!set || std::any_of(colors.begin(), colors.end(), [&c](const auto& s) {
            return c.color == s.color.red + 256 * s.color.green + 65536 * s.color.blue;
        }));
    }
    QString rest = r.code;
    if (format == OutputFormat::Discord) {
        FUZZ_CHECK(rest.startsWith(QStringLiteral("```ansi\n")) &&
                   rest.indexOf(QStringLiteral("```"), 3) == rest.size() - 3);
        rest = rest.sliced(8, rest.size() - 12);
    }
    rest.remove(codesOf(format, o.output.colorDepth));
    FUZZ_CHECK(std::none_of(rest.begin(), rest.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7F;
    }));
    const bool oneLine = !text.contains(u'\n') && !text.contains(u'\r');
    FUZZ_CHECK(!oneLine || rest.count(u'\n') == std::max<qsizetype>(o.frames, 1) - 1);
    return 0;
}
