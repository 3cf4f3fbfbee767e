// The code colorize writes: the colour arithmetic, character boundaries and colour spaces
// behind it, the colours it gives each character and the markup of every format. Readers
// written here from the game chat formats' own rules must get back the text, the font
// format's colours and the chosen styles, whatever the text.
#include "color/ColorProcs.h"
#include "engine/ColorSpace.h"
#include "engine/Colorize.h"
#include "engine/Graphemes.h"
#include "engine/Rounding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QTextBoundaryFinder>
#include <cmath>

using namespace tintwave;
using namespace tintwave::color;
using namespace tintwave::engine;
using namespace tintwave::engine::colorspace;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tintwave::engine::ColorizeOptions)

namespace {

// The colours in slots 0, 1, ...; every other slot empty.
SlotValues slotsWith(const QList<ColorValue>& colors) {
    SlotValues values;
    values.fill(kButtonFace);
    std::copy(colors.begin(), colors.end(), values.begin());
    return values;
}

// "#RRGGBB" codes as packed values.
QList<ColorValue> packed(const QString& codes) {
    QList<ColorValue> colors;
    for (const QString& code : codes.split(u' ')) {
        const uint v = code.mid(1).toUInt(nullptr, 16);
        colors << rgb(int(v >> 16), int(v >> 8 & 255), int(v & 255));
    }
    return colors;
}

QList<ColorValue> colorsOf(const ColorizeResult& result) {
    QList<ColorValue> colors;
    for (const CharColor& c : result.chars) {
        colors << c.color;
    }
    return colors;
}

// Every style box ticked.
ColorizeOptions allStyles(const QString& face, const QString& size, OutputFormat format) {
    ColorizeOptions options{.face = face, .size = size, .output = {.format = format}};
    options.center = options.bold = options.italic = options.underline = true;
    return options;
}

const QList<ColorValue> kBlack{0x000000}, kGrey{0x000000, 0xFFFFFF}, kNavy{0x302010};

ColorizeOptions as(OutputFormat format, bool merge = false, bool skipBlanks = false,
                   const QString& templateText = kDefaultTemplate) {
    return {.output = {format, Blend::Rgb, Spread::Even, merge, skipBlanks, templateText}};
}

enum Style { Bold = 1, Italic = 2, Underline = 4, Other = 8 };

// What a reader shows: the text, and the colour (-1: none) and styles of each UTF-16 unit.
struct Shown {
    QString text;
    QList<std::pair<ColorValue, int>> looks;
    void add(QChar c, ColorValue color, int styles) {
        text += c;
        looks.push_back({color, styles});
    }
};

bool isHexColor(QStringView d) {
    return d.size() == 6 && std::all_of(d.begin(), d.end(), [](QChar c) {
               return QStringView(u"0123456789ABCDEFabcdef").contains(c);
           });
}

ColorValue fromHex(QStringView digits) {
    const uint v = digits.toUInt(nullptr, 16);
    return rgb(int(v >> 16), int(v >> 8 & 255), int(v & 255));
}

// As the game and its plugins read chat: & or § before a code letter, &#RRGGBB, or x and
// six signed digits. A colour resets the styles; a code other than l, o, n counts as Other.
Shown readMinecraft(const QString& code) {
    const auto sign = [&code](qsizetype j) {
        return j < code.size() && (code[j] == u'&' || code[j] == u'§');
    };
    Shown shown;
    ColorValue color = -1;
    int styles = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar next = sign(i) && i + 1 < code.size() ? code[i + 1].toLower() : QChar();
        char16_t x[6];
        qsizetype n = 0;
        for (qsizetype j = i + 2; next == u'x' && sign(j) && j + 1 < code.size() && n < 6; j += 2) {
            x[n++] = code[j + 1].unicode();
        }
        const QStringView digits =
            next == u'#' ? QStringView(code).mid(i + 2, 6) : QStringView(x, n);
        if (isHexColor(digits)) {
            color = fromHex(digits);
            styles = 0;
            i += next == u'#' ? 7 : 13;
        } else if (!next.isNull() && u"0123456789abcdefklmnorx#"_s.contains(next)) {
            const qsizetype style = u"lon"_s.indexOf(next);
            styles |= style < 0 ? Other : 1 << style;
            ++i;
        } else {
            shown.add(code[i], color, styles);
        }
    }
    return shown;
}

