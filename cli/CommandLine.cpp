#include "cli/CommandLine.h"

#include "color/ColorProcs.h"
#include "engine/Decode.h"
#include "engine/LoopGradient.h"
#include "engine/TemplateWriter.h"
#include "palette/Palette.h"

#include <QCommandLineParser>
#include <tuple>

namespace tintwave::cli {

namespace {

constexpr int kMaxEntries = kSlotCount;

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

bool breaksTag(const QString& face) {
    return face.contains(QLatin1Char('"')) || face.contains(QLatin1Char('<')) ||
           face.contains(QLatin1Char('>'));
}

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption text{QStringLiteral("text"), {}, QStringLiteral("TEXT")};
    QCommandLineOption colors{QStringLiteral("colors"), {}, QStringLiteral("LIST")};
    QCommandLineOption scheme{QStringLiteral("scheme"), {}, QStringLiteral("NAME")};
    QCommandLineOption listSchemes{QStringLiteral("list-schemes")};
    QCommandLineOption face{QStringLiteral("face"), {}, QStringLiteral("FACE")};
    QCommandLineOption size{QStringLiteral("size"), {}, QStringLiteral("SIZE")};
    QCommandLineOption bold{QStringLiteral("bold")};
    QCommandLineOption italic{QStringLiteral("italic")};
    QCommandLineOption underline{QStringLiteral("underline")};
    QCommandLineOption noCenter{QStringLiteral("no-center")};
    QCommandLineOption format{QStringLiteral("format"), {}, QStringLiteral("FORMAT")};
    QCommandLineOption blend{QStringLiteral("blend"), {}, QStringLiteral("BLEND")};
    QCommandLineOption spread{QStringLiteral("spread"), {}, QStringLiteral("SPREAD")};
    QCommandLineOption templateText{QStringLiteral("template"), {}, QStringLiteral("TEXT")};
    QCommandLineOption merge{QStringLiteral("merge")};
    QCommandLineOption skipBlanks{QStringLiteral("skip-blanks")};
    QCommandLineOption perLine{QStringLiteral("per-line")};
    // Fitting to a length, and the styles only some formats have.
    QCommandLineOption step{QStringLiteral("step"), {}, QStringLiteral("K")};
    QCommandLineOption maxLength{QStringLiteral("max-length"), {}, QStringLiteral("N")};
    QCommandLineOption strikethrough{QStringLiteral("strikethrough")};
    QCommandLineOption obfuscated{QStringLiteral("obfuscated")};
    QCommandLineOption colorDepth{QStringLiteral("color-depth"), {}, QStringLiteral("DEPTH")};
    QCommandLineOption frames{QStringLiteral("frames"), {}, QStringLiteral("N")};
    QCommandLineOption animate{QStringLiteral("animate"), {}, QStringLiteral("SECONDS")};
    QCommandLineOption page{QStringLiteral("page")};
    QCommandLineOption background{QStringLiteral("background"), {}, QStringLiteral("COLOR")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")}, {}, QStringLiteral("FILE")};
    QCommandLineOption decode{QStringLiteral("decode")};
    QCommandLineOption from{QStringLiteral("from"), {}, QStringLiteral("FORMAT")};
    QCommandLineOption palette{QStringLiteral("palette")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};

    Parser() {
        parser.addOptions({text,   colors,     scheme,   listSchemes, face,         size,   bold,
                           italic, underline,  noCenter, format,      templateText, blend,  spread,
                           merge,  skipBlanks, perLine,  page,        background,   output, decode,
                           from,   palette,    help,     version});
        parser.addOptions(
            {step, maxLength, strikethrough, obfuscated, colorDepth, frames, animate});
    }
};

// The palette and style options; the first problem found, or an empty string.
QString readColorOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    if (cl.isSet(p.colors) && cl.isSet(p.scheme)) {
        return QStringLiteral("--scheme and --colors cannot be used together");
    }
    if (cl.isSet(p.colors)) {
        const ColorListResult list = parseColorList(cl.value(p.colors));
        if (!list.error.isEmpty()) {
            return list.error;
        }
        o.colors = list.slotValues;
    }
    if (cl.isSet(p.scheme)) {
        o.scheme = cl.value(p.scheme);
    }
    if (cl.isSet(p.face)) {
        o.style.face = cl.value(p.face);
        if (breaksTag(o.style.face)) {
            return QStringLiteral("--face must not contain \", < or >: %1").arg(o.style.face);
        }
    }
    if (cl.isSet(p.size)) {
        o.style.size = cl.value(p.size);
        if (!engine::sizeChoices().contains(o.style.size)) {
            return QStringLiteral("--size '%1' is not one of %2")
                .arg(o.style.size, engine::sizeChoices().join(QStringLiteral(", ")));
        }
    }
    o.style.bold = cl.isSet(p.bold);
    o.style.italic = cl.isSet(p.italic);
    o.style.underline = cl.isSet(p.underline);
    o.style.center = !cl.isSet(p.noCenter);
    return {};
}

// The value of a named choice such as --format, read by parse; a problem naming the option
// and its choices, or an empty string.
template <typename Value>
QString readChoice(const QCommandLineParser& cl, const QCommandLineOption& option,
                   std::optional<Value> (*parse)(QStringView), const QStringList& names,
                   Value& value) {
    if (!cl.isSet(option)) {
        return {};
    }
    const QString text = cl.value(option);
    const std::optional<Value> parsed = parse(text);
    if (!parsed) {
        return QStringLiteral("--%1 '%2' is not one of %3")
            .arg(option.names().constFirst(), text, names.join(QStringLiteral(", ")));
    }
    value = *parsed;
    return {};
}

// --template goes with --format template, and that needs it.
QString readTemplate(const Parser& p, engine::OutputChoices& s) {
    const bool wanted = s.format == engine::OutputFormat::Template;
    if (!p.parser.isSet(p.templateText)) {
        return wanted ? QStringLiteral("--format template needs --template") : QString();
    }
    if (!wanted) {
        return QStringLiteral("--template needs --format template");
    }
    s.templateText = p.parser.value(p.templateText);
    if (s.templateText.isEmpty()) {
        return QStringLiteral("--template is empty");
    }
    if (const auto error = engine::parseTemplate(s.templateText).error) {
        return QStringLiteral("--template has an ") + engine::describe(*error);
    }
    return {};
}

QString readFormatOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    engine::OutputChoices& s = o.style.output;
    QString error = readChoice(cl, p.format, engine::parseFormat, engine::formatNames(), s.format);
    if (error.isEmpty()) {
        error = readChoice(cl, p.blend, engine::parseBlend, engine::blendNames(), s.blend);
    }
    if (error.isEmpty()) {
        error = readChoice(cl, p.spread, engine::parseSpread, engine::spreadNames(), s.spread);
    }
    if (!error.isEmpty()) {
        return error;
    }
    s.merge = cl.isSet(p.merge);
    s.skipBlanks = cl.isSet(p.skipBlanks);
    o.style.perLine = cl.isSet(p.perLine);
    if (!engine::hasRunOptions(s.format)) {
        for (const auto& [set, option, why] :
             {std::tuple(s.merge, "--merge", "one tag per character"),
              std::tuple(s.skipBlanks, "--skip-blanks", "one tag per character"),
              std::tuple(o.style.perLine, "--per-line", "its line breaks are characters")}) {
            if (set) {
                return QStringLiteral("%1 does not apply to --format font (%2)")
                    .arg(QLatin1String(option), QLatin1String(why));
            }
        }
    }
    return readTemplate(p, s);
}

