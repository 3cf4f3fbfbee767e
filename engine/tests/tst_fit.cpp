// Several characters per colour, fitting the code to a length, and the MiniMessage gradient
// segments read back as MiniMessage renders them: code point by code point, in single
// precision, rounded half up, written here from MiniMessage's rules and not from the writer.
#include "color/ColorProcs.h"
#include "engine/FitLength.h"

#include <QRegularExpression>
#include <QTest>
#include <cmath>

using namespace tintwave;
using namespace tintwave::engine;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tintwave::engine::ColorizeOptions)

namespace {

SlotValues slotsOf(const QString& codes) {
    SlotValues values;
    values.fill(kButtonFace);
    for (qsizetype i = 0; const QString& code : codes.split(u' ')) {
        const uint v = code.mid(1).toUInt(nullptr, 16);
        values[std::size_t(i++)] = color::rgb(int(v >> 16), int(v >> 8 & 255), int(v & 255));
    }
    return values;
}

// The length the target counts: an IRC server counts bytes.
qsizetype counted(const QString& code, const ColorizeOptions& options) {
    return options.output.format == OutputFormat::Irc ? code.toUtf8().size() : code.size();
}

const QString kHostile = u"Hi <b>\\ & [x] §l 😀 🇩🇪 e\u0301!\r\nsecond  line\n\n§&x"_s;
const QStringList kPalettes = {u"#000000 #FFFFFF"_s, u"#FF0000 #00FF00 #0000FF #FF00FF"_s,
                               u"#123456 #FEDCBA #00FF7F #7F00FF #FFFFFF #000000 #FF8000 "
                               "#0080FF #808080 #C0FFEE"_s};

ColorizeOptions variant(OutputFormat format, int v) {
    ColorizeOptions o{.bold = v % 2 == 1, .underline = v % 3 == 0, .perLine = v % 4 == 3};
    o.output = {.format = format,
                .blend = Blend(v % 3),
                .spread = Spread(v / 3 % 2),
                .skipBlanks = v % 5 == 1,
                .templateText = u"<{r},{h2}{c}>"_s,
                .strikethrough = v % 2 == 0,
                .obfuscated = v % 4 == 0 && hasObfuscated(format)};
    return o;
}

// The colour of each character, and whether it stands alone or in a line of its own.
struct Char {
    qsizetype start, length;
    ColorValue color;
    bool lineBreak;
};
QList<Char> charsOf(const QString& text, const SlotValues& slots, const ColorizeOptions& options) {
    QList<Char> chars;
    for (const CharColor& c : colorize(text, slots, options).chars) {
        const QStringView s = QStringView(text).sliced(c.start, c.length);
        chars.push_back({c.start, c.length, c.color, s == u"\n" || s == u"\r\n" || s == u"\r"});
    }
    return chars;
}

// MiniMessage's colour of code point index of a gradient of size over colors.
ColorValue miniMessageColor(const QList<ColorValue>& colors, qsizetype index, qsizetype size) {
    const float step = size == 1 ? 0.0f : float(colors.size() - 1) / float(size - 1);
    const float position = float(index) * step;
    const ColorValue a = colors[qsizetype(std::floor(position)) % colors.size()];
    const ColorValue b = colors[qsizetype(std::ceil(position)) % colors.size()];
    const float t = position - std::floor(position);
    const auto lerp = [t](int x, int y) {
        return int(std::floor(x + t * float(y - x) + 0.5));
    };
    return color::rgb(lerp(color::red(a), color::red(b)), lerp(color::green(a), color::green(b)),
                      lerp(color::blue(a), color::blue(b)));
}

// The text MiniMessage shows (code points), the colour of each, and the styles that held
// everywhere; a tag it does not know makes the text empty.
struct Shown {
    QList<char32_t> text;
    QList<ColorValue> colors;
    QStringList styles;
};
Shown render(const QString& code) {
    Shown shown;
    QList<ColorValue> stops;
    qsizetype start = -1; // of the open segment
    const auto endSegment = [&] {
        const qsizetype size = shown.text.size() - start;
        for (qsizetype i = start; start >= 0 && i < shown.text.size(); ++i) {
            shown.colors[i] = miniMessageColor(stops, i - start, size);
        }
        start = -1;
    };
    static const QRegularExpression closers(u"^(</[a-z]+>)*$"_s);
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (code[i] == u'<') {
            const QString tag = code.mid(i + 1, code.indexOf(u'>', i) - i - 1);
            i += tag.size() + 1;
            const bool hex = tag.startsWith(u'#') && tag.size() == 7;
            if (hex || tag.startsWith(u"gradient:")) {
                endSegment();
                stops.clear();
                for (const QString& c : tag.split(u':').mid(hex ? 0 : 1)) {
                    stops << color::rgb(c.mid(1, 2).toInt(nullptr, 16),
                                        c.mid(3, 2).toInt(nullptr, 16),
                                        c.mid(5, 2).toInt(nullptr, 16));
                }
                start = shown.text.size();
            } else if (tag == u"/gradient" || tag.startsWith(u"/#")) {
                endSegment();
            } else if (QStringList{"b", "i", "u", "st", "obf"}.contains(tag) &&
                       shown.text.isEmpty()) {
                shown.styles << tag;
            } else if (!tag.startsWith(u'/') || !closers.match(code.sliced(i + 1)).hasMatch()) {
                return {}; // unknown, or a style ending before the text does
            }
            continue;
        }
        i += code[i] == u'\\' && QStringView(u"\\<").contains(code.mid(i + 1, 1));
        const bool pair = code[i].isHighSurrogate() && i + 1 < code.size();
        shown.text << (pair ? QChar::surrogateToUcs4(code[i], code[i + 1]) : code[i].unicode());
        shown.colors << -1;
        i += pair;
    }
    endSegment();
    return shown;
}

} // namespace

class TestFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colorize_stepsStylesAndSections_exactCode_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        using enum OutputFormat;
        const auto row = [](const char* name, OutputFormat format, bool merge, int step,
                            const QString& text, const QString& expected, bool strike = false,
                            bool obfuscated = false, bool underline = false) {
            ColorizeOptions o{.underline = underline, .step = step};
            o.output = {.format = format,
                        .spread = Spread::Even,
                        .merge = merge,
                        .strikethrough = strike,
                        .obfuscated = obfuscated};
            QTest::newRow(name) << o << text << expected;
        };
        // Black to white, even: five characters at 0, 1/4, 1/2, 3/4, 1.
        row("mc-hex step 2: middles a, c, e", McHex, false, 2, u"abcde"_s,
            u"&#000000ab&#808080cd&#FFFFFFe"_s);
        row("span step 2 unmerged: a step is a run", Span, false, 2, u"ab"_s,
            u"<span style=\"color:#000000\">ab</span>"_s);
        row("minimessage step 3, a line break restarts the steps", MiniMessage, true, 3,
            u"abcd\nef"_s, u"<#333333>abc<#999999>d\n<#CCCCCC>ef"_s);
        row("ansi step 9 merged: one colour a line", Ansi, true, 9, u"ab\ncd"_s,
            u"\x1b[38;2;0;0;0mab\x1b[0m\n\x1b[38;2;170;170;170mcd\x1b[0m"_s);
        row("gradient rgb even: one tag", MiniMessageGradient, false, 1, u"abcde"_s,
            u"<gradient:#000000:#FFFFFF>abcde"_s);
        row("gradient styles, escapes", MiniMessageGradient, false, 1, u"<\\"_s,
            u"<u><st><obf><gradient:#000000:#FFFFFF>\\<\\\\</obf></st></u>"_s, true, true, true);
        row("gradient step 3: one colour a step", MiniMessageGradient, false, 3, u"abcdef"_s,
            u"<#333333>abc</#333333><#CCCCCC>def"_s);
        row("mc-section §l§m§k", McSection, false, 1, u"a"_s, u"§x§0§0§0§0§0§0§n§m§ka"_s, true,
            true, true);
        row("mc-hex § left out, & ends the run", McHex, true, 6, u"a§b&§l"_s,
            u"&#666666ab&&#666666l"_s);
        row("template step 3: the control in the middle left out", Template, false, 3,
            u"a\u0001b"_s, u"&#808080ab"_s);
        row("json strike, obfuscated", Json, false, 1, u"a"_s,
            u"[\"\",{\"text\":\"a\",\"color\":\"#000000\",\"strikethrough\":true,"
            "\"obfuscated\":true}]"_s,
            true, true);
        row("span underline line-through", Span, false, 1, u"a"_s,
            u"<span style=\"text-decoration:underline line-through\"><span "
            "style=\"color:#000000\">a</span></span>"_s,
            true, false, true);
        row("bbcode [s]", BBCode, false, 1, u"a"_s, u"[s][color=#000000]a[/color][/s]"_s, true);
        row("ansi 9", Ansi, false, 1, u"a"_s, u"\x1b[9m\x1b[38;2;0;0;0ma\x1b[0m"_s, true);
        row("font <s>", Font, false, 1, u"a"_s, u"<s><font color=\"#000000\">a</font></s>"_s, true);
    }
    void colorize_stepsStylesAndSections_exactCode() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(colorize(text, slotsOf(u"#000000 #FFFFFF"_s), options).code, expected);
    }

    // Every step: the counted length is the written one, each step of a line shows its middle
    // character's colour; every limit: the smallest step whose code fits, or the least length.
    void fitToLength_smallestStepThatFits_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("palette");
        for (const QString& format : formatNames().mid(1)) {
            for (int v = 0; v < 6 && canFitLength({.format = *parseFormat(format)}); ++v) {
                const QString text =
                    v % 2 ? kHostile : u"Gradients fit the limit"_s.repeated(v + 1);
                QTest::addRow("%s %d", qPrintable(format), v)
                    << variant(*parseFormat(format), v) << text << kPalettes[v % 3];
            }
        }
        // The colour sets: runs follow the shown colour; a comma or a backtick after another
        // changes what a run starting there writes, blanks and controls take no code.
        const QString chat = u"``` Hi, ``all`` ,,x`\u0001`y\t``,\n,``\r\n\n`` e\u0301, ok"_s;
        for (int v = 0; v < 12; ++v) {
            ColorizeOptions o = variant(v < 4 ? OutputFormat::Discord : OutputFormat::Irc, v);
            o.italic = v % 3 == 1;
            const QString text = v % 2 ? chat.repeated(v / 2 + 1) : kHostile + chat;
            QTest::addRow("%s chat %d", qPrintable(formatName(o.output.format)), v)
                << o << text << kPalettes[v % 3];
        }
        for (const ColorDepth depth :
             {ColorDepth::Xterm256, ColorDepth::Xterm16, ColorDepth::Xterm8}) {
            for (int v = 0; v < 6; ++v) {
                ColorizeOptions o = variant(OutputFormat::Ansi, v);
                o.italic = v % 3 == 2;
                o.output.colorDepth = depth;
                const QString text =
                    v % 2 ? kHostile + chat : u"Terminal colours"_s.repeated(v + 1);
                QTest::addRow("ansi %s %d", qPrintable(depthName(depth)), v)
                    << o << text << kPalettes[(v + 1) % 3];
            }
        }
    }
    void fitToLength_smallestStepThatFits() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QString, palette);
        const SlotValues slots = slotsOf(palette);
        const CodeLengths lengths(text, slots, options);
        const QList<Char> plain = charsOf(text, slots, withStep(options, 1));
        QList<qsizetype> written{0};
        for (int step = 1; step <= lengths.longestStep() + 1; ++step) {
            written << counted(colorize(text, slots, withStep(options, step)).code, options);
            QCOMPARE(lengths.lengthAt(step), written[step]);
            const QList<Char> chars = charsOf(text, slots, withStep(options, step));
            for (qsizetype k = 0, first = 0; k < chars.size(); ++k) {
                if (chars[k].lineBreak) {
                    first = k + 1;
                    continue;
                }
                first = k - first == step ? k : first;
                qsizetype end = first;
                while (end < chars.size() && end - first < step && !chars[end].lineBreak) {
                    ++end;
                }
                QCOMPARE(chars[k].color, plain[first + (end - first - 1) / 2].color);
            }
        }
        QCOMPARE(written.back(), written[lengths.longestStep()]);
        for (const qsizetype limit : {written[1], written[2] - 1, written[3], written.back() - 1,
                                      written.back(), qsizetype(50)}) {
            const FitResult fit = fitToLength(text, slots, options, limit);
            const auto fitting = std::find_if(written.begin() + 1, written.end(),
                                              [limit](qsizetype n) { return n <= limit; });
            QCOMPARE(fit.fits, fitting != written.end());
            QCOMPARE(fit.step, fit.fits ? int(fitting - written.begin()) : 1);
            QCOMPARE(fit.length,
                     fit.fits ? *fitting : *std::min_element(written.begin() + 1, written.end()));
        }
    }

    // The colour sets, the palettes' colours exactly theirs (even spread: with as many
    // characters as colours, each character has one palette colour).
    void fitToLength_colorSets_exactCode_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("palette");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("step"); // 0: nothing fits
        QTest::addColumn<QString>("code");
        const auto options = [](OutputFormat format, bool perLine, bool bold, ColorDepth depth) {
            ColorizeOptions o{.bold = bold, .perLine = perLine};
            o.output = {.format = format, .spread = Spread::Even, .colorDepth = depth};
            return o;
        };
        // Discord: 150 lines of two backticks, red then green. One colour a line spares a
        // code and costs the zero-width space between the backticks: 2561 units, then 1661.
        const QString backticks = QStringList(150, u"``"_s).join(u'\n');
        const ColorizeOptions discord =
            options(OutputFormat::Discord, true, false, ColorDepth::TrueColor);
        QTest::newRow("discord 2000: two backticks, one code a line")
            << discord << backticks << u"#DC322F #859900"_s << 2000 << 2
            << u"```ansi\n"_s + QStringList(150, u"\x1b[0;31m`\u200B`"_s).join(u'\n') + u"\n```"_s;
        QTest::newRow("discord 2561: every character its colour")
            << discord << backticks << u"#DC322F #859900"_s << 2561 << 1
            << u"```ansi\n"_s + QStringList(150, u"\x1b[0;31m`\x1b[0;32m`"_s).join(u'\n') +
                   u"\n```"_s;
        // IRC: 04 red, 09 green, 12 blue, 04; a run starting at a comma keeps it apart. (The
        // colour numbers stand apart so no hex escape takes them in.)
        const ColorizeOptions irc = options(OutputFormat::Irc, false, true, ColorDepth::TrueColor);
        const QString rgbr = u"#FF0000 #00FC00 #0000FC #FF0000"_s;
        QTest::newRow("irc 22: step 1") << irc << u",a,b"_s << rgbr << 22 << 1
                                        << u"\x02\x03"
                                           "04\x02\x02,\x03"
                                           "09a\x03"
                                           "12\x02\x02,\x03"
                                           "04b\x0F"_s;
        QTest::newRow("irc 21: middles , ,") << irc << u",a,b"_s << rgbr << 21 << 2
                                             << u"\x02\x03"
                                                "04\x02\x02,a\x03"
                                                "12\x02\x02,b\x0F"_s;
        QTest::newRow("irc 14: middles a b") << irc << u",a,b"_s << rgbr << 14 << 3
                                             << u"\x02\x03"
                                                "09\x02\x02,a,\x03"
                                                "04b\x0F"_s;
        QTest::newRow("irc 12: one colour") << irc << u",a,b"_s << rgbr << 12 << 4
                                            << u"\x02\x03"
                                               "09\x02\x02,a,b\x0F"_s;
        QTest::newRow("irc 10: cannot fit") << irc << u",a,b"_s << rgbr << 10 << 0 << QString();
        // xterm 16 (cube) and 231 (white): the number's digits count.
        QTest::newRow("ansi 256") << options(OutputFormat::Ansi, false, false, ColorDepth::Xterm256)
                                  << u"ab"_s << u"#000000 #FFFFFF"_s << 26 << 2
                                  << u"\x1b[38;5;16mab\x1b[0m"_s;
        QTest::newRow("ansi 16 bold")
            << options(OutputFormat::Ansi, false, true, ColorDepth::Xterm16) << u"ab"_s
            << u"#000000 #FFFFFF"_s << 24 << 1 << u"\x1b[1m\x1b[30ma\x1b[97mb\x1b[0m"_s;
    }
    void fitToLength_colorSets_exactCode() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QString, palette);
        QFETCH(int, limit);
        QFETCH(int, step);
        QFETCH(QString, code);
        const SlotValues slots = slotsOf(palette);
        const FitResult fit = fitToLength(text, slots, options, limit);
        QCOMPARE(fit.fits, step > 0);
        if (step > 0) {
            QCOMPARE(fit.step, step);
            QCOMPARE(fit.length, counted(code, options));
            QCOMPARE(colorize(text, slots, withStep(options, step)).code, code);
        } else {
            QVERIFY(fit.length > limit);
        }
    }

    // The first code point of every character within 2 per channel of its colour, the text
    // and the styles as they were; one tag of all colours for rgb and even.
    void minimessageGradient_rendersWithinTwoPerChannel_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("palette");
        for (int v = 0; v < 36; ++v) {
            ColorizeOptions o = variant(OutputFormat::MiniMessageGradient, v);
            o.step = v % 7 == 2 ? 3 : 1;
            const QString text = v % 3 == 0   ? kHostile
                                 : v % 3 == 1 ? u"x"_s.repeated(v * 30 + 1)
                                              : u"Welcome to the server, friend!"_s;
            QTest::addRow("%d", v) << o << text << kPalettes[v / 3 % 3];
        }
    }
    void minimessageGradient_rendersWithinTwoPerChannel() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QString, palette);
        const SlotValues slots = slotsOf(palette);
        const QString code = colorize(text, slots, options).code;
        const Shown shown = render(code);
        QCOMPARE(QString::fromUcs4(shown.text.data(), shown.text.size()),
                 QString(text).replace(u"\r\n"_s, u"\n"_s));
        QCOMPARE(
            shown.styles.join(u' '),
            QStringList({options.bold ? u"b"_s : QString(), options.underline ? u"u"_s : QString(),
                         options.output.strikethrough ? u"st"_s : QString(),
                         options.output.obfuscated ? u"obf"_s : QString()})
                .join(u' ')
                .simplified());
        ColorizeOptions reference = options;
        reference.output.format = OutputFormat::Json;
        qsizetype at = 0;
        for (const Char& c : charsOf(text, slots, reference)) {
            const ColorValue got = shown.colors[at];
            const bool free = c.lineBreak || (options.output.skipBlanks && c.length == 1 &&
                                              text[c.start].isSpace());
            QVERIFY2(free || (std::abs(color::red(got) - color::red(c.color)) <= 2 &&
                              std::abs(color::green(got) - color::green(c.color)) <= 2 &&
                              std::abs(color::blue(got) - color::blue(c.color)) <= 2),
                     qPrintable(u"code point %1 of %2"_s.arg(at).arg(code)));
            at += c.lineBreak ? 1 : QString(text.sliced(c.start, c.length)).toUcs4().size();
        }
        const bool oneTag = options.output.blend == Blend::Rgb &&
                            options.output.spread == Spread::Even && options.step == 1 &&
                            text != kHostile;
        if (oneTag) {
            QCOMPARE(code.count(u"<gradient:"_s) + code.count(u"<#"_s), 1);
            QVERIFY(code.contains(u"<gradient:"_s + palette.replace(u' ', u':') + u'>'));
        }
    }
};

QTEST_APPLESS_MAIN(TestFit)
#include "tst_fit.moc"
