#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tintwave::engine {

// The markup written around the characters.
enum class OutputFormat {
    Font,   // classic HTML: one <font color="#RRGGBB"> per character, nothing escaped
    Span,   // HTML5: <span style="color:#RRGGBB">, the text escaped, the options as CSS
    BBCode, // forum markup: [color=#RRGGBB]
    Ansi,   // 24-bit terminal colour: ESC[38;2;R;G;Bm
    // Game chat: Minecraft's hex codes in three dialects, MiniMessage tags, JSON text
    // components, and the user's own template.
    McHex,       // &#RRGGBB
    McX,         // &x&R&R&G&G&B&B
    McSection,   // §x§R§R§G§G§B§B
    MiniMessage, // <#RRGGBB>
    // MiniMessage <gradient:#RRGGBB:#RRGGBB> segments: the server works out the colours, so
    // the code stays short (see engine/GradientWriter.h).
    MiniMessageGradient,
    Json,     // ["",{"text":"…","color":"#RRGGBB"},…]
    Template, // the template of OutputChoices::templateText per character or run
    // Text chat in a fixed set of colours.
    Discord, // an ansi code block with Discord's 8 colours
    Irc,     // mIRC colour codes, the 16 colours every client shows alike
};

// The space in which neighbouring colours are mixed.
enum class Blend {
    Rgb,   // the classic component arithmetic
    OkLab, // perceptual: no muddy midpoints
    OkLch, // perceptual, the hue along the shorter arc
};

// How the characters are spread over the colours.
enum class Spread {
    Classic, // segments of floor(N / (k - 1)) + 1 characters; the last colour is never reached
    Even,    // the first character has the first colour, the last exactly the last colour
};

// How many colours ANSI terminal output may use.
enum class ColorDepth {
    TrueColor, // any 24-bit colour: ESC[38;2;R;G;Bm
    Xterm256,  // ESC[38;5;Nm, the nearest of xterm's colour cube and grey ramp
    Xterm16,   // ESC[30..37m and ESC[90..97m, the nearest of xterm's 16 colours
    Xterm8,    // ESC[30..37m, the nearest of the first 8
};

// The face or size text that means no face / no size (exact, case-sensitive).
inline const QString kNone = QStringLiteral("None");
inline bool isNone(QStringView faceOrSize) {
    return faceOrSize == kNone;
}

// The faces and the relative sizes the program offers, kNone first.
const QStringList& faceChoices();
const QStringList& sizeChoices();

// The template the template format starts with until the user writes one.
inline const QString kDefaultTemplate = QStringLiteral("&#{hex}{c}");

// The output choices the user keeps between runs (the Options menu).
struct OutputChoices {
    OutputFormat format = OutputFormat::Font;
    Blend blend = Blend::Rgb;
    Spread spread = Spread::Classic;
    // One tag / escape sequence per run of equal colours. Never applies to Font, whose
    // tag per character is part of its format.
    bool merge = false;
    // A white-space character gets no colour code of its own and shows the colour written
    // before it; it keeps its place in the gradient. Never applies to Font.
    bool skipBlanks = false;
    // What the template format writes per character or run (see engine/TemplateWriter.h).
    QString templateText = kDefaultTemplate;
    // Struck-through and obfuscated (scrambled) text; obfuscated exists in the game formats
    // only (hasObfuscated).
    bool strikethrough = false;
    bool obfuscated = false;
    // The longest code, in UTF-16 code units, that the fitting to a length aims for; 0 = no
    // limit (see engine/FitLength.h).
    int maxLength = 0;
    // The colours the ANSI format may use.
    ColorDepth colorDepth = ColorDepth::TrueColor;
    friend bool operator==(const OutputChoices&, const OutputChoices&) = default;
};

// Face and size texts are written into the markup unchanged. The defaults give the classic
// output.
struct ColorizeOptions {
    QString face = kNone;
    QString size = kNone;
    bool center = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    OutputChoices output = {};
    // Every line starts the gradient afresh (not for Font, whose line breaks are characters).
    bool perLine = false;
    // Each run of this many characters of a line takes one colour, that of its middle
    // character, and is written as one run; 1 colours every character (not for Font).
    int step = 1;
    // From 2 on: that many lines, each the gradient moved on by one frame along the active
    // colours as a loop (see engine/LoopGradient.h). Not for Font.
    qsizetype frames = 0;
};

// Lower-case names as the command line and the settings store write them ("font", "span",
// "bbcode", "ansi", "mc-hex", "mc-x", "mc-section", "minimessage", "minimessage-gradient",
// "json", "template", "discord", "irc"; "rgb", "oklab", "oklch"; "classic", "even"; "24",
// "256", "16", "8"). Parsing is exact and case-sensitive; anything else gives nothing.
QString formatName(OutputFormat format);
QString blendName(Blend blend);
QString spreadName(Spread spread);
QString depthName(ColorDepth depth);
std::optional<OutputFormat> parseFormat(QStringView name);
std::optional<Blend> parseBlend(QStringView name);
std::optional<Spread> parseSpread(QStringView name);
std::optional<ColorDepth> parseDepth(QStringView name);

// Every name, in declaration order (for menus and usage messages).
QStringList formatNames();
QStringList blendNames();
QStringList spreadNames();
QStringList depthNames();

// Font and Span are HTML and belong in a page; the others are plain text.
constexpr bool isHtml(OutputFormat format) {
    return format == OutputFormat::Font || format == OutputFormat::Span;
}

// Whether the format takes the options about runs of characters: merging equal colours,
// skipping blanks, and line breaks of their own (no place in the gradient, --per-line).
// All formats do but the classic font tags, which colour each character on its own.
constexpr bool hasRunOptions(OutputFormat format) {
    return format != OutputFormat::Font;
}

// Whether the format has a form for obfuscated text: the game chat formats.
constexpr bool hasObfuscated(OutputFormat format) {
    switch (format) {
    case OutputFormat::McHex:
    case OutputFormat::McX:
    case OutputFormat::McSection:
    case OutputFormat::MiniMessage:
    case OutputFormat::MiniMessageGradient:
    case OutputFormat::Json:
        return true;
    default:
        return false;
    }
}

// Whether fitting to a length (maxLength) applies: to every format with run options (the
// classic font tags colour each character on their own, whatever the step).
constexpr bool canFitLength(const OutputChoices& output) {
    return hasRunOptions(output.format);
}

// The legacy font size 1 .. 7 that a size text selects: "+n" / "-n" counted from 3, a bare
// number as it is, clamped to 1 .. 7. Nothing for kNone or a text that is not a number.
std::optional<int> legacyFontSize(const QString& size);

} // namespace tintwave::engine