// --color-depth and --animate for ansi, --frames for every format but font.
QString readScreenOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    engine::OutputChoices& s = o.style.output;
    const bool ansi = s.format == engine::OutputFormat::Ansi;
    if (cl.isSet(p.colorDepth)) {
        o.depthFromTerminal = cl.value(p.colorDepth) == QLatin1String("auto");
        if (!o.depthFromTerminal) {
            const QString error =
                readChoice(cl, p.colorDepth, engine::parseDepth,
                           engine::depthNames() << QStringLiteral("auto"), s.colorDepth);
            if (!error.isEmpty()) {
                return error;
            }
        }
        if (!ansi) {
            return QStringLiteral("--color-depth needs --format ansi");
        }
    }
    if (cl.isSet(p.frames)) {
        bool number = false;
        o.style.frames = cl.value(p.frames).toLongLong(&number);
        if (!number || o.style.frames < 2 || o.style.frames > engine::kMostFrames) {
            return QStringLiteral("--frames '%1' is not a whole number from 2 to %2")
                .arg(cl.value(p.frames))
                .arg(engine::kMostFrames);
        }
        if (!engine::hasRunOptions(s.format) ||
            s.format == engine::OutputFormat::MiniMessageGradient) {
            return QStringLiteral("--frames does not apply to --format %1")
                .arg(engine::formatName(s.format));
        }
        if (cl.isSet(p.maxLength)) {
            return QStringLiteral("--frames and --max-length cannot be used together");
        }
    }
    if (cl.isSet(p.animate)) {
        bool number = false;
        const double seconds = cl.value(p.animate).toDouble(&number);
        if (!number || !(seconds >= 0 && seconds <= 86400)) {
            return QStringLiteral("--animate '%1' is not a number of seconds from 0 to 86400")
                .arg(cl.value(p.animate));
        }
        if (!ansi) {
            return QStringLiteral("--animate needs --format ansi");
        }
        o.animateSeconds = seconds;
    }
    return {};
}

