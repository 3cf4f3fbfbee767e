// decode on any bytes in any format that reads back: the first byte names the format, the
// rest is the code, decoded as UTF-8 (invalid sequences included). Beyond not crashing or
// hanging, a code that reads is written again in its own format and read once more: the
// same characters (line breaks as LF, terminal controls as the pictures the writer shows,
// controls left out of the other formats but font)
// with the colours the writer gave them: for Discord and IRC the nearest of their sets, and
// without the zero-width spaces between two backticks of one colour, which read back as the
// Discord writer's own.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Decode.h"
#include "engine/DecodedWriter.h"
#include "engine/Graphemes.h"
#include "fuzz/FuzzCheck.h"

#include <QStringList>

using namespace tintwave;
using namespace tintwave::engine;

namespace {

bool isLineBreak(QStringView cluster) {
    return cluster == u"\n" || cluster == u"\r\n" || cluster == u"\r";
}

// A control character as the terminal writer shows it.
char16_t shownOnTerminal(char16_t u) {
    if (u == u'\t' || (u >= 0x20 && u < 0x7F) || u > 0x9F) {
        return u;
    }
    return u < 0x20 ? char16_t(0x2400 + u) : u == 0x7F ? char16_t(0x2421) : char16_t(0xFFFD);
}

ColorValue nearestIn(const Nearest& nearest, ColorValue c) {
    const colorspace::Srgb8 shown = nearest({color::red(c), color::green(c), color::blue(c)}).color;
    return color::rgb(shown.red, shown.green, shown.blue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const QStringList names = decodableFormatNames();
    const OutputFormat format = *parseFormat(names[data[0] % names.size()]);
    const QString code =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const DecodeResult first = decode(code, format);
    if (!first.ok()) {
        FUZZ_CHECK(first.error->at >= 1 && first.decoded.text.isEmpty());
        return 0;
    }
    const DecodedText& d = first.decoded;
    FUZZ_CHECK(qsizetype(d.looks.size()) == d.text.size());
    ColorizeOptions options;
    options.output.format = format;
    const QString again = writeDecoded(d, options);
    if (again.isEmpty()) {
        return 0; // no text, or no colour to write it in
    }
    // What the writer was given, unit by unit: the colour of each character, or the one before.
    QString text;
    std::vector<ColorValue> colors;
    const bool minecraft = format == OutputFormat::McHex || format == OutputFormat::McX ||
                           format == OutputFormat::McSection;
    std::optional<Nearest> set;
    if (const std::optional<ColorSet> shown = shownColorSet(options.output)) {
        set.emplace(*shown);
    }
    const std::vector<qsizetype> bounds = graphemeBoundaries(d.text);
    ColorValue color = kNoColor;
    for (const Look& look : d.looks) {
        if (color == kNoColor) {
            color = look.color;
        }
    }
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const QStringView cluster =
            QStringView(d.text).sliced(bounds[k], bounds[k + 1] - bounds[k]);
        color = d.looks[std::size_t(bounds[k])].color == kNoColor
                    ? color
                    : d.looks[std::size_t(bounds[k])].color;
        const char16_t u = cluster.size() == 1 ? cluster.front().unicode() : u'x';
        const bool control = (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F;
        if (control && format != OutputFormat::Font && format != OutputFormat::Ansi) {
            continue; // left out
        }
        if (format != OutputFormat::Font && isLineBreak(cluster)) {
            text += u'\n';
            colors.push_back(kNoColor);
            continue;
        }
        for (const QChar c : cluster) {
            if (c == u'\u00A7' && minecraft) {
                continue; // the game cannot show it: left out, the colour stays
            }
            text += format == OutputFormat::Ansi || set ? QChar(shownOnTerminal(c.unicode())) : c;
            colors.push_back(set ? nearestIn(*set, color) : color);
        }
    }
    if (format == OutputFormat::Discord) {
        QString kept;
        std::vector<ColorValue> keptColors;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const auto at = [&](qsizetype k) {
                return colors[std::size_t(k)];
            };
            const bool writers = text[i] == u'\u200B' && i > 0 && i + 1 < text.size() &&
                                 text[i - 1] == u'`' && text[i + 1] == u'`' && at(i - 1) == at(i) &&
                                 at(i) == at(i + 1);
            if (!writers) {
                kept += text[i];
                keptColors.push_back(at(i));
            }
        }
        text = kept;
        colors = keptColors;
    }
    const DecodeResult second = decode(again, format);
    FUZZ_CHECK(second.ok());
    FUZZ_CHECK(second.decoded.text == text);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        FUZZ_CHECK(colors[i] == kNoColor || second.decoded.looks[i].color == colors[i]);
    }
    return 0;
}
