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

constexpr auto kHelp = R"(Usage: tintwave-cli [options]
Turns a text into code in which every character has its own colour, running
as a gradient through up to ten colour slots: HTML font tags (the default),
HTML5 spans, BBCode, terminal colour (24-bit, 256, 16 or 8 colours), Minecraft
colour codes, MiniMessage, JSON text components, Discord and IRC chat colours or
a template of your own; as one line or as frames of a moving gradient.

Text:
  --text TEXT          The text to colour. Without it, all of standard input is
                       read as UTF-8 (invalid byte sequences become U+FFFD) and
                       one final line break (LF or CR LF) is removed.

Colours (slots 0 to 9; empty slots are skipped):
  --colors LIST        Up to ten comma-separated entries for slots 0, 1, ...:
                       #RRGGBB (hex digits in either case), or nothing for an
                       empty slot. Slots after the last entry are empty.
                       Example: --colors '#000000,,,,,#FFFFFF'
  --scheme NAME        The colours of the preset scheme named NAME (its menu
                       caption without "&", e.g. Spectrum), otherwise of the
                       first user scheme titled exactly NAME. Not together
                       with --colors.
  --list-schemes       Print the preset scheme names in menu order, then the
                       user scheme titles, one per line, and exit.
  Without --colors or --scheme every slot is empty.

Font and style:
  --face FACE          Font face, or None (default). Must not contain " < or >.
  --size SIZE          Relative size: None (default), +1 ... +7 or -1 ... -7.
  --bold               Bold.
  --italic             Italic.
  --underline          Underlined.
  --no-center          Do not centre the text (it is centred by default).
  --strikethrough      Struck through.
  --obfuscated         Obfuscated (scrambled in the game): only with mc-hex,
                       mc-x, mc-section, minimessage, minimessage-gradient and
                       json.

Format and gradient:
  --format FORMAT      font (default): HTML font tags, one per character, the
                       text as it is. span: HTML5, <span style="color:..."> per
                       character, the text escaped, the styles as CSS. bbcode:
                       [color=...] for forums. ansi: 24-bit colour escape
                       sequences for terminals. mc-hex: Minecraft &#RRGGBB.
                       mc-x: Minecraft &x&R&R&G&G&B&B. mc-section: the same
                       with the section sign (U+00A7) instead of &.
                       minimessage: <#RRGGBB> tags. minimessage-gradient:
                       MiniMessage <gradient:#RRGGBB:#RRGGBB> segments, the
                       colours worked out by the server (short code). json:
                       Minecraft JSON text components. template: the text of
                       --template. The three Minecraft code formats leave out
                       a section sign (U+00A7) of the text.
                       discord: an ansi code block in Discord's 8 colours.
                       irc: mIRC colour codes in the 16 colours all IRC
                       clients show alike.
                       From ansi on, the formats ignore --face, --size and
                       --no-center; --bold, --italic and --underline apply
                       (to template only as its text writes them; discord
                       has no italic).
  --template TEXT      With --format template: what is written per character
                       (or run): {c} the character, {hex} RRGGBB, {h1} ...
                       {h6} those six digits one by one, {r} {g} {b} the
                       components 0-255, {{ and }} a brace.
                       Example: --template '&#{hex}&l{c}'
  --blend BLEND        rgb (default): the classic component arithmetic.
                       oklab: a perceptual blend without muddy midpoints.
                       oklch: perceptual, the hue along the shorter arc.
  --spread SPREAD      classic (default): the last colour is only approached.
                       even: the first character has the first colour and the
                       last character exactly the last.
  --merge              One tag or escape sequence per run of characters of the
                       same colour (shorter output). Not with --format font.
  --skip-blanks        White space gets no colour code of its own and shows the
                       colour before it (shorter output; the other characters
                       keep their colours). Not with --format font.
  --per-line           Start the gradient afresh on every line of the text.
                       Not with --format font.

Fitting to a length:
  --step K             Each run of K characters of a line (default 1) takes one
                       colour, that of its middle character, and is written as
                       one run. Not with --format font.
  --max-length N       Keep the code (without its final line break) to at most
                       N UTF-16 code units, as the game counts: runs are merged
                       and the smallest step that fits is taken, named on
                       standard error ("3 characters per colour, 251 of 256").
                       Common limits: chat 256, sign line 384, anvil 50. Not
                       with --format font or --step.

Terminals and animation:
  --color-depth DEPTH  With --format ansi: 24 (default), any colour. 256:
                       xterm's colour cube and grey ramp. 16 or 8: the basic
                       terminal colours. Each character takes the nearest by
                       OKLab distance. auto: 24 when COLORTERM is truecolor or
                       24bit, else 256 when TERM contains 256color, else 16.
  --frames N           Write N lines (2 to 1000) for animation plugins: line j
                       is the gradient moved on by j/N of a cycle through the
                       colours and back to the first. Not with --format font,
                       nor with a text of more than one line.
  --animate SECONDS    With --format ansi, on a terminal: redraw the line in
                       place, 20 frames a second, for SECONDS (0: until
                       interrupted), the cursor hidden meanwhile and restored
                       with the colours at the end. --frames sets the frames of
                       a cycle (default 40). When standard output is not a
                       terminal the code is written once, as without it.
                       --max-length does not apply to discord, irc or ansi
                       below 24-bit colour.
