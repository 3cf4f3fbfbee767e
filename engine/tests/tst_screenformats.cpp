// Output for terminals and chats with few colours, and animation frames. The nearest colour
// of each fixed set is checked over the colour cube against a table of this test's own (the
// colours as xterm, Discord and mIRC publish them, OKLab worked out here with pow()); the
// frame colours come from engine/tests/oklab_reference.py's mixing functions; IRC and Discord
// code is read back as those chats read it.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/LoopGradient.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace tintwave;
using namespace tintwave::engine;
using colorspace::Srgb8;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tintwave::engine::ColorSet)
Q_DECLARE_METATYPE(tintwave::engine::ColorizeOptions)

namespace {

Srgb8 hex(uint rgb) {
    return {int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
}

struct Lab {
    double l, a, b;
    double distance(const Lab& o) const {
        return (l - o.l) * (l - o.l) + (a - o.a) * (a - o.a) + (b - o.b) * (b - o.b);
    }
};

Lab oklab(Srgb8 c) {
    const auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    const double r = linear(c.red), g = linear(c.green), b = linear(c.blue);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

// Each colour of a set: the number the target writes and its OKLab.
std::vector<std::pair<int, Lab>> referenceFor(ColorSet set) {
    const std::vector<uint> xterm = {0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD,
                                     0x00CDCD, 0xE5E5E5, 0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const std::vector<uint> discord = {0x4F545C, 0xDC322F, 0x859900, 0xB58900,
                                       0x268BD2, 0xD33682, 0x2AA198, 0xFFFFFF};
    const std::vector<uint> mirc = {0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000,
                                    0x9C009C, 0xFC7F00, 0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF,
                                    0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2};
    std::vector<std::pair<int, Lab>> ref;
    const int level[] = {0, 95, 135, 175, 215, 255};
    switch (set) {
    case ColorSet::Xterm256:
        for (int n = 16; n < 232; ++n) {
            const int k = n - 16;
            ref.push_back({n, oklab({level[k / 36], level[k / 6 % 6], level[k % 6]})});
        }
        for (int n = 232, v = 8; n < 256; ++n, v += 10) {
            ref.push_back({n, oklab({v, v, v})});
        }
        break;
    case ColorSet::Xterm16:
    case ColorSet::Xterm8:
        for (int n = 0; n < (set == ColorSet::Xterm8 ? 8 : 16); ++n) {
            ref.push_back({n < 8 ? 30 + n : 90 + (n - 8), oklab(hex(xterm[std::size_t(n)]))});
        }
        break;
    case ColorSet::Discord:
        for (int n = 0; n < 8; ++n) {
            ref.push_back({30 + n, oklab(hex(discord[std::size_t(n)]))});
        }
        break;
    case ColorSet::Mirc:
        for (int n = 0; n < 16; ++n) {
            ref.push_back({n, oklab(hex(mirc[std::size_t(n)]))});
        }
        break;
    }
    return ref;
}

SlotValues slotsOf(const QString& codes) {
    SlotValues slots;
    slots.fill(kButtonFace);
    int i = 0;
    for (const QString& code : codes.split(u' ')) {
        const Srgb8 c = hex(code.toUInt(nullptr, 16));
        slots[std::size_t(i++)] = color::rgb(c.red, c.green, c.blue);
    }
    return slots;
}

ColorizeOptions with(OutputFormat format, ColorDepth depth = ColorDepth::TrueColor,
                     bool merge = false, qsizetype frames = 0, Blend blend = Blend::Rgb) {
    ColorizeOptions options;
    options.output.format = format;
    options.output.colorDepth = depth;
    options.output.merge = merge;
    options.output.blend = blend;
    options.output.spread = Spread::Even;
    options.output.templateText = u"{hex} "_s;
    options.frames = frames;
    return options;
}

enum Style { Bold = 1, Italic = 2, Underline = 4, Other = 8 };

// What a chat shows: the text, and per UTF-16 unit the colour number (-1: none) and styles.
struct Shown {
    QString text;
    QList<std::pair<int, int>> looks;
};

// As IRC clients read: \x02, \x1D, \x1F toggle bold, italic, underline (other toggles count as
// Other); \x0F resets everything; \x03 takes up to two digits of colour and then, after a
// comma, up to two of background (Other). Each line is a message of its own.
Shown readIrc(const QString& code) {
    Shown shown;
    int color = -1, styles = 0;
    const auto digits = [&code](qsizetype& i, int& value) {
        qsizetype n = 0;
        for (value = 0; n < 2 && i + 1 < code.size() && code[i + 1].isDigit(); ++n) {
            value = value * 10 + code[++i].digitValue();
        }
        return n > 0;
    };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t u = code[i].unicode();
        const qsizetype toggle = QStringView(u"\x02\x1D\x1F\x1E\x16\x11").indexOf(QChar(u));
        if (u == u'\x0F' || u == u'\n') {
            color = -1;
            styles = 0;
        } else if (toggle >= 0) {
            styles ^= toggle < 3 ? 1 << toggle : Other;
        } else if (u == u'\x03') {
            color = digits(i, color) ? color : -1;
            int background = 0;
            if (color >= 0 && i + 2 < code.size() && code[i + 1] == u',' && code[i + 2].isDigit()) {
                ++i;
                digits(i, background);
                styles |= Other;
            }
        }
        if (u == u'\n' || u == u'\t' || (u >= 0x20 && u != 0x7F)) {
            shown.text += code[i];
            shown.looks.push_back({color, styles});
        }
    }
    return shown;
}

// As Discord shows a message: the code block from the line "```ansi" to the next "```", which
// must end the message; in it ESC[...m sets 0 (reset), 1 (bold), 4 (underline) and colours
// 30 .. 37, anything else counting as Other. Zero-width spaces are not seen.
Shown readDiscord(const QString& code) {
    Shown shown;
    const qsizetype end = code.indexOf(u"```"_s, 8);
    if (!code.startsWith(u"```ansi\n"_s) || end != code.size() - 3 || code[end - 1] != u'\n') {
        return {u"(no block, or one that ends early)"_s, {}};
    }
    int color = -1, styles = 0;
    for (qsizetype i = 8; i < end - 1; ++i) {
        if (code[i] == u'\x1b' && code.mid(i + 1, 1) == u"[") {
            const qsizetype m = code.indexOf(u'm', i);
            for (const QString& p : code.mid(i + 2, m - i - 2).split(u';')) {
                const int n = p.toInt();
                if (n == 0) {
                    color = -1;
                    styles = 0;
                } else if (n >= 30 && n <= 37) {
                    color = n;
                } else {
                    styles |= n == 1 ? Bold : n == 4 ? Underline : Other;
                }
            }
            i = m;
        } else if (code[i] != QChar(0x200B)) {
            shown.text += code[i];
            shown.looks.push_back({color, styles});
        }
    }
    return shown;
}

// IRC code written readably: % colour, * bold, ~ italic, _ underline, $ reset.
QString irc(QString code) {
    const QString marks = u"%*~_$"_s, codes = u"\x03\x02\x1D\x1F\x0F"_s;
    for (QChar& c : code) {
        c = marks.contains(c) ? codes[marks.indexOf(c)] : c;
    }
    return code;
}

// The text as a chat must show it: line breaks as LF, control characters as their pictures.
QString visibleText(const QString& text) {
    QString visible = QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    for (QChar& c : visible) {
        const char16_t u = c.unicode();
        c = u == u'\n' || u == u'\t' || (u >= 0x20 && u < 0x7F) || u > 0x9F ? c
            : u < 0x20                                                      ? QChar(0x2400 + u)
            : u == 0x7F                                                     ? QChar(0x2421)
                                                                            : QChar(0xFFFD);
    }
    return visible;
}

} // namespace

class TestScreenFormats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nearest_data();
    void nearest();
    void nearest_sweep_data();
    void nearest_sweep();
    void loopPlace_data();
    void loopPlace();
    void colorize_exactCode_data();
    void colorize_exactCode();
    void readers_getBackTextColoursAndStyles();
};

void TestScreenFormats::nearest_data() {
    QTest::addColumn<ColorSet>("set");
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("number");
    const auto row = [](const char* name, ColorSet set, uint color, int number) {
        QTest::newRow(name) << set << color << number;
    };
    using enum ColorSet;
    row("256 red", Xterm256, 0xFF0000, 196);
    row("256 black and white are the cube's", Xterm256, 0xFFFFFF, 231);
    row("256 cube colour", Xterm256, 0x5F87AF, 67);
    row("256 grey 128", Xterm256, 0x808080, 244);
    row("256 darkest grey", Xterm256, 0x0A0A0A, 232);
    row("256 orange", Xterm256, 0xFF8000, 208);
    row("256 steel blue", Xterm256, 0x336699, 24);
    row("16 bright red", Xterm16, 0xFF0000, 91);
    row("16 dark red", Xterm16, 0xCD0000, 31);
    row("16 silver", Xterm16, 0xC0C0C0, 37);
    row("16 steel blue is grey", Xterm16, 0x5F87AF, 90);
    row("8 grey is cyan", Xterm8, 0x7F7F7F, 36);
    row("8 orange", Xterm8, 0xFF8000, 33);
    row("discord black", Discord, 0x000000, 30);
    row("discord pink", Discord, 0xE0A0C0, 33);
    row("discord steel blue", Discord, 0x336699, 30);
    row("mirc white", Mirc, 0xFFFFFF, 0);
    row("mirc orange", Mirc, 0xFF8000, 7);
    row("mirc night blue", Mirc, 0x102030, 2);
}

void TestScreenFormats::nearest() {
    QFETCH(ColorSet, set);
    QFETCH(uint, color);
    QFETCH(int, number);
    const Nearest nearest(set);
    QCOMPARE(nearest(hex(color)).number, number);
    QCOMPARE(nearest(hex(color)).number, number); // from the table the first call filled
    Srgb8 over = hex(color); // a component out of range counts as its nearest end
    over.red = over.red == 255 ? 300 : over.red;
    over.blue = over.blue == 0 ? -7 : over.blue;
    QCOMPARE(nearest(over).number, number);
}

void TestScreenFormats::nearest_sweep_data() {
    QTest::addColumn<ColorSet>("set");
    QTest::newRow("xterm 256") << ColorSet::Xterm256;
    QTest::newRow("xterm 16") << ColorSet::Xterm16;
    QTest::newRow("xterm 8") << ColorSet::Xterm8;
    QTest::newRow("discord") << ColorSet::Discord;
    QTest::newRow("mirc") << ColorSet::Mirc;
}

// Every fifth level of each component (0, 5, .. 255) and every grey. Where two colours of the
// set are as near within rounding of the distances, either may be chosen.
void TestScreenFormats::nearest_sweep() {
    QFETCH(ColorSet, set);
    const auto ref = referenceFor(set);
    const Nearest nearest(set);
    const auto check = [&](Srgb8 c) {
        const Lab lab = oklab(c);
        const auto by = [&lab](const auto& x, const auto& y) {
            return lab.distance(x.second) < lab.distance(y.second);
        };
        const auto best = std::min_element(ref.begin(), ref.end(), by);
        const int got = nearest(c).number;
        const auto chosen = std::find_if(ref.begin(), ref.end(),
                                         [got](const auto& entry) { return entry.first == got; });
        if (chosen == ref.end() ||
            lab.distance(chosen->second) - lab.distance(best->second) > 1e-12) {
            qWarning("#%02X%02X%02X: %d, nearest %d", c.red, c.green, c.blue, got, best->first);
            return false;
        }
        return true;
    };
    for (int r = 0; r < 256; r += 5) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 5) {
                QVERIFY(check({r, g, b}));
            }
        }
    }
    for (int v = 0; v < 256; ++v) {
        QVERIFY(check({v, v, v}));
    }
}

