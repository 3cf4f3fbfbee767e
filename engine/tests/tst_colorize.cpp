// The colour arithmetic, character boundaries and colour spaces behind the code, and the
// colours it gives each character.
#include "color/ColorProcs.h"
#include "engine/ColorSpace.h"
#include "engine/Colorize.h"
#include "engine/Graphemes.h"
#include "engine/Rounding.h"
#include "engine/tests/EngineTestKit.h"

#include <QTest>
#include <QTextBoundaryFinder>
#include <cmath>

using namespace tintwave;
using namespace tintwave::color;
using namespace tintwave::engine;
using namespace tintwave::engine::colorspace;
using namespace tintwave::engine::testing;
using namespace Qt::StringLiterals;

namespace {

QList<ColorValue> charColors(const ColorizeResult& result) {
    QList<ColorValue> colors;
    for (const CharColor& c : result.chars)
        colors << c.color;
    return colors;
}

const ColorizeOptions kPlain;

} // namespace

class TestColorize : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void components_splitPackedValue_data() {
        QTest::addColumn<int>("color");
        QTest::addColumn<QList<int>>("rgb");
        QTest::newRow("plain") << 0x123456 << QList<int>{0x56, 0x34, 0x12};
        // Negative values: AND on the 32-bit pattern, division truncating toward zero.
        QTest::newRow("minus 256") << -256 << QList<int>{0, 255, 0};
        QTest::newRow("minus 65536") << -65536 << QList<int>{0, 0, -1};
        QTest::newRow("button face") << int(kButtonFace) << QList<int>{15, 1, -32767};
    }
    void components_splitPackedValue() {
        QFETCH(int, color);
        QFETCH(QList<int>, rgb);
        QCOMPARE((QList<int>{red(color), green(color), blue(color)}), rgb);
    }

    void inc_equalComponents_exactlyZeroEvenForZeroLength() {
        QCOMPARE(inc(7, 7, 0.0), 0.0);
        QCOMPARE(inc(0, 255, 6), 42.5);
        QCOMPARE(inc(255, 0, 2), -127.5);
    }

    // std::nearbyint in the default rounding mode is the independent reference.
    void roundHalfEven_agreesWithNearestEven() {
        for (int k = -4096; k <= 4096; ++k)
            QCOMPARE(detail::roundHalfEven(k / 16.0), int(std::nearbyint(k / 16.0)));
    }

    void writeHex_twoDigitsAtLeastInUpperCase_data() {
        QTest::addColumn<int>("component");
        QTest::addColumn<QString>("digits");
        QTest::newRow("zero") << 0 << u"00"_s;
        QTest::newRow("one digit") << 10 << u"0A"_s;
        QTest::newRow("two digits") << 171 << u"AB"_s;
        QTest::newRow("largest pair") << 255 << u"FF"_s;
        QTest::newRow("wider") << 4095 << u"FFF"_s;
        QTest::newRow("negative") << -1 << u"FFFFFFFF"_s;
    }
    void writeHex_twoDigitsAtLeastInUpperCase() {
        QFETCH(int, component);
        QFETCH(QString, digits);
        char16_t out[8];
        QCOMPARE(QStringView(out, color::writeHex(component, out)), digits);
        QCOMPARE(color::hexWidth(component), digits.size());
    }

    void boundaries_keepClustersWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qsizetype>>("expected");
        QTest::newRow("empty") << QString() << QList<qsizetype>{0};
        QTest::newRow("ascii") << u"a<\""_s << QList<qsizetype>{0, 1, 2, 3};
        QTest::newRow("latin") << u"Grüße"_s << QList<qsizetype>{0, 1, 2, 3, 4, 5};
        QTest::newRow("combining acute") << u"e\u0301x"_s << QList<qsizetype>{0, 2, 3};
        QTest::newRow("surrogate pair") << u"\U0001F600a"_s << QList<qsizetype>{0, 2, 3};
        QTest::newRow("flag") << u"\U0001F1E9\U0001F1EA"_s << QList<qsizetype>{0, 4};
        QTest::newRow("flags after emoji")
            << u"\U0001F600\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7\U0001F1EB"_s
            << QList<qsizetype>{0, 2, 6, 10, 12};
        QTest::newRow("cr lf") << u"a\r\nb"_s << QList<qsizetype>{0, 1, 3, 4};
        QTest::newRow("lone cr") << u"\ra"_s << QList<qsizetype>{0, 1, 2};
        QTest::newRow("family") << u"\U0001F468\u200D\U0001F469\u200D\U0001F467!"_s
                                << QList<qsizetype>{0, 8, 9};
    }
    void boundaries_keepClustersWhole() {
        QFETCH(QString, text);
        QFETCH(QList<qsizetype>, expected);
        QCOMPARE(graphemeBoundaries(text),
                 std::vector<qsizetype>(expected.begin(), expected.end()));
    }

    // The one-unit-per-character shortcut must give what the boundary finder gives.
    void boundaries_fastPath_agreesWithBoundaryFinder() {
        QString text;
        for (char16_t c = 1; c < 0x300; ++c)
            if (c != u'\r')
                text += QChar(c) + u"a"_s + QChar(c);
        std::vector<qsizetype> reference{0};
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
            reference.push_back(at);
        QCOMPARE(graphemeBoundaries(text), reference);
        QCOMPARE(qsizetype(reference.size()), text.size() + 1);
    }

    void colorize_gapsBetweenSlots_areSkipped() {
        SlotValues sparse = slotsWith({});
        sparse[3] = 0x123456;
        sparse[8] = 0xFEDCBA;
        const ColorizeResult result = colorize(u"gradient"_s, sparse, kPlain);
        const ColorizeResult packed =
            colorize(u"gradient"_s, slotsWith({0x123456, 0xFEDCBA}), kPlain);
        QCOMPARE(result.code, packed.code);
        QCOMPARE(result.chars, packed.chars);
    }

    // Ten colours, one distinct grey level per slot: 0, 20, 40, ... 180.
    void colorize_tenColours_segmentsStartOnTheirColour_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("segment");
        QTest::addColumn<int>("lastLevel");
        QTest::newRow("100 chars") << 100 << 12 << 160 + 3 * 20 / 12;
        QTest::newRow("10 chars") << 10 << 2 << 90;
    }
    void colorize_tenColours_segmentsStartOnTheirColour() {
        QFETCH(int, length);
        QFETCH(int, segment);
        QFETCH(int, lastLevel);
        QList<int> greys;
        for (int i = 0; i < 10; ++i)
            greys << rgb(20 * i, 20 * i, 20 * i);
        const QList<ColorValue> colors =
            charColors(colorize(QString(length, u'x'), slotsWith(greys), kPlain));
        QCOMPARE(colors.size(), length);
        for (int p = 0; p < length; p += segment)
            QCOMPARE(colors[p], greys[p / segment]);
        QCOMPARE(colors.back(), rgb(lastLevel, lastLevel, lastLevel));
        QVERIFY(!colors.contains(greys.back()));
    }

    // é as e + combining acute, 😀, 🇩🇪, CR LF and a ZWJ family: five characters.
    void colorize_graphemeClusters_oneTagAndOneEntryEach() {
        const QString text =
            u"e\u0301\U0001F600\U0001F1E9\U0001F1EA\r\n\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
        const ColorizeResult result = colorize(text, slotsWith({0x000000, 0xFFFFFF}), kPlain);
        const QString expected = u"<font color=\"#000000\">e\u0301</font>"
                                 "<font color=\"#2A2A2A\">\U0001F600</font>"
                                 "<font color=\"#555555\">\U0001F1E9\U0001F1EA</font>"
                                 "<font color=\"#808080\">\r\n</font>"
                                 "<font color=\"#AAAAAA\">\U0001F468\u200D\U0001F469\u200D"
                                 "\U0001F467</font>"_s;
        QCOMPARE(result.code, expected);
        const std::vector<CharColor> chars{{0, 2, 0x000000},
                                           {2, 2, 0x2A2A2A},
                                           {4, 4, 0x555555},
                                           {8, 2, 0x808080},
                                           {10, 8, 0xAAAAAA}};
        QCOMPARE(result.chars, chars);
    }

    void colorize_badInput_reportsErrorOnly() {
        const auto empty = colorize(QString(), slotsWith({}), kPlain);
        QCOMPARE(empty.error, ColorizeError::EmptyText);
        QCOMPARE(messageFor(*empty.error), u"You must type something.");
        const auto noColor = colorize(u"text"_s, slotsWith({}), kPlain);
        QCOMPARE(noColor.error, ColorizeError::NoColor);
        QVERIFY(noColor.code.isEmpty() && noColor.chars.empty());
        QCOMPARE(messageFor(*noColor.error), u"You must select at least one color");
    }

    void encode_decode_everyComponentSurvives() {
        for (int v = 0; v <= 255; ++v)
            QCOMPARE(encode(decode(v)), v);
        QCOMPARE(encode(-0.25), 0);
        QCOMPARE(encode(1.5), 255);
    }

    void okLab_roundTrip_gridOfColoursComesBackUnchanged() {
        for (int r = 0; r <= 255; r += 5)
            for (int g = 0; g <= 255; g += 5)
                for (int b = 0; b <= 255; b += 5) {
                    const Srgb8 c{r, g, b};
                    const OkLch lch = toOkLch(toOkLab(toLinear(c)));
                    if (toSrgb8(toLinear(toOkLab(lch))) != c)
                        QFAIL(qPrintable(u"(%1, %2, %3) changed"_s.arg(r).arg(g).arg(b)));
                }
    }

    // The published OKLab coordinates of sRGB red, and white as an achromatic colour.
    void okLab_knownColours() {
        const OkLab red = toOkLab(toLinear(Srgb8{255, 0, 0}));
        QVERIFY(qAbs(red.l - 0.6279553606) < 1e-9);
        QVERIFY(qAbs(red.a - 0.2248630611) < 1e-9);
        QVERIFY(qAbs(red.b - 0.1258462985) < 1e-9);
        const OkLch white = toOkLch(toOkLab(toLinear(Srgb8{255, 255, 255})));
        QVERIFY(qAbs(white.l - 1) < 1e-7);
        QVERIFY(white.c < kAchromatic);
    }

    void okLch_mix_takesTheShorterArc() {
        const double deg = M_PI / 180;
        const OkLch half = mix(OkLch{0.5, 0.1, 170 * deg}, OkLch{0.5, 0.1, -170 * deg}, 0.5);
        QVERIFY(qAbs(qAbs(half.h) - M_PI) < 1e-12);
        const OkLch quarter = mix(OkLch{0.5, 0.1, 10 * deg}, OkLch{0.5, 0.1, 350 * deg}, 0.5);
        QVERIFY(qAbs(quarter.h) < 1e-12);
    }

    // Five characters over the colours with the even spread sit at fractions 0, 1/4, 1/2,
    // 3/4 and 1 of two colours (or 0, 1/2 of each segment of three). The expected codes come
    // from engine/tests/oklab_reference.py: the published OKLab matrices in plain Python
    // floats, clamped and rounded half to even, independent of this code.
    void colorize_blend_matchesReferenceColours_data() {
        QTest::addColumn<QString>("blend");
        QTest::addColumn<QString>("spread");
        QTest::addColumn<QStringList>("stops");
        QTest::addColumn<QStringList>("expected");
        const QStringList grey{u"#000000"_s, u"#FFFFFF"_s}, redBlue{u"#FF0000"_s, u"#0000FF"_s};
        const QStringList rgbStops{u"#FF0000"_s, u"#00FF00"_s, u"#0000FF"_s};
        const auto row = [](const char* name, const QString& blend, const QString& spread,
                            const QStringList& stops, const QString& expected) {
            QTest::newRow(name) << blend << spread << stops << expected.split(u' ');
        };
        // Rgb by hand: 255 * (0, 1/4, 1/2, 3/4, 1) = 0, 63.75, 127.5, 191.25, 255.
        row("rgb even grey", u"rgb"_s, u"even"_s, grey,
            u"#000000 #404040 #808080 #BFBFBF #FFFFFF"_s);
        row("oklab grey", u"oklab"_s, u"even"_s, grey,
            u"#000000 #222222 #636363 #AEAEAE #FFFFFF"_s);
        row("oklab red blue", u"oklab"_s, u"even"_s, redBlue,
            u"#FF0000 #C6496D #8C53A2 #5147D2 #0000FF"_s);
        // Out of gamut half way: the green component is clamped to 0.
        row("oklch red blue", u"oklch"_s, u"even"_s, redBlue,
            u"#FF0000 #E8007B #BA00C2 #7A00F4 #0000FF"_s);
        row("oklch red green", u"oklch"_s, u"even"_s, rgbStops.first(2),
            u"#FF0000 #FF5600 #F99500 #C2CE00 #00FF00"_s);
        // White has no hue of its own: the blend keeps blue's, as OKLab does.
        row("oklch blue white", u"oklch"_s, u"even"_s, {u"#0000FF"_s, u"#FFFFFF"_s},
            u"#0000FF #306DFF #74A3FF #B8D2FF #FFFFFF"_s);
        row("oklab three stops", u"oklab"_s, u"even"_s, rgbStops,
            u"#FF0000 #D0A800 #00FF00 #00AABF #0000FF"_s);
        row("oklch three stops", u"oklch"_s, u"even"_s, rgbStops,
            u"#FF0000 #F99500 #00FF00 #00BBE3 #0000FF"_s);
        // The classic spread: L = 6, fractions 0 .. 4/6, the last colour never reached.
        row("oklab classic", u"oklab"_s, u"classic"_s, grey,
            u"#000000 #0F0F0F #363636 #636363 #949494"_s);
    }
    void colorize_blend_matchesReferenceColours() {
        QFETCH(QString, blend);
        QFETCH(QString, spread);
        QFETCH(QStringList, stops);
        QFETCH(QStringList, expected);
        QList<int> colors;
        for (const QString& stop : stops)
            colors << packed(stop);
        ColorizeOptions options;
        options.output.blend = *parseBlend(blend);
        options.output.spread = *parseSpread(spread);
        QStringList codes;
        for (const CharColor& c : colorize(u"ABCDE"_s, slotsWith(colors), options).chars)
            codes << codeOf(c.color);
        QCOMPARE(codes, expected);
    }

    // The even spread ends exactly on the last colour, whatever the length; the last of ten
    // colours is reached only by the last character.
    void colorize_evenSpread_firstAndLastCharacterHitTheEndColours_data() {
        QTest::addColumn<QString>("blend");
        for (const QString& blend : blendNames())
            QTest::newRow(qPrintable(blend)) << blend;
    }
    void colorize_evenSpread_firstAndLastCharacterHitTheEndColours() {
        QFETCH(QString, blend);
        const QStringList stops = u"#123456 #FEDCBA #00FF7F #7F00FF #FFFFFF #000000 #FF8000 "
                                  "#0080FF #808080 #C0FFEE"_s.split(u' ');
        QList<int> colors;
        for (const QString& stop : stops)
            colors << packed(stop);
        ColorizeOptions options;
        options.output.blend = *parseBlend(blend);
        options.output.spread = Spread::Even;
        for (int length : {1, 2, 7, 10, 1000}) {
            const ColorizeResult result =
                colorize(QString(length, u'x'), slotsWith(colors), options);
            QCOMPARE(codeOf(result.chars.front().color), stops.front());
            if (length > 1)
                QCOMPARE(codeOf(result.chars.back().color), stops.back());
            if (length == 10) // one colour each, exactly
                for (int i = 0; i < 10; ++i)
                    QCOMPARE(codeOf(result.chars[std::size_t(i)].color), stops[i]);
        }
    }
};

QTEST_APPLESS_MAIN(TestColorize)
#include "tst_colorize.moc"
