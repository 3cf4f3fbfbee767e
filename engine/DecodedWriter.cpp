#include "engine/DecodedWriter.h"

#include "color/ColorProcs.h"
#include "engine/ChatWriters.h"
#include "engine/FontMarkupWriter.h"
#include "engine/GradientWriter.h"
#include "engine/Graphemes.h"
#include "engine/MarkupWriters.h"
#include "engine/PaletteWriters.h"
#include "engine/TemplateWriter.h"

namespace tintwave::engine {

namespace {

bool isLineBreak(QStringView cluster) {
    return cluster == u"\n" || cluster == u"\r\n" || cluster == u"\r";
}

// Control characters but tab and the line breaks: left out of every format but the classic
// font tags and ANSI, as colorize leaves them out.
bool isControl(QStringView cluster) {
    if (cluster.size() != 1) {
        return false;
    }
    const char16_t u = cluster.front().unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F;
}

bool isBlank(QStringView cluster) {
    return cluster.size() == 1 && cluster.front().isSpace();
}

bool carriesCentre(OutputFormat format) {
    return isHtml(format) || format == OutputFormat::BBCode;
}

template <typename Writer>
void writeAs(const DecodedText& decoded, const std::vector<qsizetype>& bounds,
             ColorValue firstColor, const ColorizeOptions& options, CodeSink& sink) {
    constexpr bool classic = std::is_same_v<Writer, FontMarkupWriter>;
    const bool skipBlanks = options.output.skipBlanks && !classic;
    const bool leaveOutControls = !classic && !std::is_same_v<Writer, AnsiWriter>;
    MarkupBuffer out(sink);
    Writer writer = [&] {
        if constexpr (std::is_same_v<Writer, MiniMessageGradientWriter>) {
            return Writer(options, out, ActiveColors{}); // the colours come per character
        } else {
            return Writer(options, out);
        }
    }();
    ColorValue color = firstColor;
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const qsizetype start = bounds[k];
        const QStringView cluster = QStringView(decoded.text).sliced(start, bounds[k + 1] - start);
        if (const ColorValue own = decoded.looks[std::size_t(start)].color; own != kNoColor) {
            color = own;
        }
        const colorspace::Srgb8 c{color::red(color), color::green(color), color::blue(color)};
        if constexpr (classic) {
            writer.character(cluster, c);
        } else if (isLineBreak(cluster)) {
            writer.lineBreak();
        } else if (leaveOutControls && isControl(cluster)) {
            // nothing written
        } else if (skipBlanks && isBlank(cluster)) {
            writer.blank(cluster);
        } else {
            writer.character(cluster, c);
        }
    }
    writer.finish();
    out.flush();
}

} // namespace

ColorizeOptions optionsFor(const DecodedText& decoded, ColorizeOptions given) {
    given.face = decoded.face != kNone ? decoded.face : given.face;
    given.size = decoded.size != kNone ? decoded.size : given.size;
    given.center = carriesCentre(decoded.format) ? decoded.center : given.center;
    quint8 common = kBold | kItalic | kUnderline;
    bool any = false;
    for (qsizetype i = 0; i < decoded.text.size(); ++i) {
        const QChar c = decoded.text[i];
        if (!c.isSpace() && !c.isLowSurrogate()) {
            common &= decoded.looks[std::size_t(i)].styles;
            any = true;
        }
    }
    given.bold = given.bold || (any && (common & kBold));
    given.italic = given.italic || (any && (common & kItalic));
    given.underline = given.underline || (any && (common & kUnderline));
    return given;
}

std::optional<ColorizeError> writeDecoded(const DecodedText& decoded,
                                          const ColorizeOptions& options, CodeSink& sink) {
    if (decoded.text.isEmpty()) {
        return ColorizeError::EmptyText;
    }
    const auto first = std::find_if(decoded.looks.begin(), decoded.looks.end(),
                                    [](const Look& l) { return l.color != kNoColor; });
    if (first == decoded.looks.end()) {
        return ColorizeError::NoColor;
    }
    const std::vector<qsizetype> bounds = graphemeBoundaries(decoded.text);
    switch (options.output.format) {
    case OutputFormat::Font:
        writeAs<FontMarkupWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Span:
        writeAs<SpanWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::BBCode:
        writeAs<BBCodeWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Ansi:
        writeAs<AnsiWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::McHex:
    case OutputFormat::McX:
    case OutputFormat::McSection:
        writeAs<MinecraftWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::MiniMessage:
        writeAs<MiniMessageWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::MiniMessageGradient:
        writeAs<MiniMessageGradientWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Json:
        writeAs<JsonWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Template:
        writeAs<TemplateWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Discord:
        writeAs<DiscordWriter>(decoded, bounds, first->color, options, sink);
        break;
    case OutputFormat::Irc:
        writeAs<IrcWriter>(decoded, bounds, first->color, options, sink);
        break;
    }
    return std::nullopt;
}

QString writeDecoded(const DecodedText& decoded, const ColorizeOptions& options) {
    QString code;
    StringSink sink(code);
    writeDecoded(decoded, options, sink);
    return code;
}

std::vector<ColorValue> gradientSamples(const DecodedText& decoded, OutputFormat format,
                                        bool blanks) {
    std::vector<ColorValue> samples;
    const std::vector<qsizetype> bounds = graphemeBoundaries(decoded.text);
    samples.reserve(bounds.size());
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const qsizetype start = bounds[k];
        const QStringView cluster = QStringView(decoded.text).sliced(start, bounds[k + 1] - start);
        if (format != OutputFormat::Font && isLineBreak(cluster)) {
            continue;
        }
        samples.push_back(!blanks && isBlank(cluster) ? kNoColor
                                                      : decoded.looks[std::size_t(start)].color);
    }
    return samples;
}

PaletteFit fitDecoded(const DecodedText& decoded) {
    PaletteFit fit = fitPalette(gradientSamples(decoded, decoded.format));
    if (!fit.exact) {
        PaletteFit withoutBlanks = fitPalette(gradientSamples(decoded, decoded.format, false));
        fit = withoutBlanks.exact ? withoutBlanks : fit;
    }
    return fit;
}

} // namespace tintwave::engine