// MiniMessage: \\ and \< escapes, <#RRGGBB>, <b> <i> <u> and their closing tags; any other
// tag counts as Other.
Shown readMiniMessage(const QString& code) {
    Shown shown;
    ColorValue color = -1;
    int styles = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (code[i] == u'\\' && QStringView(u"\\<").contains(code.mid(i + 1, 1))) {
            shown.add(code[++i], color, styles);
        } else if (code[i] != u'<') {
            shown.add(code[i], color, styles);
        } else {
            const QString tag = code.mid(i + 1, code.indexOf(u'>', i) - i - 1);
            const qsizetype style = QStringList{"b", "i", "u", "/b", "/i", "/u"}.indexOf(tag);
            const bool hex = tag.startsWith(u'#') && isHexColor(tag.mid(1));
            color = hex ? fromHex(tag.mid(1)) : color;
            styles = style >= 3 ? styles & ~(1 << (style - 3))
                                : styles | (style >= 0 ? 1 << style
                                            : hex      ? 0
                                                       : Other);
            i += tag.size() + 1;
        }
    }
    return shown;
}

// JSON text components through QJsonDocument: "" first, then objects of text, colour and the
// three styles. QJsonDocument takes raw control characters in strings, which JSON forbids.
Shown readJson(const QString& code) {
    Shown shown;
    const bool raw = std::any_of(code.begin(), code.end(), [](QChar c) { return c < u' '; });
    const QJsonArray array = QJsonDocument::fromJson(raw ? "" : code.toUtf8()).array();
    for (qsizetype k = array.at(0) == u""_s ? 1 : array.size(); k < array.size(); ++k) {
        const QJsonObject o = array[k].toObject();
        const int styles = (o[u"bold"].toBool() ? Bold : 0) | (o[u"italic"].toBool() ? Italic : 0) |
                           (o[u"underlined"].toBool() ? Underline : 0);
        for (const QChar c : o[u"text"].toString()) {
            shown.add(c, o.contains(u"color") ? fromHex(o[u"color"].toString().mid(1)) : -1,
                      styles);
        }
    }
    return shown;
}

// Control characters the formats but font and ANSI leave out: all below U+0020 but tab and
// the line breaks, and U+007F.
const QRegularExpression kLeftOut(u"[\\x00-\\x08\\x0B\\x0C\\x0E-\\x1F\\x7F]"_s);

// The font format's colour of every unit of text the other formats write: line breaks take
// no place in their gradient, controls take one and are left out.
QList<ColorValue> fontColors(QString text, const SlotValues& slots,
                             const ColorizeOptions& options) {
    QList<ColorValue> colors;
    const ColorizeOptions font{
        .output = {.blend = options.output.blend, .spread = options.output.spread}};
    text.remove(u'\r').remove(u'\n');
    for (const CharColor& c : colorize(text, slots, font).chars) {
        if (!kLeftOut.match(text.mid(c.start, c.length)).hasMatch()) {
            colors.insert(colors.size(), c.length, c.color);
        }
    }
    return colors;
}

} // namespace