Line breaks (LF, CR LF or CR) take no place in the gradient and are written as
each format's own: <br> and LF for span, a {"text":"\n"} component for json,
a reset and LF for ansi, LF for the others. With --format font they are
characters like any other.

Reading a code back:
  --decode             The text (from --text or standard input) is a coloured
                       code: read it and write the same characters, colours
                       and styles in --format (default font). Face, size and
                       centring come from the code where it has them (font,
                       span, bbcode), else from --face, --size, --no-center;
                       the styles are the code's and any given. --merge,
                       --skip-blanks and --page apply; --colors, --scheme,
                       --blend, --spread and --per-line do not.
  --from FORMAT        The format of the code: auto (default: told apart by
                       its syntax, named on standard error when the code also
                       looks like another), font, span, bbcode, ansi (24-bit,
                       256 and 16 colours), mc-hex, mc-x, mc-section (also
                       the legacy &0-&f and style codes), minimessage (named
                       colours and <gradient> too) or json.
  --palette            With --decode: print instead the options that make the
                       same colours, --colors '...' --blend B --spread S, on
                       one line. For a code Tintwave made they make the same
                       code again; otherwise they are the best fit with up to
                       ten colours, and standard error gives the largest
                       difference per channel.

Output:
  --page               Write the whole HTML page (Windows-1252, CR LF line ends;
                       characters outside Windows-1252 as &#NNN; references)
                       instead of the code line. Only with --format font or
                       span.
  --background COLOR   Page background as #RRGGBB (default #FFFFFF). Only with
                       --page.
  -o, --output FILE    Write to FILE instead of standard output. FILE is
                       replaced only once everything has been written; a
                       FIFO, device or /dev/stdout is written into as it is.
                       '-' means standard output.
  -h, --help           Show this help and exit.
  --version            Show the version and exit.

The code is written as UTF-8, followed by one LF.

Examples:
  tintwave-cli --text Hello --colors '#FF0000,#0000FF'
  tintwave-cli --text Hello --scheme Spectrum --format span --spread even
  tintwave-cli --text 'Hi [all]' --colors '#FF8000,#8000FF' --format bbcode
  tintwave-cli --scheme Copper --format ansi --blend oklab --merge < notes.txt
  tintwave-cli --text Hello --scheme Spectrum --format span --page -o hello.html
  tintwave-cli --text 'My Server' --scheme Spectrum --format mc-hex --bold
  tintwave-cli --text 'Welcome!' --colors '#FF8000,#8000FF' --format minimessage
  tintwave-cli --text Hi --colors '#FF0000,#0000FF' --format json --merge
  tintwave-cli --text Hi --scheme Copper --format template \
      --template '[c/{hex}:{c}]'
  printf 'One\nTwo\n' | tintwave-cli --scheme Spectrum --format mc-x --per-line
  tintwave-cli --text Hello --scheme Spectrum --format ansi --color-depth auto
  tintwave-cli --text 'Hi all' --colors '#FF0000,#0000FF' --format discord
  tintwave-cli --text 'Hi all' --colors '#FF0000,#0000FF' --format irc --bold
  tintwave-cli --text 'My Server' --scheme Spectrum --format mc-hex --frames 10
  tintwave-cli --text Loading --scheme Spectrum --format ansi --animate 5
  tintwave-cli --decode --text '&#FF0000H&#0000FFi' --format minimessage
  tintwave-cli --decode --palette < motd.txt
  tintwave-cli --text 'Welcome to the server!' --scheme Spectrum \
      --format minimessage-gradient --blend oklab
  tintwave-cli --text 'Welcome to the server!' --scheme Spectrum \
      --format mc-hex --max-length 256 --strikethrough

Exit status:
  0  success
  1  nothing to colour: "You must type something." or "You must select at
     least one color" on standard error, nothing written; with --decode also
     a code that cannot be read (its format unknown, or broken: "not valid
     json at character 17: ..."), nothing written; or, with
     --max-length, "cannot fit in N characters; the shortest form needs M"
  2  a usage error or output that cannot be written, named in one line on
     standard error
  128+N  --animate stopped by signal N (130 for Ctrl+C), terminal restored
)";

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
    if (s.maxLength > 0 && (o.depthFromTerminal || !engine::canFitLength(s))) {
        return QStringLiteral("--max-length does not apply to --format %1%2")
            .arg(engine::formatName(s.format),
                 ansi ? QStringLiteral(" below 24-bit colour") : QString());
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
         {&p.colors, &p.scheme, &p.blend, &p.spread, &p.perLine, &p.listSchemes}) {
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

QString helpText() {
    return QString::fromUtf8(kHelp);
}

QString versionText() {
    return QStringLiteral("tintwave-cli 1.0.0\n");
}

} // namespace tintwave::cli