void TestScreenFormats::loopPlace_data() {
    QTest::addColumn<QList<qsizetype>>("where"); // character, length, frame, frames, colours
    QTest::addColumn<int>("segment");
    QTest::addColumn<double>("fraction");
    QTest::newRow("start") << QList<qsizetype>{0, 4, 0, 4, 2} << 0 << 0.0;
    QTest::newRow("last segment runs back") << QList<qsizetype>{3, 4, 0, 4, 2} << 1 << 0.5;
    QTest::newRow("wraps past the end") << QList<qsizetype>{3, 4, 2, 4, 2} << 0 << 0.5;
    QTest::newRow("frame N is frame 0") << QList<qsizetype>{3, 4, 4, 4, 2} << 1 << 0.5;
    QTest::newRow("a frame back") << QList<qsizetype>{1, 4, -1, 4, 2} << 0 << 0.0;
    QTest::newRow("thirds and halves") << QList<qsizetype>{2, 3, 1, 2, 3} << 0 << 0.5;
    QTest::newRow("long text, most frames")
        << QList<qsizetype>{999'999, 1'000'000, 999, 1000, 10} << 9 << 0.98999;
}

void TestScreenFormats::loopPlace() {
    QFETCH(QList<qsizetype>, where);
    QFETCH(int, segment);
    QFETCH(double, fraction);
    const LoopPlace got = engine::loopPlace(where[0], where[1], where[2], where[3], int(where[4]));
    QCOMPARE(got.segment, segment);
    QCOMPARE(got.fraction, fraction);
}

void TestScreenFormats::colorize_exactCode_data() {
    QTest::addColumn<ColorizeOptions>("options");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colors");
    QTest::addColumn<QString>("expected");
    // The colours each character shows (the preview's), when they are not the gradient's.
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const ColorizeOptions& options, const QString& text,
                        const char* colors, const QString& expected, const char* shown = "") {
        QTest::newRow(name) << options << text << QString::fromLatin1(colors) << expected
                            << QString::fromLatin1(shown);
    };
    using enum OutputFormat;
    using enum ColorDepth;
    const char* grey = "000000 FFFFFF"; // 000000 404040 808080 BFBFBF FFFFFF over five
    const char* redBlue = "FF0000 0000FF";
    ColorizeOptions bold = with(Ansi, Xterm8);
    bold.bold = true;
    ColorizeOptions styled = with(Discord);
    styled.bold = styled.italic = styled.underline = true;
    ColorizeOptions ircStyled = with(Irc);
    ircStyled.bold = ircStyled.italic = ircStyled.underline = true;
    row("ansi 256", with(Ansi, Xterm256), u"ABCDE"_s, grey,
        u"\x1b[38;5;16mA\x1b[38;5;238mB\x1b[38;5;244mC\x1b[38;5;250mD\x1b[38;5;231mE\x1b[0m"_s,
        "000000 444444 808080 BCBCBC FFFFFF");
    row("ansi 16 merges by the nearest colour", with(Ansi, Xterm16, true), u"ABCDE"_s, grey,
        u"\x1b[30mA\x1b[90mBC\x1b[37mD\x1b[97mE\x1b[0m"_s, "000000 7F7F7F 7F7F7F E5E5E5 FFFFFF");
    row("ansi 8, bold", bold, u"ABCDE"_s, grey,
        u"\x1b[1m\x1b[30mA\x1b[31mB\x1b[36mC\x1b[37mD\x1b[37mE\x1b[0m"_s);
    row("discord", with(Discord), u"ABC"_s, redBlue,
        u"```ansi\n\x1b[0;31mA\x1b[0;30mB\x1b[0;34mC\n```"_s, "DC322F 4F545C 268BD2");
    row("discord runs once, no italic", styled, u"ABCDE"_s, grey,
        u"```ansi\n\x1b[0;1;4;30mAB\x1b[0;1;4;36mCD\x1b[0;1;4;37mE\n```"_s);
    row("discord backticks", with(Discord), u"a```b\n``"_s, "FFFFFF",
        u"```ansi\n\x1b[0;37ma`\u200B`\u200B`b\n\x1b[0;37m`\u200B`\n```"_s);
    row("irc", with(Irc), u"ABCDE"_s, grey, irc(u"%01A%05B%14C%15D%00E$"_s),
        "000000 7F0000 7F7F7F D2D2D2 FFFFFF");
    row("irc digits and commas", with(Irc), u",1,2"_s, "FF0000", irc(u"%04**,1,2$"_s));
    row("irc comma after every code", with(Irc), u",,"_s, redBlue, irc(u"%04**,%12**,$"_s));
    row("irc styles each line, controls shown", ircStyled,
        u"a\x03"
        "5b\r\n\x0F\n"_s,
        "000000", irc(u"*~_%01a\u24035b$\n*~_%01\u240F$\n$"_s));
    row("frames", with(Template, TrueColor, false, 4), u"ABCD"_s, redBlue,
        u"FF0000 800080 0000FF 800080 \n800080 0000FF 800080 FF0000 \n"
        "0000FF 800080 FF0000 800080 \n800080 FF0000 800080 0000FF "_s);
    row("frames oklab", with(Template, TrueColor, false, 4, Blend::OkLab), u"ABCDEF"_s,
        "FF0000 00FF00 0000FF",
        u"FF0000 D0A800 00FF00 00AABF 0000FF 8C53A2 \nA0D500 00D68D 0075E2 5147D2 C6496D ED7300 \n"
        "00AABF 0000FF 8C53A2 FF0000 D0A800 00FF00 \n5147D2 C6496D ED7300 A0D500 00D68D 0075E2 "_s);
    row("frames oklch", with(Template, TrueColor, false, 2, Blend::OkLch), u"ABCDEFG"_s,
        "102030 F0E0D0 55AA00",
        u"102030 766576 D5BEB5 E0C993 A4B336 009B47 005C64 \n"
        "C8BC64 6EAC07 007D63 003C50 424055 A88F94 EED9C1 "_s);
    row("frames ansi 256", with(Ansi, Xterm256, false, 2), u"AB"_s, redBlue,
        u"\x1b[38;5;196mA\x1b[38;5;21mB\x1b[0m\n\x1b[38;5;21mA\x1b[38;5;196mB\x1b[0m"_s,
        "FF0000 0000FF");
    row("frames irc", with(Irc, TrueColor, false, 2), u"AB"_s, redBlue,
        irc(u"%04A%12B$\n%12A%04B$"_s), "FF0000 0000FC");
}