class TestColorize : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // std::nearbyint in the default rounding mode is the independent reference.
    void roundHalfEven_agreesWithNearestEven() {
        for (int k = -4096; k <= 4096; ++k) {
            QCOMPARE(detail::roundHalfEven(k / 16.0), int(std::nearbyint(k / 16.0)));
        }
    }

    void writeHex_twoUpperCaseDigitsAtLeast() {
        for (const QString& digits :
             {u"00"_s, u"0A"_s, u"AB"_s, u"FF"_s, u"FFF"_s, u"FFFFFFFF"_s}) {
            char16_t out[8];
            QCOMPARE(QStringView(out, writeHex(int(digits.toUInt(nullptr, 16)), out)), digits);
        }
    }

    // The one-unit-per-character shortcut must give what the boundary finder gives; a CR
    // must keep a text off it.
    void boundaries_fastPath_agreesWithBoundaryFinder() {
        QString text;
        for (char16_t c = 1; c < 0x300; ++c) {
            text += QChar(c) + u"a"_s + QChar(c);
        }
        for (const QString& t : {QString(text).remove(u'\r'), text}) {
            std::vector<qsizetype> reference{0};
            QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, t);
            for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
                reference.push_back(at);
            }
            QCOMPARE(graphemeBoundaries(t), reference);
        }
    }

    // Ten greys 0, 20, .. 180: segments of L characters start exactly on their colour, the
    // text ends short of the last. 100 characters: L = 12; 10 characters: L = 2.
    void colorize_tenColours_segmentsStartOnTheirColour() {
        const QList<ColorValue> greys = packed(u"#000000 #141414 #282828 #3C3C3C #505050 #646464 "
                                               "#787878 #8C8C8C #A0A0A0 #B4B4B4"_s);
        for (const auto& [length, segment, last] : {std::tuple(100, 12, 165), {10, 2, 90}}) {
            const auto colors = colorsOf(colorize(QString(length, u'x'), slotsWith(greys), {}));
            for (int p = 0; p < length; p += segment) {
                QCOMPARE(colors[p], greys[p / segment]);
            }
            QCOMPARE(colors.back(), rgb(last, last, last));
        }
    }

    // é as e + combining acute, 😀, 🇩🇪, CR LF and a ZWJ family: five characters. Empty
    // slots between filled ones are skipped.
    void colorize_graphemeClusters_oneEntryEach() {
        const QString text =
            u"e\u0301\U0001F600\U0001F1E9\U0001F1EA\r\n\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
        const std::vector<CharColor> expected{{0, 2, 0x000000},
                                              {2, 2, 0x2A2A2A},
                                              {4, 4, 0x555555},
                                              {8, 2, 0x808080},
                                              {10, 8, 0xAAAAAA}};
        SlotValues slots = slotsWith({});
        slots[3] = 0x000000;
        slots[8] = 0xFFFFFF;
        QCOMPARE(colorize(text, slots, {}).chars, expected);
    }

    void colorize_badInput_reportsErrorOnly() {
        QCOMPARE(colorize(QString(), slotsWith({0}), {}).error, ColorizeError::EmptyText);
        QCOMPARE(messageFor(ColorizeError::EmptyText), u"You must type something.");
        QCOMPARE(colorize(u"text"_s, slotsWith({}), {}).error, ColorizeError::NoColor);
        QCOMPARE(messageFor(ColorizeError::NoColor), u"You must select at least one color");
    }

    void colourSpaces_roundTripEveryColourUnchanged() {
        for (int v = 0; v <= 255; ++v) {
            QCOMPARE(encode(decode(v)), v);
        }
        QVERIFY(encode(-0.25) == 0 && encode(1.5) == 255);
        for (int v = 0; v < 1 << 24; v += 4099) {
            const Srgb8 c{red(v), green(v), blue(v)};
            QCOMPARE(toSrgb8(toLinear(toOkLab(toOkLch(toOkLab(toLinear(c)))))), c);
        }
    }

    // Long texts reuse a mixed colour while it cannot round differently, and the OKLCh sweep
    // takes its cosines from a few anchors: every character must still have the colour of
    // the formula, fraction (p % L) / L of the way from stop p / L to the next.
    void colorize_perceptualBlends_giveTheFormulasColourEverywhere() {
        const QList<ColorValue> stops =
            packed(u"#123456 #FEDCBA #00FF7F #7F00FF #FFFFFF #FF8000"_s);
        QList<OkLab> labs;
        for (const ColorValue c : stops) {
            labs << toOkLab(toLinear(Srgb8{red(c), green(c), blue(c)}));
        }
        const qsizetype n = 30'000, length = n / 5 + 1;
        for (const Blend blend : {Blend::OkLab, Blend::OkLch}) {
            const auto colors = colorsOf(
                colorize(QString(n, u'x'), slotsWith(stops), {.output = {.blend = blend}}));
            for (qsizetype p = 1; p < n; ++p) {
                const OkLab x = labs[p / length], y = labs[p / length + 1];
                const double f = double(p % length) / double(length);
                const Srgb8 c = toSrgb8(toLinear(blend == Blend::OkLab
                                                     ? mix(x, y, f)
                                                     : toOkLab(mix(toOkLch(x), toOkLch(y), f))));
                QCOMPARE(colors[p], p % length ? rgb(c.red, c.green, c.blue) : stops[p / length]);
            }
        }
    }

    // Five characters with the even spread sit at fractions 0, 1/4, 1/2, 3/4 and 1 of two
    // colours (0, 1/2 of each segment of three). The expected codes come from
    // engine/tests/oklab_reference.py: the published OKLab matrices in plain Python floats,
    // clamped and rounded half to even, independent of this code.
    void colorize_blend_matchesReferenceColours_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("stops");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, Blend blend, const QString& stops,
                            const QString& expected, Spread spread = Spread::Even) {
            QTest::newRow(name) << ColorizeOptions{.output = {.blend = blend, .spread = spread}}
                                << stops << expected;
        };
        const QString grey = u"#000000 #FFFFFF"_s, redBlue = u"#FF0000 #0000FF"_s,
                      rgbStops = u"#FF0000 #00FF00 #0000FF"_s;
        // Rgb by hand: 255 * (0, 1/4, 1/2, 3/4, 1) = 0, 63.75, 127.5, 191.25, 255.
        row("rgb even grey", Blend::Rgb, grey, u"#000000 #404040 #808080 #BFBFBF #FFFFFF"_s);
        row("oklab grey", Blend::OkLab, grey, u"#000000 #222222 #636363 #AEAEAE #FFFFFF"_s);
        row("oklab red blue", Blend::OkLab, redBlue, u"#FF0000 #C6496D #8C53A2 #5147D2 #0000FF"_s);
        // Out of gamut half way: the green component is clamped to 0.
        row("oklch red blue", Blend::OkLch, redBlue, u"#FF0000 #E8007B #BA00C2 #7A00F4 #0000FF"_s);
        // White has no hue of its own: the blend keeps blue's, as OKLab does.
        row("oklch blue white", Blend::OkLch, u"#0000FF #FFFFFF"_s,
            u"#0000FF #306DFF #74A3FF #B8D2FF #FFFFFF"_s);
        row("oklab three stops", Blend::OkLab, rgbStops,
            u"#FF0000 #D0A800 #00FF00 #00AABF #0000FF"_s);
        row("oklch three stops", Blend::OkLch, rgbStops,
            u"#FF0000 #F99500 #00FF00 #00BBE3 #0000FF"_s);
        // The classic spread: L = 6, fractions 0 .. 4/6, the last colour never reached.
        row("oklab classic", Blend::OkLab, grey, u"#000000 #0F0F0F #363636 #636363 #949494"_s,
            Spread::Classic);
    }
    void colorize_blend_matchesReferenceColours() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, stops);
        QFETCH(QString, expected);
        QCOMPARE(colorsOf(colorize(u"ABCDE"_s, slotsWith(packed(stops)), options)),
                 packed(expected));
    }

    // The even spread ends exactly on the last colour, whatever the length; with as many
    // characters as colours each gets one exactly.
    void colorize_evenSpread_firstAndLastCharacterHitTheEndColours() {
        const QList<ColorValue> stops = packed(u"#123456 #FEDCBA #00FF7F #7F00FF #FFFFFF "
                                               "#000000 #FF8000 #0080FF #808080 #C0FFEE"_s);
        for (const Blend blend : {Blend::Rgb, Blend::OkLab, Blend::OkLch}) {
            const ColorizeOptions options{.output = {.blend = blend, .spread = Spread::Even}};
            for (int length : {1, 7, 1000}) {
                const QList<ColorValue> colors =
                    colorsOf(colorize(QString(length, u'x'), slotsWith(stops), options));
                QCOMPARE(colors.front(), stops.front());
                QCOMPARE(colors.back(), length > 1 ? stops.back() : stops.front());
            }
            QCOMPARE(colorsOf(colorize(QString(10, u'x'), slotsWith(stops), options)), stops);
        }
    }

    void legacyFontSize_countsFromThreeAndClamps() {
        QList<int> legacy;
        for (const QString& size :
             {u"+2"_s, u"-1"_s, u"+7"_s, u"-7"_s, u"6"_s, u"None"_s, u"+"_s}) {
            legacy << legacyFontSize(size).value_or(0); // 0: none
        }
        QCOMPARE(legacy, (QList<int>{5, 2, 7, 1, 6, 0, 0}));
    }

    void colorize_format_exactCode_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<ColorValue>>("colors");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const ColorizeOptions& options, const QString& text,
                            const QList<ColorValue>& colors, const QString& expected) {
            QTest::newRow(name) << options << text << colors << expected;
        };
        using enum OutputFormat;
        row("font black to white", {}, u"ABCDE"_s, kGrey,
            u"<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
            "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
            "<font color=\"#AAAAAA\">E</font>"_s);
        row("font falling red, L 2", {}, u"ab"_s, {0x0000FF, 0x000000, 0xFFFFFF},
            u"<font color=\"#FF0000\">a</font><font color=\"#800000\">b</font>"_s);
        // Blue 256 from a value above 0xFFFFFF keeps its three digits.
        row("font face only, wide component", {.face = u"Arial"_s}, u"x"_s, {0x1000000},
            u"<font face=\"Arial\"><font color=\"#0000100\">x</font></font>"_s);
        row("font size only", {.size = u"+1"_s}, u"x"_s, kBlack,
            u"<font size=+1><font color=\"#000000\">x</font></font>"_s);
        row("font lower-case none is a face", {.face = u"none"_s, .size = u"+2"_s}, u"x"_s, kBlack,
            u"<font face=\"none\" size=+2><font color=\"#000000\">x</font></font>"_s);
        row("font all styles", allStyles(u"Arial"_s, u"-1"_s, Font), u"x"_s, kBlack,
            u"<center><b><i><u><font face=\"Arial\" size=-1><font color=\"#000000\">x</font>"
            "</font></u></i></b></center>"_s);
        row("font ignores merge, escapes nothing", {.output = {.merge = true}}, u"<&"_s, kNavy,
            u"<font color=\"#102030\"><</font><font color=\"#102030\">&</font>"_s);
        row("span escapes", {.output = {.format = Span}}, u"<&\">"_s, kNavy,
            u"<span style=\"color:#102030\">&lt;</span><span style=\"color:#102030\">&amp;</span>"
            "<span style=\"color:#102030\">&quot;</span><span style=\"color:#102030\">&gt;</span>"_s);
        row("span wrappers", allStyles(u"Times New Roman"_s, u"+2"_s, Span), u"x"_s, kBlack,
            u"<div style=\"text-align:center\"><span style=\"font-family:'Times New Roman';"
            "font-size:x-large;font-weight:bold;font-style:italic;text-decoration:underline\">"
            "<span style=\"color:#000000\">x</span></span></div>"_s);
        row("span hostile",
            {.face = u"a'b\"c;<\\\n"_s, .size = u"-7"_s, .output = {.format = Span}}, u"x"_s,
            kBlack,
            u"<span style=\"font-family:'a\\'b&quot;c;&lt;\\\\\\a ';font-size:x-small\">"
            "<span style=\"color:#000000\">x</span></span>"_s);
        row("span generic", {.face = u"Monospace"_s, .size = u"?"_s, .output = {.format = Span}},
            u"x"_s, kBlack,
            u"<span style=\"font-family:monospace\"><span style=\"color:#000000\">x</span></span>"_s);
        row("span merged", {.output = {.format = Span, .spread = Spread::Even, .merge = true}},
            u"ae\u0301&"_s, {0x000000, 0x000000, 0xFFFFFF},
            u"<span style=\"color:#000000\">ae\u0301</span><span style=\"color:#FFFFFF\">&amp;"
            "</span>"_s);
        row("bbcode wrappers", allStyles(u"Ar[ia]l"_s, u"+1"_s, BBCode), u"x"_s, kBlack,
            u"[center][b][i][u][font=Arial][size=4][color=#000000]x[/color][/size][/font]"
            "[/u][/i][/b][/center]"_s);
        row("bbcode [ ends a run", {.output = {.format = BBCode, .merge = true}}, u"[b]x[/color]"_s,
            kBlack,
            u"[color=#000000][[/color][color=#000000]b]x[[/color][color=#000000]/color][/color]"_s);
        row("ansi styles, no centre, face or size", allStyles(u"Arial"_s, u"+3"_s, Ansi), u"ab"_s,
            kGrey, u"\x1b[1;3;4m\x1b[38;2;0;0;0ma\x1b[38;2;85;85;85mb\x1b[0m"_s);
        row("ansi line breaks take no place",
            {.output = {.format = Ansi, .spread = Spread::Even, .merge = true}}, u"ab\ncd"_s, kGrey,
            u"\x1b[38;2;0;0;0ma\x1b[38;2;85;85;85mb\x1b[0m\n"
            "\x1b[38;2;170;170;170mc\x1b[38;2;255;255;255md\x1b[0m"_s);
        row("ansi styles after CR LF", {.italic = true, .output = {.format = Ansi, .merge = true}},
            u"a\r\nb\n"_s, {0x0000FF},
            u"\x1b[3m\x1b[38;2;255;0;0ma\x1b[0m\n\x1b[3m\x1b[38;2;255;0;0mb\x1b[0m\n"_s);
        row("ansi controls shown", {.output = {.format = Ansi, .merge = true}},
            u"a\x1b[2J\x7f\u0085\tb"_s, kBlack,
            u"\x1b[38;2;0;0;0ma\u241b[2J\u2421\uFFFD\tb\x1b[0m"_s);
        // The game chat formats, blanks without codes and line breaks; even spread over black
        // and white: #000000 and #FFFFFF for two characters, #808080 or #555555 and #AAAAAA
        // between them for three or four.
        row("mc-hex styles, & ends a run, § left out",
            {.bold = true, .italic = true, .underline = true, .output = as(McHex, true).output},
            u"a&l§o"_s, kBlack, u"&#000000&l&o&na&&#000000&l&o&nlo"_s);
        row("mc-hex per line", {.output = as(McHex).output, .perLine = true}, u"ab\r\ncd"_s, kGrey,
            u"&#000000a&#FFFFFFb\n&#000000c&#FFFFFFd"_s);
        row("mc-x", as(McX), u"ab"_s, kGrey, u"&x&0&0&0&0&0&0a&x&F&F&F&F&F&Fb"_s);
        row("mc-section skip blanks, merged", as(McSection, true, true), u"a b"_s, kGrey,
            u"§x§0§0§0§0§0§0a §x§F§F§F§F§F§Fb"_s);
        row("minimessage styles, escapes", allStyles(kNone, kNone, MiniMessage), u"<\\"_s, kGrey,
            u"<b><i><u><#000000>\\<<#555555>\\\\</u></i></b>"_s);
        row("json styles, escapes", {.italic = true, .output = as(Json).output}, u"a\""_s, kGrey,
            u"[\"\",{\"text\":\"a\",\"color\":\"#000000\",\"italic\":true},{\"text\":\"\\\"\","
            "\"color\":\"#FFFFFF\",\"italic\":true}]"_s);
        row("json leading blank, line break, control, merged", as(Json, true, true),
            u" a\n\x01\\"_s, kGrey,
            u"[\"\",{\"text\":\" \"},{\"text\":\"a\",\"color\":\"#555555\"},{\"text\":\"\\n\"},"
            "{\"text\":\"\\\\\",\"color\":\"#FFFFFF\"}]"_s);
        // Control characters but tab and line breaks are left out, each keeping its place in
        // the gradient; ANSI shows them (above).
        const QString controls = u"a"_s + QChar(0) + u"\x07\x1b\x7f\tb"_s;
        for (const auto& [format, code] : std::initializer_list<std::pair<OutputFormat, QString>>{
                 {Span, u"<span style=\"color:#000000\">a</span><span style=\"color:#D4D4D4\">"
                        "\t</span><span style=\"color:#FFFFFF\">b</span>"_s},
                 {BBCode, u"[color=#000000]a[/color][color=#D4D4D4]\t[/color][color=#FFFFFF]b"
                          "[/color]"_s},
                 {McX, u"&x&0&0&0&0&0&0a&x&D&4&D&4&D&4\t&x&F&F&F&F&F&Fb"_s},
                 {MiniMessage, u"<#000000>a<#D4D4D4>\t<#FFFFFF>b"_s},
                 {Template, u"000000aD4D4D4\tFFFFFFb"_s}}) {
            row(qPrintable(u"controls left out, "_s + formatName(format)),
                as(format, false, false, u"{hex}{c}"_s), controls, kGrey, code);
        }
        row("template placeholders, braces, merged",
            as(Template, true, false, u"{{{hex}}}{h1}{h6}|{r},{g},{b}|{c}"_s), u"ab"_s, kNavy,
            u"{102030}10|16,32,48|ab"_s);
        row("template skip blanks", as(Template, false, true, u"[c/{hex}:{c}]"_s), u"a b"_s, kGrey,
            u"[c/000000:a ][c/FFFFFF:b]"_s);
        row("span skip blanks, line break", as(Span, false, true), u"a b\rc"_s, kGrey,
            u"<span style=\"color:#000000\">a </span><span style=\"color:#AAAAAA\">b</span><br>\n"
            "<span style=\"color:#FFFFFF\">c</span>"_s);
        row("bbcode a blank after [ stands bare", as(BBCode, true, true), u"[ x"_s, kBlack,
            u"[color=#000000][[/color] [color=#000000]x[/color]"_s);
        row("ansi blank keeps the underline",
            {.underline = true, .output = as(Ansi, false, true).output}, u" a\nb"_s, kGrey,
            u"\x1b[4m \x1b[38;2;128;128;128ma\x1b[0m\n\x1b[4m\x1b[38;2;255;255;255mb\x1b[0m"_s);
    }
    void colorize_format_exactCode() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QList<ColorValue>, colors);
        QFETCH(QString, expected);
        QCOMPARE(colorize(text, slotsWith(colors), options).code, expected);
    }

    // Every character comes back with its font-format colour and exactly the chosen styles,
    // and nothing else; a blank without a code of its own shows no other style. The hostile
    // text holds the formats' code and escape characters, controls, an emoji, a flag after
    // it, combining marks and line breaks; 10 MB of it (UTF-8) go through in one colour.
    // The template escapes nothing by design: it reads back from a text without codes.
    void readers_getBackTextColoursAndStyles() {
        const QString hostile = u"&l§a&#FF0000&x<b>\\<#000000>\\\\\"{c}{{}}&&§ §\x01\x1b\x7f\t"
                                u"\U0001F600\U0001F1E9\U0001F1EA e\u0301\u0308\r\n&\rn\u3000&"_s;
        using enum OutputFormat;
        for (const OutputFormat format : {McHex, McX, McSection, MiniMessage, Json, Template}) {
            const auto read = format == MiniMessage ? readMiniMessage
                              : format == Json      ? readJson
                                                    : readMinecraft;
            const int repeats = format == Template ? 0 : 140'000;
            for (const QString& text : {u"Grüße, Welt! 😀"_s, hostile.repeated(repeats / 50'000),
                                        hostile.repeated(repeats)}) {
                const bool big = text.size() > 1000;
                for (int variant = big ? 3 : 0; variant < 4 && !text.isEmpty(); ++variant) {
                    ColorizeOptions options =
                        as(format, variant & 1, variant & 2, u"&#{hex}&l&n{c}"_s);
                    options.output.blend = variant == 3 ? Blend::OkLch : Blend::Rgb;
                    options.bold = options.underline = variant != 1 || format == Template;
                    const SlotValues slots = slotsWith(
                        big ? kNavy : QList<ColorValue>{0xFF0000, 0x00FF00, 0xFFFFFF, 0x0000FF});
                    const QList<ColorValue> all = big ? QList<ColorValue>(text.size(), kNavy[0])
                                                      : fontColors(text, slots, options);
                    // The Minecraft codes leave section signs out.
                    const bool signs = read == readMinecraft && format != Template;
                    const QString units =
                        QString(text).remove(u'\r').remove(u'\n').remove(kLeftOut);
                    QList<ColorValue> font;
                    for (qsizetype u = 0; u < units.size(); ++u) {
                        if (!signs || units[u] != u'§') {
                            font << all[u];
                        }
                    }
                    const Shown shown = read(colorize(text, slots, options).code);
                    QString expected = QString(text)
                                           .replace(u"\r\n"_s, u"\n"_s)
                                           .replace(u'\r', u'\n')
                                           .remove(kLeftOut);
                    QCOMPARE(shown.text, signs ? expected.remove(u'§') : expected);
                    const int chosen =
                        (options.bold ? Bold : 0) | (options.underline ? Underline : 0);
                    qsizetype i = 0;
                    for (qsizetype f = 0; i < shown.text.size(); f += shown.text[i++] != u'\n') {
                        const auto [color, styles] = shown.looks[i];
                        const bool free = shown.text[i] == u'\n' ||
                                          (options.output.skipBlanks && shown.text[i].isSpace());
                        if ((styles | chosen) != chosen ||
                            (!free && (color != font[f] || styles != chosen))) {
                            break;
                        }
                    }
                    QCOMPARE(std::tuple(formatName(format), variant, i),
                             std::tuple(formatName(format), variant, shown.text.size()));
                }
            }
        }
    }

    // A smooth two-colour gradient has long runs of equal colour; merged, each is one tag.
    void colorize_merge_smoothGradientInATenthOfTheSize() {
        const QString text(100'000, u'x');
        const SlotValues slots = slotsWith({0x2040C0, 0xC08020});
        using enum OutputFormat;
        for (const OutputFormat format : {Span, BBCode, Ansi}) {
            ColorizeOptions options{.output = {.format = format, .spread = Spread::Even}};
            const qsizetype plain = colorize(text, slots, options).code.size();
            options.output.merge = true;
            QVERIFY(colorize(text, slots, options).code.size() * 10 <= plain);
        }
    }

    // The streamed code is the same text in more than one piece, none ending half way
    // through a surrogate pair.
    void colorizeTo_piecesJoinToTheWholeCode() {
        struct Pieces : CodeSink {
            QStringList list;
            void write(QStringView piece) override { list << piece.toString(); }
        };
        const QString text = QString(u"\U0001F600a"_s).repeated(30'000);
        const SlotValues slots = slotsWith({0xFF, 0xFF00});
        for (const QString& format : formatNames()) {
            const ColorizeOptions options{
                .face = u"Arial"_s, .bold = true, .output = {.format = *parseFormat(format)}};
            Pieces pieces;
            QVERIFY(!colorizeTo(text, slots, options, pieces));
            QCOMPARE(pieces.list.join(QString()), colorize(text, slots, options).code);
            QVERIFY(pieces.list.size() > 1);
            QVERIFY(std::none_of(pieces.list.begin(), pieces.list.end(),
                                 [](const QString& p) { return p.back().isHighSurrogate(); }));
        }
    }
};

QTEST_APPLESS_MAIN(TestColorize)
#include "tst_colorize.moc"
