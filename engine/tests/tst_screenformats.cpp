// Output for terminals and chats with few colours, and animation frames. The nearest colour
// of each fixed set is checked over the colour cube against a table of this test's own (the
// colours as xterm, Discord and mIRC publish them, searched in full); the frame colours come
// from engine/tests/oklab_reference.py's mixing functions.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/LoopGradient.h"

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
    const QString listed =
        set == Discord ? u"4F545C DC322F 859900 B58900 268BD2 D33682 2AA198 FFFFFF"_s
        : set == Mirc
            ? u"FFFFFF 000000 00007F 009300 FF0000 7F0000 9C009C FC7F00 "
              "FFFF00 00FC00 009393 00FFFF 0000FC FF00FF 7F7F7F D2D2D2"_s
            : u"000000 CD0000 00CD00 CDCD00 0000EE CD00CD 00CDCD E5E5E5 "
              "7F7F7F FF0000 00FF00 FFFF00 5C5CFF FF00FF 00FFFF FFFFFF"_s.left(set == Xterm8 ? 55
                                                                               : set == Xterm16
                                                                                   ? 111
                                                                                   : 0);
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
                     bool merge = false, qsizetype frames = 0) {
    return {.output = {.format = format,
                       .spread = Spread::Even,
                       .merge = merge,
                       .templateText = u"{hex} "_s,
                       .colorDepth = depth},
            .frames = frames};
}

// IRC code written readably: % colour, * bold, ~ italic, _ underline, $ reset.
QString irc(QString code) {
    const QString marks = u"%*~_$"_s, codes = u"\x03\x02\x1D\x1F\x0F"_s;
    for (QChar& c : code) {
        c = marks.contains(c) ? codes[marks.indexOf(c)] : c;
    }
    return code;
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
            for (int i = 0; i < 52 * 52 * 52; ++i) {
                QVERIFY2(nearEnough({i / 2704 * 5, i / 52 % 52 * 5, i % 52 * 5}),
                         qPrintable(QString::number(i)));
            }
            for (int v = 0; v < 256; ++v) {
                QVERIFY(nearEnough({v, v, v}));
            }
        }
    }

    // Whole numbers: a character on a colour lands on it exactly, frame N is frame 0.
    void loopPlace_frameNIsFrameZero() {
        QCOMPARE(loopPlace(3, 4, 4, 4, 2), (LoopPlace{1, 0.5}));
        QCOMPARE(loopPlace(999'999, 1'000'000, 1999, 1000, 10), (LoopPlace{9, 0.98999}));
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
        const auto styled = [](ColorizeOptions o) {
            o.bold = o.italic = o.underline = true;
            return o;
        };
        row("ansi 256", with(Ansi, Xterm256), u"ABCDE"_s, grey,
            u"\x1b[38;5;16mA\x1b[38;5;238mB\x1b[38;5;244mC\x1b[38;5;250mD\x1b[38;5;231mE\x1b[0m"_s,
            "000000 444444 808080 BCBCBC FFFFFF");
        row("ansi 16 merges by the nearest colour", with(Ansi, Xterm16, true), u"ABCDE"_s, grey,
            u"\x1b[30mA\x1b[90mBC\x1b[37mD\x1b[97mE\x1b[0m"_s,
            "000000 7F7F7F 7F7F7F E5E5E5 FFFFFF");
        row("ansi 8, styles", styled(with(Ansi, Xterm8)), u"ABCDE"_s, grey,
            u"\x1b[1;3;4m\x1b[30mA\x1b[31mB\x1b[36mC\x1b[37mD\x1b[37mE\x1b[0m"_s);
        row("discord runs once, no italic", styled(with(Discord)), u"ABCDE"_s, grey,
            u"```ansi\n\x1b[0;1;4;30mAB\x1b[0;1;4;36mCD\x1b[0;1;4;37mE\n```"_s,
            "4F545C 4F545C 2AA198 2AA198 FFFFFF");
        row("discord backticks", with(Discord), u"a```b\n``"_s, "FFFFFF",
            u"```ansi\n\x1b[0;37ma`\u200B`\u200B`b\n\x1b[0;37m`\u200B`\n```"_s);
        row("irc", with(Irc), u"ABCDE"_s, grey, irc(u"%01A%05B%14C%15D%00E$"_s),
            "000000 7F0000 7F7F7F D2D2D2 FFFFFF");
        // A comma after a code, a digit after a code, a control character left out.
        row("irc hostile", with(Irc),
            u",\x03"
            "1"_s,
            redBlue, irc(u"%04**,%121$"_s));
        row("irc styles each line, controls left out", styled(with(Irc)),
            u"a\x03"
            "5b\r\n\x0F\n"_s,
            "000000", irc(u"*~_%01a5b$\n$\n$"_s));
        row("frames", with(Template, TrueColor, false, 4), u"ABCD"_s, redBlue,
            u"FF0000 800080 0000FF 800080 \n800080 0000FF 800080 FF0000 \n"
            "0000FF 800080 FF0000 800080 \n800080 FF0000 800080 0000FF "_s);
        row("frames irc", with(Irc, TrueColor, false, 2), u"AB"_s, redBlue,
            irc(u"%04A%12B$\n%12A%04B$"_s), "FF0000 0000FC");
        // Each frame a whole code that a frame list takes alone, wrappers and all.
        row("frames minimessage", styled(with(MiniMessage, TrueColor, false, 2)), u"AB"_s, redBlue,
            u"<b><i><u><#FF0000>A<#0000FF>B</u></i></b>\n"
            "<b><i><u><#0000FF>A<#FF0000>B</u></i></b>"_s);
        row("frames json", with(Json, TrueColor, true, 2), u"AA"_s, "FF0000",
            u"[\"\",{\"text\":\"AA\",\"color\":\"#FF0000\"}]\n"
            "[\"\",{\"text\":\"AA\",\"color\":\"#FF0000\"}]"_s);
        row("frames discord, one block", with(Discord, TrueColor, false, 2), u"AB"_s, redBlue,
            u"```ansi\n\x1b[0;31mA\x1b[0;34mB\n\x1b[0;34mA\x1b[0;31mB\n```"_s);
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
};

QTEST_GUILESS_MAIN(TestScreenFormats)
#include "tst_screenformats.moc"
