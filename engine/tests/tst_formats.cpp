#include "engine/Colorize.h"
#include "engine/Graphemes.h"
#include "engine/tests/EngineTestKit.h"

#include <QRegularExpression>
#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace tintwave::engine::testing;
using namespace Qt::StringLiterals;

namespace {

QString unescapeHtml(QString text) {
    return text.replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&quot;"_s, u"\""_s)
        .replace(u"&amp;"_s, u"&"_s);
}

void repeat(QList<ColorValue>& colors, const QString& text, ColorValue color) {
    colors.append(QList<ColorValue>(qsizetype(graphemeBoundaries(text).size() - 1), color));
}

// The colour every character of the code renders in, read back from the markup the way a
// browser, forum or terminal applies it. Line breaks of the ansi format are written bare and
// are left out.
QList<ColorValue> renderedColors(OutputFormat format, const QString& code) {
    QList<ColorValue> colors;
    if (format == OutputFormat::Ansi) {
        static const QRegularExpression sgr(u"\x1b\\[([0-9;]*)m"_s);
        ColorValue current = -1;
        qsizetype at = 0;
        for (const auto& m : sgr.globalMatch(code)) {
            QString text = code.mid(at, m.capturedStart() - at);
            text.remove(u'\r').remove(u'\n');
            repeat(colors, text, current);
            const QStringList p = m.captured(1).split(u';');
            if (p.size() == 5 && p[0] == u"38" && p[1] == u"2") {
                current = p[2].toInt() | p[3].toInt() << 8 | p[4].toInt() << 16;
            } else if (p == QStringList{u"0"_s}) {
                current = -1;
            }
            at = m.capturedEnd();
        }
        return colors;
    }
    static const QRegularExpression span(u"<span style=\"color:#(\\w{6})\">(.*?)</span>"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression font(u"<font color=\"#(\\w{6})\">(.*?)</font>"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression bbcode(u"\\[color=#(\\w{6})\\](.*?)\\[/color\\]"_s,
                                           QRegularExpression::DotMatchesEverythingOption);
    const bool html = format == OutputFormat::Span;
    const QRegularExpression& tag = html ? span : format == OutputFormat::Font ? font : bbcode;
    for (const auto& m : tag.globalMatch(code)) {
        repeat(colors, html ? unescapeHtml(m.captured(2)) : m.captured(2),
               packed(u'#' + m.captured(1)));
    }
    return colors;
}

} // namespace

class TestFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_roundTripAndRejectOthers() {
        for (const QString& name : formatNames()) {
            QCOMPARE(formatName(*parseFormat(name)), name);
        }
        for (const QString& name : blendNames()) {
            QCOMPARE(blendName(*parseBlend(name)), name);
        }
        for (const QString& name : spreadNames()) {
            QCOMPARE(spreadName(*parseSpread(name)), name);
        }
        QCOMPARE(formatNames(), (QStringList{u"font"_s, u"span"_s, u"bbcode"_s, u"ansi"_s}));
        QVERIFY(!parseFormat(u"Span") && !parseBlend(u"lab") && !parseSpread(u""));
    }

    void legacyFontSize_countsFromThreeAndClamps_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("legacy"); // 0: none
        QTest::newRow("+2") << u"+2"_s << 5;
        QTest::newRow("-1") << u"-1"_s << 2;
        QTest::newRow("+7 clamped") << u"+7"_s << 7;
        QTest::newRow("-7 clamped") << u"-7"_s << 1;
        QTest::newRow("bare 6") << u"6"_s << 6;
        QTest::newRow("None") << u"None"_s << 0;
        QTest::newRow("sign only") << u"+"_s << 0;
        QTest::newRow("not digits") << u"+1px"_s << 0;
    }
    void legacyFontSize_countsFromThreeAndClamps() {
        QFETCH(QString, size);
        QFETCH(int, legacy);
        QCOMPARE(legacyFontSize(size).value_or(0), legacy);
    }

    // styles as in optionsFor.
    void colorize_format_exactCode_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("colors");
        QTest::addColumn<QString>("styles");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& format, const QString& text,
                            const QList<int>& colors, const QString& expected,
                            const QString& styles = {}, const QString& face = u"None"_s,
                            const QString& size = u"None"_s) {
            QTest::newRow(name) << format << text << colors << styles << face << size << expected;
        };
        const QList<int> black{0}, grey{0, 0xFFFFFF}, navy{0x102030}, lime{0x00FF00};
        row("font black to white", u"font"_s, u"ABCDE"_s, grey,
            u"<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
            "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
            "<font color=\"#AAAAAA\">E</font>"_s);
        row("font one char, ten colours", u"font"_s, u"Q"_s, {0x0000FF, 1, 2, 3, 4, 5, 6, 7, 8, 9},
            u"<font color=\"#FF0000\">Q</font>"_s);
        row("font falling red, L 2", u"font"_s, u"ab"_s, {0x0000FF, 0x000000, 0xFFFFFF},
            u"<font color=\"#FF0000\">a</font><font color=\"#800000\">b</font>"_s);
        row("font equal colours", u"font"_s, u"ab"_s, {0xABCDEF, 0xABCDEF},
            u"<font color=\"#EFCDAB\">a</font><font color=\"#EFCDAB\">b</font>"_s);
        row("font size only", u"font"_s, u"x"_s, lime,
            u"<font size=+1><font color=\"#00FF00\">x</font></font>"_s, {}, u"None"_s, u"+1"_s);
        row("font face only", u"font"_s, u"x"_s, lime,
            u"<font face=\"Arial\"><font color=\"#00FF00\">x</font></font>"_s, {}, u"Arial"_s);
        row("font lower-case none is a face", u"font"_s, u"x"_s, black,
            u"<font face=\"none\" size=+2><font color=\"#000000\">x</font></font>"_s, {}, u"none"_s,
            u"+2"_s);
        row("font all styles", u"font"_s, u"x"_s, black,
            u"<center><b><i><u><font face=\"Arial\" size=-1><font color=\"#000000\">x</font>"
            "</font></u></i></b></center>"_s,
            u"ubic"_s, u"Arial"_s, u"-1"_s);
        row("font not escaped", u"font"_s, u"<\"&"_s, navy,
            u"<b><font color=\"#302010\"><</font><font color=\"#302010\">\"</font>"
            "<font color=\"#302010\">&</font></b>"_s,
            u"b"_s);
        row("font ignores merge", u"font"_s, u"ab"_s, black,
            u"<font color=\"#000000\">a</font><font color=\"#000000\">b</font>"_s, u"m"_s);
        row("span escapes", u"span"_s, u"<&\">"_s, navy,
            u"<span style=\"color:#302010\">&lt;</span><span style=\"color:#302010\">&amp;</span>"
            "<span style=\"color:#302010\">&quot;</span><span style=\"color:#302010\">&gt;</span>"_s);
        row("span wrappers", u"span"_s, u"x"_s, black,
            u"<div style=\"text-align:center\"><span style=\"font-family:'Times New Roman';"
            "font-size:x-large;font-weight:bold;font-style:italic;text-decoration:underline\">"
            "<span style=\"color:#000000\">x</span></span></div>"_s,
            u"cbiu"_s, u"Times New Roman"_s, u"+2"_s);
        row("span hostile face", u"span"_s, u"x"_s, black,
            u"<span style=\"font-family:'a\\'b&quot;c;&lt;\\\\\\a ';font-size:x-small\">"
            "<span style=\"color:#000000\">x</span></span>"_s,
            {}, u"a'b\"c;<\\\n"_s, u"-7"_s);
        row("span generic face", u"span"_s, u"x"_s, black,
            u"<span style=\"font-family:monospace\"><span style=\"color:#000000\">x</span></span>"_s,
            {}, u"Monospace"_s, u"big"_s);
        row("span merged, cluster whole", u"span"_s, u"ae\u0301&"_s, black,
            u"<span style=\"color:#000000\">ae\u0301&amp;</span>"_s, u"m"_s);
        row("bbcode wrappers", u"bbcode"_s, u"x"_s, black,
            u"[center][b][i][u][font=Arial][size=4][color=#000000]x[/color][/size][/font]"
            "[/u][/i][/b][/center]"_s,
            u"cbiu"_s, u"Ar[ia]l"_s, u"+1"_s);
        row("bbcode unmerged", u"bbcode"_s, u"ab"_s, grey,
            u"[color=#000000]a[/color][color=#FFFFFF]b[/color]"_s, u"e"_s);
        row("bbcode bracket ends a run", u"bbcode"_s, u"[b]x[/color]"_s, black,
            u"[color=#000000][[/color][color=#000000]b]x[[/color][color=#000000]/color][/color]"_s,
            u"m"_s);
        row("ansi styles", u"ansi"_s, u"ab"_s, grey,
            u"\x1b[1;4m\x1b[38;2;0;0;0ma\x1b[38;2;255;255;255mb\x1b[0m"_s, u"cbue"_s, u"Arial"_s,
            u"+3"_s);
        row("ansi line breaks keep their place", u"ansi"_s, u"ab\ncd"_s, grey,
            u"\x1b[38;2;0;0;0ma\x1b[38;2;64;64;64mb\x1b[0m\n"
            "\x1b[38;2;191;191;191mc\x1b[38;2;255;255;255md\x1b[0m"_s,
            u"me"_s);
        row("ansi styles again after CR LF", u"ansi"_s, u"a\r\nb\n"_s, {0x0000FF},
            u"\x1b[3m\x1b[38;2;255;0;0ma\x1b[0m\r\n\x1b[3m\x1b[38;2;255;0;0mb\x1b[0m\n"_s, u"im"_s);
        row("ansi only a break", u"ansi"_s, u"\n"_s, black, u"\n"_s, u"b"_s);
        row("ansi controls made visible", u"ansi"_s, u"a\x1b[2J\x7f\u0085\tb"_s, black,
            u"\x1b[38;2;0;0;0ma\u241b[2J\u2421\uFFFD\tb\x1b[0m"_s, u"m"_s);
    }
    void colorize_format_exactCode() {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QList<int>, colors);
        QFETCH(QString, styles);
        QFETCH(QString, face);
        QFETCH(QString, size);
        QFETCH(QString, expected);
        const ColorizeResult result =
            colorize(text, slotsWith(colors), optionsFor(format, styles, face, size));
        QVERIFY(result.ok());
        QCOMPARE(result.code, expected);
        if (format == u"font") { // the colours reported are those of the tags
            QList<ColorValue> colorsOfChars;
            for (const CharColor& c : result.chars)
                colorsOfChars << c.color;
            QCOMPARE(renderedColors(OutputFormat::Font, result.code), colorsOfChars);
        }
    }

    // Brackets, markup characters, clusters and line breaks in a smooth gradient: the code
    // renders each character in exactly the colour the engine reports, merged or not.
    void colorize_mergedAndUnmerged_renderTheSameColours_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("span") << u"span"_s;
        QTest::newRow("bbcode") << u"bbcode"_s;
        QTest::newRow("ansi") << u"ansi"_s;
    }
    void colorize_mergedAndUnmerged_renderTheSameColours() {
        QFETCH(QString, format);
        QString text;
        for (int i = 0; i < 40; ++i) {
            text += u"[b]<a href=\"x\">&amp;</a> [/color]e\u0301\U0001F1E9\U0001F1EA\r\n"_s;
        }
        const SlotValues slots = slotsWith({0x000000, 0x0000FF, 0xFFFFFF});
        for (const QString& spread : {u""_s, u"e"_s}) {
            const ColorizeResult plain = colorize(text, slots, optionsFor(format, spread));
            const ColorizeResult merged = colorize(text, slots, optionsFor(format, spread + u'm'));
            QList<ColorValue> expected;
            for (const CharColor& c : plain.chars) {
                const QStringView cluster = QStringView(text).sliced(c.start, c.length);
                if (format != u"ansi" || (cluster != u"\n" && cluster != u"\r\n")) {
                    expected << c.color;
                }
            }
            const OutputFormat f = *parseFormat(format);
            QCOMPARE(renderedColors(f, plain.code), expected);
            QCOMPARE(renderedColors(f, merged.code), expected);
            QCOMPARE(merged.chars, plain.chars);
            QVERIFY(merged.code.size() < plain.code.size());
        }
    }

    // A smooth two-colour gradient has long runs of equal colour.
    void colorize_merge_smoothGradientIsUnderATenthOfTheSize() {
        const QString text(100'000, u'x');
        for (const QString& format : {u"span"_s, u"bbcode"_s, u"ansi"_s}) {
            const SlotValues slots = slotsWith({0x2040C0, 0xC08020});
            const qsizetype plain = colorize(text, slots, optionsFor(format, u"e"_s)).code.size();
            const qsizetype merged = colorize(text, slots, optionsFor(format, u"em"_s)).code.size();
            QVERIFY2(merged * 10 <= plain, qPrintable(format));
        }
    }

    // The streamed code is the same text in more than one piece, none ending half way
    // through a surrogate pair.
    void colorizeTo_piecesJoinToTheWholeCode() {
        struct Pieces : CodeSink {
            QString joined;
            int count = 0;
            bool split = false;
            void write(QStringView piece) override {
                joined += piece;
                ++count;
                split = split || piece.back().isHighSurrogate();
            }
        };
        const QString text = QString(u"\U0001F600a"_s).repeated(30'000);
        for (const QString& format : formatNames()) {
            const ColorizeOptions options = optionsFor(format, u"cbiu"_s, u"Arial"_s, u"+1"_s);
            Pieces pieces;
            QVERIFY(!colorizeTo(text, slotsWith({0xFF, 0xFF00}), options, pieces));
            QCOMPARE(pieces.joined, colorize(text, slotsWith({0xFF, 0xFF00}), options).code);
            QVERIFY(pieces.count > 1);
            QVERIFY(!pieces.split);
        }
        Pieces none;
        QCOMPARE(colorizeTo(u"x"_s, slotsWith({}), ColorizeOptions(), none),
                 ColorizeError::NoColor);
        QCOMPARE(none.count, 0);
    }
};

QTEST_APPLESS_MAIN(TestFormats)
#include "tst_formats.moc"
