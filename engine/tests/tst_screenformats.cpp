// Output for terminals and chats with few colours, and animation frames. The nearest colour
// of each fixed set is checked over the colour cube against a table of this test's own (the
// colours as xterm, Discord and mIRC publish them, searched in full); the frame colours come
// from engine/tests/oklab_reference.py's mixing functions; IRC code is read back as IRC
// clients read it.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/LoopGradient.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>
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

using Lab = colorspace::OkLab;

double distance(const Lab& x, const Lab& y) {
    return (x.l - y.l) * (x.l - y.l) + (x.a - y.a) * (x.a - y.a) + (x.b - y.b) * (x.b - y.b);
}

Lab oklab(Srgb8 c) {
    return colorspace::toOkLab(colorspace::toLinear(c));
}

// Each colour of a set: the number the target writes and its OKLab.
std::vector<std::pair<int, Lab>> referenceFor(ColorSet set) {
    using enum ColorSet;
    const QString xterm = u"000000 CD0000 00CD00 CDCD00 0000EE CD00CD 00CDCD E5E5E5 "
                          "7F7F7F FF0000 00FF00 FFFF00 5C5CFF FF00FF 00FFFF FFFFFF"_s;
    const QString listed =
        set == Discord ? u"4F545C DC322F 859900 B58900 268BD2 D33682 2AA198 FFFFFF"_s
        : set == Mirc  ? u"FFFFFF 000000 00007F 009300 FF0000 7F0000 9C009C FC7F00 "
                        "FFFF00 00FC00 009393 00FFFF 0000FC FF00FF 7F7F7F D2D2D2"_s
        : set == Xterm256 ? QString()
                          : xterm.left(set == Xterm8 ? 55 : 111);
    std::vector<std::pair<int, Lab>> ref;
    const int level[] = {0, 95, 135, 175, 215, 255};
    for (int n = 16, k = 0; set == Xterm256 && n < 256; ++n, k = n - 16) {
        const int grey = 8 + 10 * (n - 232);
        ref.push_back({n, oklab(n < 232 ? Srgb8{level[k / 36], level[k / 6 % 6], level[k % 6]}
                                        : Srgb8{grey, grey, grey})});
    }
    const QStringList codes = listed.split(u' ', Qt::SkipEmptyParts);
    for (int n = 0; n < codes.size(); ++n) {
        const int number = set == Mirc ? n : n < 8 ? 30 + n : 90 + n - 8;
        ref.push_back({number, oklab(hex(codes[n].toUInt(nullptr, 16)))});
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
    options.output = {.format = format,
                      .blend = blend,
                      .spread = Spread::Even,
                      .merge = merge,
                      .templateText = u"{hex} "_s,
                      .colorDepth = depth};
    options.frames = frames;
    return options;
}

// What a chat shows: the text, and per UTF-16 unit the colour number (-1: none) and styles
// (1 bold, 2 italic, 4 underline, 8 anything else).
struct Shown {
    QString text;
    QList<std::pair<int, int>> looks;
    void add(QChar c, int color, int styles) {
        text += c;
        looks.push_back({color, styles});
    }
};

// As IRC clients read: \x02, \x1D, \x1F toggle bold, italic, underline (other toggles count as
// 8); \x0F resets everything; \x03 takes up to two digits of colour and then, after a
// comma, up to two of background (8). Each line is a message of its own.
Shown readIrc(const QString& code) {
    Shown shown;
    int color = -1, styles = 0;
    const auto digits = [&code](qsizetype& i) {
        int value = -1;
        for (int n = 0; n < 2 && i + 1 < code.size() && code[i + 1].isDigit(); ++n) {
            value = std::max(value, 0) * 10 + code[++i].digitValue();
        }
        return value;
    };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t u = code[i].unicode();
        const qsizetype toggle = QStringView(u"\x02\x1D\x1F\x1E\x16\x11").indexOf(QChar(u));
        if (u == u'\x0F' || u == u'\n') {
            color = -1;
            styles = 0;
        } else if (toggle >= 0) {
            styles ^= toggle < 3 ? 1 << toggle : 8;
        } else if (u == u'\x03' && (color = digits(i)) >= 0 && i + 2 < code.size() &&
                   code[i + 1] == u',' && code[i + 2].isDigit()) {
            digits(++i);
            styles |= 8;
        }
        if (u == u'\n' || u == u'\t' || (u >= 0x20 && u != 0x7F)) {
            shown.add(code[i], color, styles);
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

// The text as a chat must show it: line breaks as LF, control characters left out, C1
// controls as U+FFFD.
QString visibleText(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    text.remove(QRegularExpression(u"[\\x00-\\x08\\x0B-\\x1F\\x7F]"_s));
    return text.replace(QRegularExpression(u"[\\x80-\\x9F]"_s), u"\uFFFD"_s);
}

} // namespace

class TestScreenFormats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every fifth level of each component (0, 5, .. 255) and every grey. Where two colours of
    // the set are as near within rounding of the distances, either may be chosen.
    void nearest_sweep() {
        for (const ColorSet set : {ColorSet::Xterm256, ColorSet::Xterm16, ColorSet::Xterm8,
                                   ColorSet::Discord, ColorSet::Mirc}) {
            const auto ref = referenceFor(set);
            const Nearest nearest(set);
            const auto nearEnough = [&](Srgb8 c) {
                const Lab lab = oklab(c);
                double best = 1e9, chosen = 1e9;
                for (const auto& [number, other] : ref) {
                    best = std::min(best, distance(lab, other));
                    chosen = number == nearest(c).number ? distance(lab, other) : chosen;
                }
                return chosen - best <= 1e-12;
            };
            for (int r = 0; r < 256; r += 5) {
                for (int g = 0; g < 256; g += 5) {
                    for (int b = 0; b < 256; b += 5) {
                        QVERIFY2(nearEnough({r, g, b}),
                                 qPrintable(u"%1 %2 %3"_s.arg(r).arg(g).arg(b)));
                    }
                }
            }
            for (int v = 0; v < 256; ++v) {
                QVERIFY(nearEnough({v, v, v}));
            }
        }
    }

    // Whole numbers: a character on a colour lands on it exactly, frame N is frame 0.
    void loopPlace_positions() {
        const auto at = [](qsizetype i, qsizetype length, qsizetype frame, qsizetype frames,
                           int count) {
            const LoopPlace p = loopPlace(i, length, frame, frames, count);
            return std::pair(p.segment, p.fraction);
        };
        QCOMPARE(at(3, 4, 0, 4, 2), std::pair(1, 0.5));
        QCOMPARE(at(3, 4, 4, 4, 2), std::pair(1, 0.5));
        QCOMPARE(at(2, 3, 1, 2, 3), std::pair(0, 0.5));
        QCOMPARE(at(999'999, 1'000'000, 999, 1000, 10), std::pair(9, 0.98999));
    }

    void colorize_exactCode_data() {
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
            u"\x1b[30mA\x1b[90mBC\x1b[37mD\x1b[97mE\x1b[0m"_s,
            "000000 7F7F7F 7F7F7F E5E5E5 FFFFFF");
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
        row("irc styles each line, controls left out", ircStyled,
            u"a\x03"
            "5b\r\n\x0F\n"_s,
            "000000", irc(u"*~_%01a5b$\n$\n$"_s));
        row("frames", with(Template, TrueColor, false, 4), u"ABCD"_s, redBlue,
            u"FF0000 800080 0000FF 800080 \n800080 0000FF 800080 FF0000 \n"
            "0000FF 800080 FF0000 800080 \n800080 FF0000 800080 0000FF "_s);
        row("frames oklab", with(Template, TrueColor, false, 4, Blend::OkLab), u"ABCDEF"_s,
            "FF0000 00FF00 0000FF",
            u"FF0000 D0A800 00FF00 00AABF 0000FF 8C53A2 \nA0D500 00D68D 0075E2 5147D2 C6496D "
            u"ED7300 \n"
            "00AABF 0000FF 8C53A2 FF0000 D0A800 00FF00 \n5147D2 C6496D ED7300 A0D500 00D68D 0075E2 "_s);
        row("frames irc", with(Irc, TrueColor, false, 2), u"AB"_s, redBlue,
            irc(u"%04A%12B$\n%12A%04B$"_s), "FF0000 0000FC");
    }
    void colorize_exactCode() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QString, colors);
        QFETCH(QString, expected);
        QFETCH(QString, shown);
        const ColorizeResult result = colorize(text, slotsOf(colors), options);
        QCOMPARE(result.code, expected);
        QString got;
        for (const CharColor& c : result.chars) {
            const int rgb =
                color::red(c.color) << 16 | color::green(c.color) << 8 | color::blue(c.color);
            got += u"%1 "_s.arg(rgb, 6, 16, QChar(u'0')).toUpper();
        }
        QCOMPARE(shown.isEmpty() ? shown : got.trimmed(), shown);
    }

    // Hostile text (the codes of both chats, digits and commas where a colour code may come,
    // backticks in runs, control characters, an emoji, combining marks, line breaks) in a
    // four-colour gradient. IRC: every character comes back with the nearest colour of the set
    // to its font-format colour, exactly the chosen styles, and no background. Discord: the
    // block ends only at its end, and without the codes and zero-width spaces the text is there.
    void readers_getBackTextColoursAndStyles() {
        const QString hostile = u"1,2\x03"
                                "04,05\x02\x0F\x1D\x1F\x16\x04"
                                "FF0000,x ```ansi\n``````"
                                u"\x1b[31m\x7f\u0085\t\U0001F600e\u0301,9\r\n,\r99"_s;
        const SlotValues slots = slotsOf(u"FF0000 00FF00 FFFFFF 0000FF"_s);
        ColorizeOptions font;
        font.output.spread = Spread::Even;
        const QString flat = QString(hostile).remove(u'\r').remove(u'\n');
        const ColorizeResult plain = colorize(flat, slots, font);
        const Nearest nearest(ColorSet::Mirc);
        for (int variant = 0; variant < 4; ++variant) {
            ColorizeOptions options =
                with(OutputFormat::Discord, ColorDepth::TrueColor, variant & 1);
            options.output.skipBlanks = variant & 2;
            options.bold = options.underline = variant != 1;
            QString discord = colorize(hostile, slots, options).code;
            QCOMPARE(discord.indexOf(u"```"_s, 3), discord.size() - 3);
            discord.remove(QRegularExpression(u"\x1b\\[[0-9;]*m|\u200B"_s));
            QCOMPARE(discord, u"```ansi\n"_s + visibleText(hostile) + u"\n```"_s);
            options.output.format = OutputFormat::Irc;
            const Shown shown = readIrc(colorize(hostile, slots, options).code);
            QCOMPARE(shown.text, visibleText(hostile));
            qsizetype i = 0;
            for (const CharColor& c : plain.chars) {
                if (visibleText(flat.mid(c.start, c.length)).isEmpty()) {
                    continue; // a control character, left out
                }
                i += shown.text[i] == u'\n' ? 1 : 0;
                const Srgb8 rgb{color::red(c.color), color::green(c.color), color::blue(c.color)};
                for (const qsizetype end = i + c.length; i < end; ++i) {
                    const bool free = options.output.skipBlanks && shown.text[i].isSpace();
                    QVERIFY2(shown.looks[i].second == (options.bold ? 5 : 0) &&
                                 (free || shown.looks[i].first == nearest(rgb).number),
                             qPrintable(u"variant %1 at %2"_s.arg(variant).arg(i)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestScreenFormats)
#include "tst_screenformats.moc"
