#include "engine/Decode.h"

#include "color/ColorProcs.h"
#include "engine/DecodeSupport.h"

#include <QRegularExpression>
#include <array>

namespace tintwave::engine {

namespace decoding {

namespace {

struct NamedColor {
    const char16_t* name;
    int rgb; // 0xRRGGBB
};

constexpr ColorValue fromRgb(int rgb) {
    return color::rgb(rgb >> 16, rgb >> 8 & 255, rgb & 255);
}

// The game's sixteen colours, in the order of their codes 0 .. f.
constexpr std::array<NamedColor, 16> kChatColors = {{
    {u"black", 0x000000},
    {u"dark_blue", 0x0000AA},
    {u"dark_green", 0x00AA00},
    {u"dark_aqua", 0x00AAAA},
    {u"dark_red", 0xAA0000},
    {u"dark_purple", 0xAA00AA},
    {u"gold", 0xFFAA00},
    {u"gray", 0xAAAAAA},
    {u"dark_gray", 0x555555},
    {u"blue", 0x5555FF},
    {u"green", 0x55FF55},
    {u"aqua", 0x55FFFF},
    {u"red", 0xFF5555},
    {u"light_purple", 0xFF55FF},
    {u"yellow", 0xFFFF55},
    {u"white", 0xFFFFFF},
}};

constexpr std::array<NamedColor, 16> kHtmlColors = {{
    {u"black", 0x000000},
    {u"silver", 0xC0C0C0},
    {u"gray", 0x808080},
    {u"white", 0xFFFFFF},
    {u"maroon", 0x800000},
    {u"red", 0xFF0000},
    {u"purple", 0x800080},
    {u"fuchsia", 0xFF00FF},
    {u"green", 0x008000},
    {u"lime", 0x00FF00},
    {u"olive", 0x808000},
    {u"yellow", 0xFFFF00},
    {u"navy", 0x000080},
    {u"blue", 0x0000FF},
    {u"teal", 0x008080},
    {u"aqua", 0x00FFFF},
}};

// xterm's sixteen system colours.
constexpr std::array<int, 16> kXtermSystem = {
    0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD, 0x00CDCD, 0xE5E5E5,
    0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00, 0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

template <std::size_t N>
std::optional<ColorValue> lookUp(const std::array<NamedColor, N>& table, QStringView name) {
    for (const NamedColor& c : table) {
        if (name.compare(QStringView(c.name), Qt::CaseInsensitive) == 0) {
            return fromRgb(c.rgb);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ColorValue> parseHex6(QStringView digits) {
    if (digits.size() != 6) {
        return std::nullopt;
    }
    int value = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * 16 + d;
    }
    return fromRgb(value);
}

std::optional<ColorValue> parseHtmlColor(QStringView value) {
    value = value.trimmed();
    if (value.startsWith(u'#') && value.size() == 4) {
        const char16_t r = value[1].unicode(), g = value[2].unicode(), b = value[3].unicode();
        const char16_t digits[] = {r, r, g, g, b, b};
        return parseHex6(QStringView(digits, 6));
    }
    if (value.startsWith(u'#')) {
        return parseHex6(value.sliced(1));
    }
    return lookUp(kHtmlColors, value);
}

std::optional<ColorValue> chatColorNamed(QStringView name) {
    if (name.compare(u"grey", Qt::CaseInsensitive) == 0) {
        name = u"gray";
    } else if (name.compare(u"dark_grey", Qt::CaseInsensitive) == 0) {
        name = u"dark_gray";
    }
    return lookUp(kChatColors, name);
}

ColorValue legacyChatColor(int code) {
    return fromRgb(kChatColors[std::size_t(code)].rgb);
}

SgrParameters sgrParameters(QStringView parameters) {
    SgrParameters sgr;
    int value = 0;
    for (qsizetype i = 0; i <= parameters.size(); ++i) {
        const QChar c = i < parameters.size() ? parameters[i] : QChar(u';');
        if (c == u';' || c == u':') {
            if (sgr.count < int(sgr.values.size())) {
                sgr.values[std::size_t(sgr.count++)] = value;
            }
            value = 0;
        } else if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            value = std::min(value * 10 + (c.unicode() - u'0'), 1 << 16);
        }
    }
    return sgr;
}

qsizetype controlSequenceEnd(QStringView code, qsizetype at, qsizetype end) {
    qsizetype j = at + 2;
    while (j < end && code[j].unicode() >= 0x20 && code[j].unicode() <= 0x3F) {
        ++j;
    }
    return j;
}

ColorValue xtermColor(int index) {
    if (index < 16) {
        return fromRgb(kXtermSystem[std::size_t(index)]);
    }
    if (index >= 232) {
        const int grey = 8 + 10 * (index - 232);
        return color::rgb(grey, grey, grey);
    }
    const auto level = [](int step) {
        return step == 0 ? 0 : 55 + 40 * step;
    };
    const int cube = index - 16;
    return color::rgb(level(cube / 36), level(cube / 6 % 6), level(cube % 6));
}

qsizetype readEntity(QStringView code, qsizetype at, QString& out) {
    // No entity is longer than ten units: the search stops there, so a run of & stays linear.
    const qsizetype semicolon =
        code.sliced(at + 1, std::min<qsizetype>(10, code.size() - at - 1)).indexOf(u';');
    if (semicolon < 0) {
        return 0;
    }
    const QStringView name = code.sliced(at + 1, semicolon);
    const qsizetype length = semicolon + 2;
    static const std::array<std::pair<QStringView, char16_t>, 6> named = {{
        {u"amp", u'&'},
        {u"lt", u'<'},
        {u"gt", u'>'},
        {u"quot", u'"'},
        {u"apos", u'\''},
        {u"nbsp", u'\u00A0'},
    }};
    for (const auto& [entity, unit] : named) {
        if (name == entity) {
            out += QChar(unit);
            return length;
        }
    }
    if (name.size() < 2 || name[0] != u'#') {
        return 0;
    }
    bool ok = false;
    const bool hex = name[1] == u'x' || name[1] == u'X';
    const uint value = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) {
        return 0;
    }
    const char32_t point = value;
    out += QString::fromUcs4(&point, 1);
    return length;
}

} // namespace decoding

QString DecodeError::message() const {
    return QStringLiteral("not valid %1 at character %2: %3")
        .arg(formatName(format))
        .arg(at)
        .arg(what);
}

QStringList decodableFormatNames() {
    QStringList names;
    for (const QString& name : formatNames()) {
        if (canDecode(*parseFormat(name))) {
            names << name;
        }
    }
    return names;
}

DecodeResult decode(QStringView code, OutputFormat format) {
    using namespace decoding;
    DecodeResult result;
    result.decoded.format = format;
    std::optional<Failure> failure;
    switch (format) {
    case OutputFormat::Font:
    case OutputFormat::Span:
        failure = decodeHtml(code, result.decoded);
        break;
    case OutputFormat::BBCode:
        failure = decodeBBCode(code, result.decoded);
        break;
    case OutputFormat::Ansi:
        failure = decodeAnsi(code, result.decoded);
        break;
    case OutputFormat::McHex:
    case OutputFormat::McX:
    case OutputFormat::McSection:
        failure = decodeMinecraft(code, result.decoded);
        break;
    case OutputFormat::MiniMessage:
        failure = decodeMiniMessage(code, result.decoded);
        break;
    case OutputFormat::Json:
        failure = decodeJson(code, result.decoded);
        break;
    case OutputFormat::Template:
        failure = Failure{0, QStringLiteral("a template has no fixed syntax to read")};
        break;
    case OutputFormat::MiniMessageGradient:
        failure = Failure{0, QStringLiteral("gradient segments are not read back")};
        break;
    case OutputFormat::Discord:
        failure = decodeDiscord(code, result.decoded);
        break;
    case OutputFormat::Irc:
        failure = decodeIrc(code, result.decoded);
        break;
    }
    if (failure) {
        // Characters, not code units: a surrogate pair before the place counts once.
        const qsizetype offset = std::clamp<qsizetype>(failure->offset, 0, code.size());
        const qsizetype at = code.first(offset).toUcs4().size() + 1;
        result.decoded = DecodedText();
        result.decoded.format = format;
        result.error = DecodeError{format, at, failure->what};
    }
    return result;
}

namespace {

// Discord's block: a first line, blanks before it aside, "```ansi" and its line break.
bool opensDiscordBlock(QStringView code) {
    const QStringView rest = code.trimmed();
    return rest.startsWith(u"```ansi") &&
           (decoding::holdsAt(rest, 7, u"\n") || decoding::holdsAt(rest, 7, u"\r\n"));
}

// IRC's style controls (bold, italic, underline, reset) in a code without escape sequences,
// where they would be a terminal's.
bool hasIrcStyles(QStringView code) {
    bool styles = false;
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        if (u == 0x1B) {
            return false;
        }
        styles = styles || u == 0x02 || u == 0x1D || u == 0x1F || u == 0x0F;
    }
    return styles;
}

} // namespace

Detection detectFormat(QStringView code) {
    using enum OutputFormat;
    // Its inside is ANSI; the fence tells it apart.
    if (opensDiscordBlock(code)) {
        return {Discord, true};
    }
    struct Mark {
        OutputFormat format;
        QRegularExpression pattern;
    };
    const auto mark = [](OutputFormat format, const char* pattern) {
        return Mark{format, QRegularExpression(QString::fromUtf8(pattern),
                                               QRegularExpression::CaseInsensitiveOption)};
    };
    // The colour marks of each format; a family's stronger dialect first. Weak marks are
    // ordinary text often enough (&a in &amp;) to count only when nothing else is found.
    static const std::array<Mark, 10> strong = {
        mark(Json, "^\\s*(\\{|\\[\\s*[\"{\\[\\]])"),
        mark(Ansi, "\\x1b\\["),
        mark(Font, "<font\\s[^<>]{0,200}color\\s*="),
        mark(Span, "<span\\s[^<>]{0,200}color\\s*:"),
        mark(MiniMessage, "<(#[0-9a-f]{6}|gradient|colou?r:|c:|dark_[a-z]+|gold|gr[ae]y|aqua|"
                          "light_purple|yellow|red|green|blue|white|black)[:>]"),
        mark(McSection, "\u00A7x(\u00A7[0-9a-f]){6}|\u00A7[0-9a-fk-or]"),
        mark(McX, "&x(&[0-9a-f]){6}"),
        mark(McHex, "&#[0-9a-f]{6}"),
        mark(BBCode, "\\[colou?r=[^\\[\\]]{1,40}\\]"),
        mark(Irc, "\\x03\\d"), // or its style controls, see below
    };
    static const std::array<Mark, 4> weak = {
        mark(Font, "<(b|i|u|center|font)>"),
        mark(BBCode, "\\[/?(b|i|u|s|center|size|font)(=[^\\[\\]]{0,40})?\\]"),
        mark(McHex, "&[0-9a-fk-or]"),
        mark(Span, "<br\\s*/?>"),
    };
    const QString subject = code.toString();
    const bool ircStyles = hasIrcStyles(code);
    for (const auto* marks : {static_cast<const Mark*>(strong.data()), weak.data()}) {
        const std::size_t count = marks == strong.data() ? strong.size() : weak.size();
        Detection detection;
        int found = 0;
        for (std::size_t i = 0; i < count; ++i) {
            // Font and span are one family; so are the three chat dialects.
            const bool styledIrc = marks[i].format == Irc && ircStyles;
            if (styledIrc || marks[i].pattern.match(subject).hasMatch()) {
                const OutputFormat f = marks[i].format;
                const bool sameFamily =
                    detection.format &&
                    ((isHtml(*detection.format) && isHtml(f)) ||
                     (*detection.format >= McHex && *detection.format <= McSection && f >= McHex &&
                      f <= McSection));
                if (!detection.format) {
                    detection.format = f;
                }
                found += sameFamily ? 0 : 1;
            }
        }
        if (detection.format) {
            detection.obvious = found == 1 && marks == strong.data();
            return detection;
        }
    }
    return {};
}

} // namespace tintwave::engine