// A whole number of at least 1 given to option; an empty string when it is one.
QString readCount(const QCommandLineParser& cl, const QCommandLineOption& option, int& value) {
    if (!cl.isSet(option)) {
        return {};
    }
    bool ok = false;
    const int parsed = cl.value(option).toInt(&ok);
    if (!ok || parsed < 1) {
        return QStringLiteral("--%1 '%2' is not a whole number of at least 1")
            .arg(option.names().constFirst(), cl.value(option));
    }
    value = parsed;
    return {};
}

// --step, --max-length, --strikethrough and --obfuscated.
QString readFitOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    engine::OutputChoices& s = o.style.output;
    s.strikethrough = cl.isSet(p.strikethrough);
    s.obfuscated = cl.isSet(p.obfuscated);
    if (s.obfuscated && !engine::hasObfuscated(s.format)) {
        return QStringLiteral("--obfuscated needs a game format (mc-hex, mc-x, mc-section, "
                              "minimessage, minimessage-gradient or json), not %1")
            .arg(engine::formatName(s.format));
    }
    QString error = readCount(cl, p.step, o.style.step);
    if (error.isEmpty()) {
        error = readCount(cl, p.maxLength, s.maxLength);
    }
    if (!error.isEmpty()) {
        return error;
    }
    if (cl.isSet(p.step) && cl.isSet(p.maxLength)) {
        return QStringLiteral("--step and --max-length cannot be used together");
    }
    if (!engine::hasRunOptions(s.format)) {
        for (const auto& option : {p.step, p.maxLength}) {
            if (cl.isSet(option)) {
                return QStringLiteral(
                           "--%1 does not apply to --format font (one tag per character)")
                    .arg(option.names().constFirst());
            }
        }
    }
    return {};
}

QString readOutputOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    o.page = cl.isSet(p.page);
    if (o.page && !engine::isHtml(o.style.output.format)) {
        return QStringLiteral("--page needs an HTML format (font or span), not %1")
            .arg(engine::formatName(o.style.output.format));
    }
    if (cl.isSet(p.background)) {
        if (!o.page) {
            return QStringLiteral("--background needs --page");
        }
        const std::optional<ColorValue> color = parseColor(cl.value(p.background));
        if (!color) {
            return QStringLiteral("--background '%1' is not #RRGGBB").arg(cl.value(p.background));
        }
        o.background = *color;
    }
    if (cl.isSet(p.output)) {
        o.outputPath = cl.value(p.output);
        if (o.outputPath.isEmpty()) {
            return QStringLiteral("-o needs a file name");
        }
        if (o.outputPath == QLatin1String("-")) {
            o.outputPath.clear(); // standard output, as for other tools
        }
    }
    return {};
}