void TestScreenFormats::colorize_exactCode() {
    QFETCH(ColorizeOptions, options);
    QFETCH(QString, text);
    QFETCH(QString, colors);
    QFETCH(QString, expected);
    QFETCH(QString, shown);
    const ColorizeResult result = colorize(text, slotsOf(colors), options);
    QCOMPARE(result.code, expected);
    if (!shown.isEmpty()) {
        QStringList got;
        for (const CharColor& c : result.chars) {
            got << u"%1%2%3"_s.arg(color::red(c.color), 2, 16, QChar(u'0'))
                       .arg(color::green(c.color), 2, 16, QChar(u'0'))
                       .arg(color::blue(c.color), 2, 16, QChar(u'0'))
                       .toUpper();
        }
        QCOMPARE(got.join(u' '), shown);
    }
}

// Hostile text (the codes of both chats, digits and commas where a colour code may come,
// backticks in runs, control characters, an emoji, combining marks, line breaks) in a
// four-colour gradient: every character comes back with the nearest colour of the chat's set
// to its font-format colour, exactly the chosen styles, and no background; the block holds.
void TestScreenFormats::readers_getBackTextColoursAndStyles() {
    const QString hostile = u"1,2\x03"
                            "04,05\x02\x0F\x1D\x1F\x16\x04"
                            "FF0000,x ```ansi\n``````"
                            u"\x1b[31m\x7f\u0085\t\U0001F600e\u0301,9\r\n,\r99"_s;
    const SlotValues slots = slotsOf(u"FF0000 00FF00 FFFFFF 0000FF"_s);
    for (const OutputFormat format : {OutputFormat::Irc, OutputFormat::Discord}) {
        const bool irc = format == OutputFormat::Irc;
        const std::span<const SetColor> set = colorsOf(irc ? ColorSet::Mirc : ColorSet::Discord);
        for (int variant = 0; variant < 4; ++variant) {
            ColorizeOptions options = with(format, ColorDepth::TrueColor, variant & 1);
            options.output.skipBlanks = variant & 2;
            options.bold = options.underline = variant != 1;
            const Shown shown =
                (irc ? readIrc : readDiscord)(colorize(hostile, slots, options).code);
            QCOMPARE(shown.text, visibleText(hostile));
            ColorizeOptions font;
            font.output.spread = Spread::Even;
            const ColorizeResult plain =
                colorize(QString(hostile).remove(u'\r').remove(u'\n'), slots, font);
            const Nearest nearest(irc ? ColorSet::Mirc : ColorSet::Discord);
            const int chosen = options.bold ? Bold | Underline : 0;
            qsizetype i = 0;
            for (const CharColor& c : plain.chars) {
                while (shown.text[i] == u'\n') {
                    ++i;
                }
                const Srgb8 expected =
                    nearest({color::red(c.color), color::green(c.color), color::blue(c.color)})
                        .color;
                for (qsizetype end = i + c.length; i < end; ++i) {
                    const auto [number, styles] = shown.looks[i];
                    const bool free = options.output.skipBlanks && shown.text[i].isSpace();
                    const auto match = std::find_if(
                        set.begin(), set.end(), [number](auto s) { return s.number == number; });
                    QVERIFY2(
                        styles == chosen &&
                            (free || (match != set.end() && match->color == expected)),
                        qPrintable(
                            u"%1 variant %2 at %3"_s.arg(formatName(format)).arg(variant).arg(i)));
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestScreenFormats)
#include "tst_screenformats.moc"
