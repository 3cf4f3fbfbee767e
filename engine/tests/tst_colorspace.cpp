#include "engine/ColorSpace.h"
#include "engine/Colorize.h"

#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace tintwave::engine::colorspace;
using namespace Qt::StringLiterals;

namespace {

// "#RRGGBB" to the packed slot value.
ColorValue packed(const QString& code) {
    const uint v = code.mid(1).toUInt(nullptr, 16);
    return ColorValue(((v >> 16) & 255) | (v & 0xFF00) | ((v & 255) << 16));
}

QString codeOf(ColorValue c) {
    return u"#%1%2%3"_s.arg(c & 255, 2, 16, QChar(u'0'))
        .arg((c >> 8) & 255, 2, 16, QChar(u'0'))
        .arg((c >> 16) & 255, 2, 16, QChar(u'0'))
        .toUpper();
}

SlotValues slotsOf(const QStringList& codes) {
    SlotValues values;
    values.fill(kButtonFace);
    for (int i = 0; i < codes.size(); ++i) {
        values[std::size_t(i)] = packed(codes[i]);
    }
    return values;
}

} // namespace

class TestColorSpace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encode_decode_everyComponentSurvives() {
        for (int v = 0; v <= 255; ++v) {
            QCOMPARE(encode(decode(v)), v);
        }
        QCOMPARE(encode(-0.25), 0);
        QCOMPARE(encode(1.5), 255);
    }

    void okLab_roundTrip_gridOfColoursComesBackUnchanged() {
        for (int r = 0; r <= 255; r += 5) {
            for (int g = 0; g <= 255; g += 5) {
                for (int b = 0; b <= 255; b += 5) {
                    const Srgb8 c{r, g, b};
                    const OkLch lch = toOkLch(toOkLab(toLinear(c)));
                    if (toSrgb8(toLinear(toOkLab(lch))) != c) {
                        QFAIL(qPrintable(u"(%1, %2, %3) changed"_s.arg(r).arg(g).arg(b)));
                    }
                }
            }
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
        // Rgb by hand: 255 * (0, 1/4, 1/2, 3/4, 1) = 0, 63.75, 127.5, 191.25, 255.
        QTest::newRow("rgb even grey")
            << u"rgb"_s << u"even"_s << QStringList{u"#000000"_s, u"#FFFFFF"_s}
            << QStringList{u"#000000"_s, u"#404040"_s, u"#808080"_s, u"#BFBFBF"_s, u"#FFFFFF"_s};
        QTest::newRow("oklab grey")
            << u"oklab"_s << u"even"_s << QStringList{u"#000000"_s, u"#FFFFFF"_s}
            << QStringList{u"#000000"_s, u"#222222"_s, u"#636363"_s, u"#AEAEAE"_s, u"#FFFFFF"_s};
        QTest::newRow("oklab red blue")
            << u"oklab"_s << u"even"_s << QStringList{u"#FF0000"_s, u"#0000FF"_s}
            << QStringList{u"#FF0000"_s, u"#C6496D"_s, u"#8C53A2"_s, u"#5147D2"_s, u"#0000FF"_s};
        // Out of gamut half way: the green component is clamped to 0.
        QTest::newRow("oklch red blue")
            << u"oklch"_s << u"even"_s << QStringList{u"#FF0000"_s, u"#0000FF"_s}
            << QStringList{u"#FF0000"_s, u"#E8007B"_s, u"#BA00C2"_s, u"#7A00F4"_s, u"#0000FF"_s};
        QTest::newRow("oklch red green")
            << u"oklch"_s << u"even"_s << QStringList{u"#FF0000"_s, u"#00FF00"_s}
            << QStringList{u"#FF0000"_s, u"#FF5600"_s, u"#F99500"_s, u"#C2CE00"_s, u"#00FF00"_s};
        // White has no hue of its own: the blend keeps blue's, as OKLab does.
        QTest::newRow("oklch blue white")
            << u"oklch"_s << u"even"_s << QStringList{u"#0000FF"_s, u"#FFFFFF"_s}
            << QStringList{u"#0000FF"_s, u"#306DFF"_s, u"#74A3FF"_s, u"#B8D2FF"_s, u"#FFFFFF"_s};
        QTest::newRow("oklab three stops")
            << u"oklab"_s << u"even"_s << QStringList{u"#FF0000"_s, u"#00FF00"_s, u"#0000FF"_s}
            << QStringList{u"#FF0000"_s, u"#D0A800"_s, u"#00FF00"_s, u"#00AABF"_s, u"#0000FF"_s};
        QTest::newRow("oklch three stops")
            << u"oklch"_s << u"even"_s << QStringList{u"#FF0000"_s, u"#00FF00"_s, u"#0000FF"_s}
            << QStringList{u"#FF0000"_s, u"#F99500"_s, u"#00FF00"_s, u"#00BBE3"_s, u"#0000FF"_s};
        // The classic spread: L = 6, fractions 0 .. 4/6, the last colour never reached.
        QTest::newRow("oklab classic")
            << u"oklab"_s << u"classic"_s << QStringList{u"#000000"_s, u"#FFFFFF"_s}
            << QStringList{u"#000000"_s, u"#0F0F0F"_s, u"#363636"_s, u"#636363"_s, u"#949494"_s};
    }
    void colorize_blend_matchesReferenceColours() {
        QFETCH(QString, blend);
        QFETCH(QString, spread);
        QFETCH(QStringList, stops);
        QFETCH(QStringList, expected);
        ColorizeOptions options;
        options.blend = *parseBlend(blend);
        options.spread = *parseSpread(spread);
        const ColorizeResult result = colorize(u"ABCDE"_s, slotsOf(stops), options);
        QStringList codes;
        for (const CharColor& c : result.chars) {
            codes << codeOf(c.color);
        }
        QCOMPARE(codes, expected);
    }

    // The even spread ends exactly on the last colour, whatever the length; the last of ten
    // colours is reached only by the last character.
    void colorize_evenSpread_firstAndLastCharacterHitTheEndColours_data() {
        QTest::addColumn<QString>("blend");
        QTest::newRow("rgb") << u"rgb"_s;
        QTest::newRow("oklab") << u"oklab"_s;
        QTest::newRow("oklch") << u"oklch"_s;
    }
    void colorize_evenSpread_firstAndLastCharacterHitTheEndColours() {
        QFETCH(QString, blend);
        const QStringList stops = {u"#123456"_s, u"#FEDCBA"_s, u"#00FF7F"_s, u"#7F00FF"_s,
                                   u"#FFFFFF"_s, u"#000000"_s, u"#FF8000"_s, u"#0080FF"_s,
                                   u"#808080"_s, u"#C0FFEE"_s};
        ColorizeOptions options;
        options.blend = *parseBlend(blend);
        options.spread = Spread::Even;
        for (int length : {1, 2, 7, 10, 1000}) {
            const ColorizeResult result = colorize(QString(length, u'x'), slotsOf(stops), options);
            QCOMPARE(codeOf(result.chars.front().color), stops.front());
            if (length > 1) {
                QCOMPARE(codeOf(result.chars.back().color), stops.back());
            }
        }
        // Ten characters over ten colours: one colour each, exactly.
        const ColorizeResult ten = colorize(QString(10, u'x'), slotsOf(stops), options);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(codeOf(ten.chars[std::size_t(i)].color), stops[i]);
        }
    }
};

QTEST_APPLESS_MAIN(TestColorSpace)
#include "tst_colorspace.moc"