// --decode and what goes with it: the colours come from the code, so the options that choose
// colours do not apply.
QString readDecodeOptions(const Parser& p, CliOptions& o) {
    const QCommandLineParser& cl = p.parser;
    o.decode = cl.isSet(p.decode);
    o.palette = cl.isSet(p.palette);
    if (!o.decode) {
        for (const QCommandLineOption* option : {&p.from, &p.palette}) {
            if (cl.isSet(*option)) {
                return QStringLiteral("--%1 needs --decode").arg(option->names().constFirst());
            }
        }
        return {};
    }
    for (const QCommandLineOption* option :
         {&p.colors, &p.scheme, &p.blend, &p.spread, &p.perLine, &p.listSchemes, &p.step,
          &p.maxLength, &p.frames, &p.animate}) {
        if (cl.isSet(*option)) {
            return QStringLiteral(
                       "--%1 does not apply to --decode (the colours come from the code)")
                .arg(option->names().constFirst());
        }
    }
    if (o.palette && o.page) {
        return QStringLiteral("--page does not apply to --palette (it prints options, not a code)");
    }
    if (cl.isSet(p.from) && cl.value(p.from) != QLatin1String("auto")) {
        const std::optional<engine::OutputFormat> from = engine::parseFormat(cl.value(p.from));
        if (!from || !engine::canDecode(*from)) {
            return QStringLiteral("--from '%1' is not one of auto, %2")
                .arg(cl.value(p.from), engine::decodableFormatNames().join(QStringLiteral(", ")));
        }
        o.from = from;
    }
    return {};
}

// Usage messages quote the arguments; a line break or other control character in one
// would split the one-line message (or rewrite the terminal), so those are spelled out.
QString oneLine(const QString& message) {
    QString out;
    out.reserve(message.size());
    for (QChar c : message) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029) {
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

ParseResult parseUnchecked(const QStringList& arguments) {
    ParseResult result;
    Parser p;
    if (!p.parser.parse(arguments)) {
        result.error = p.parser.errorText();
        return result;
    }
    CliOptions& o = result.options;
    if (p.parser.isSet(p.help)) {
        o.action = Action::Help;
        return result;
    }
    if (p.parser.isSet(p.version)) {
        o.action = Action::Version;
        return result;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("unexpected argument '%1' (give the text with --text)")
                           .arg(p.parser.positionalArguments().constFirst());
        return result;
    }
    if (p.parser.isSet(p.listSchemes)) {
        o.action = Action::ListSchemes;
    }
    if (p.parser.isSet(p.text)) {
        o.text = p.parser.value(p.text);
    }
    result.error = readColorOptions(p, o);
    if (result.error.isEmpty()) {
        result.error = readFormatOptions(p, o);
    }
    if (result.error.isEmpty()) {
        result.error = readFitOptions(p, o);
    }
    if (result.error.isEmpty()) {
        result.error = readScreenOptions(p, o);
    }
    if (result.error.isEmpty()) {
        result.error = readOutputOptions(p, o);
    }
    if (result.error.isEmpty()) {
        result.error = readDecodeOptions(p, o);
    }
    return result;
}

} // namespace

ParseResult parseArguments(const QStringList& arguments) {
    ParseResult result = parseUnchecked(arguments);
    result.error = oneLine(result.error);
    return result;
}

std::optional<ColorValue> parseColor(QStringView entry) {
    if (entry.size() != 7 || entry.front() != QLatin1Char('#')) {
        return std::nullopt;
    }
    int rgb[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int hi = hexDigit(entry[1 + 2 * i]);
        const int lo = hexDigit(entry[2 + 2 * i]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        rgb[i] = hi * 16 + lo;
    }
    return color::rgb(rgb[0], rgb[1], rgb[2]);
}

ColorListResult parseColorList(QStringView list) {
    ColorListResult result;
    result.slotValues.fill(palette::kEmptySlot);
    const auto entries = list.split(QLatin1Char(','));
    if (entries.size() > kMaxEntries) {
        result.error = QStringLiteral("--colors has %1 entries; at most %2 are allowed")
                           .arg(entries.size())
                           .arg(kMaxEntries);
        return result;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].isEmpty()) {
            continue;
        }
        const std::optional<ColorValue> color = parseColor(entries[i]);
        if (!color) {
            result.error = QStringLiteral("--colors entry %1 '%2' is not #RRGGBB or empty")
                               .arg(i + 1)
                               .arg(entries[i]);
            return result;
        }
        result.slotValues[std::size_t(i)] = *color;
    }
    return result;
}

QString versionText() {
    return QStringLiteral("tintwave-cli 1.0.0\n");
}

} // namespace tintwave::cli
