// The nearest colour of the fixed sets of terminals and chats: known colours, and a sweep of
// the whole colour cube against a table of this test's own, built from the colours as
// xterm, Discord and mIRC publish them and OKLab worked out here.
#include "engine/ColorSets.h"

#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

using namespace tintwave::engine;
using tintwave::engine::colorspace::Srgb8;

Q_DECLARE_METATYPE(tintwave::engine::ColorSet)

namespace {

Srgb8 hex(uint rgb) {
    return {int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
}

struct Lab {
    double l, a, b;
};

// sRGB to OKLab as Ottosson published it, from pow() rather than the engine's tables.
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

struct Reference {
    std::vector<int> numbers;
    std::vector<Lab> labs;
    void add(int number, Srgb8 c) {
        numbers.push_back(number);
        labs.push_back(oklab(c));
    }
};

Reference referenceFor(ColorSet set) {
    static const uint xterm[] = {0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD,
                                 0x00CDCD, 0xE5E5E5, 0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    static const uint discord[] = {0x4F545C, 0xDC322F, 0x859900, 0xB58900,
                                   0x268BD2, 0xD33682, 0x2AA198, 0xFFFFFF};
    static const uint mirc[] = {0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000,
                                0x9C009C, 0xFC7F00, 0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF,
                                0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2};
    Reference ref;
    switch (set) {
    case ColorSet::Xterm256: {
        const int level[] = {0, 95, 135, 175, 215, 255};
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    ref.add(16 + 36 * r + 6 * g + b, {level[r], level[g], level[b]});
        for (int k = 0; k < 24; ++k)
            ref.add(232 + k, {8 + 10 * k, 8 + 10 * k, 8 + 10 * k});
        break;
    }
    case ColorSet::Xterm16:
    case ColorSet::Xterm8:
        for (int n = 0; n < (set == ColorSet::Xterm8 ? 8 : 16); ++n)
            ref.add(n < 8 ? 30 + n : 90 + (n - 8), hex(xterm[n]));
        break;
    case ColorSet::Discord:
        for (int n = 0; n < 8; ++n)
            ref.add(30 + n, hex(discord[n]));
        break;
    case ColorSet::Mirc:
        for (int n = 0; n < 16; ++n)
            ref.add(n, hex(mirc[n]));
        break;
    }
    return ref;
}

double distance(const Lab& x, const Lab& y) {
    return (x.l - y.l) * (x.l - y.l) + (x.a - y.a) * (x.a - y.a) + (x.b - y.b) * (x.b - y.b);
}

} // namespace

class TestColorSets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nearest_data();
    void nearest();
    void sweep_data();
    void sweep();
};

void TestColorSets::nearest_data() {
    QTest::addColumn<ColorSet>("set");
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("number");
    const auto row = [](const char* name, ColorSet set, uint color, int number) {
        QTest::newRow(name) << set << color << number;
    };
    row("256 red", ColorSet::Xterm256, 0xFF0000, 196);
    row("256 black is the cube's", ColorSet::Xterm256, 0x000000, 16);
    row("256 white is the cube's", ColorSet::Xterm256, 0xFFFFFF, 231);
    row("256 cube colour", ColorSet::Xterm256, 0x5F87AF, 67);
    row("256 grey 128", ColorSet::Xterm256, 0x808080, 244);
    row("256 darkest grey", ColorSet::Xterm256, 0x0A0A0A, 232);
    row("256 silver", ColorSet::Xterm256, 0xC0C0C0, 250);
    row("256 orange", ColorSet::Xterm256, 0xFF8000, 208);
    row("256 steel blue", ColorSet::Xterm256, 0x336699, 24);
    row("256 night blue", ColorSet::Xterm256, 0x102030, 234);
    row("16 bright red", ColorSet::Xterm16, 0xFF0000, 91);
    row("16 dark red", ColorSet::Xterm16, 0xCD0000, 31);
    row("16 grey", ColorSet::Xterm16, 0x808080, 90);
    row("16 white", ColorSet::Xterm16, 0xFFFFFF, 97);
    row("16 silver", ColorSet::Xterm16, 0xC0C0C0, 37);
    row("16 steel blue is grey", ColorSet::Xterm16, 0x5F87AF, 90);
    row("8 red", ColorSet::Xterm8, 0xFF0000, 31);
    row("8 white", ColorSet::Xterm8, 0xFFFFFF, 37);
    row("8 grey is cyan", ColorSet::Xterm8, 0x7F7F7F, 36);
    row("8 orange", ColorSet::Xterm8, 0xFF8000, 33);
    row("8 steel blue", ColorSet::Xterm8, 0x336699, 34);
    row("discord black", ColorSet::Discord, 0x000000, 30);
    row("discord its blue", ColorSet::Discord, 0x268BD2, 34);
    row("discord red", ColorSet::Discord, 0xFF0000, 31);
    row("discord pink", ColorSet::Discord, 0xE0A0C0, 33);
    row("discord steel blue", ColorSet::Discord, 0x336699, 30);
    row("mirc white", ColorSet::Mirc, 0xFFFFFF, 0);
    row("mirc black", ColorSet::Mirc, 0x000000, 1);
    row("mirc orange", ColorSet::Mirc, 0xFF8000, 7);
    row("mirc steel blue", ColorSet::Mirc, 0x336699, 10);
    row("mirc night blue", ColorSet::Mirc, 0x102030, 2);
    row("mirc silver", ColorSet::Mirc, 0xC0C0C0, 15);
}

void TestColorSets::nearest() {
    QFETCH(ColorSet, set);
    QFETCH(uint, color);
    QFETCH(int, number);
    const Nearest nearest(set);
    QCOMPARE(nearest(hex(color)).number, number);
    QCOMPARE(nearest(hex(color)).number, number); // from the table the first call filled
    // A component out of range counts as its nearest end.
    Srgb8 over = hex(color);
    over.red = over.red == 255 ? 300 : over.red;
    over.blue = over.blue == 0 ? -7 : over.blue;
    QCOMPARE(nearest(over).number, number);
}

void TestColorSets::sweep_data() {
    QTest::addColumn<ColorSet>("set");
    QTest::newRow("xterm 256") << ColorSet::Xterm256;
    QTest::newRow("xterm 16") << ColorSet::Xterm16;
    QTest::newRow("xterm 8") << ColorSet::Xterm8;
    QTest::newRow("discord") << ColorSet::Discord;
    QTest::newRow("mirc") << ColorSet::Mirc;
}

// Every fifth level of each component (0, 5, ..., 255: both ends of the cube) and every grey.
// Where two colours of the set are nearly as near (within rounding of the distances), either
// may be chosen; otherwise only the nearest.
void TestColorSets::sweep() {
    QFETCH(ColorSet, set);
    const Reference ref = referenceFor(set);
    const Nearest nearest(set);
    QCOMPARE(qsizetype(colorsOf(set).size()), qsizetype(ref.numbers.size()));
    const auto check = [&](Srgb8 c) {
        const Lab lab = oklab(c);
        std::size_t best = 0;
        for (std::size_t i = 1; i < ref.labs.size(); ++i) {
            if (distance(lab, ref.labs[i]) < distance(lab, ref.labs[best])) {
                best = i;
            }
        }
        const int got = nearest(c).number;
        if (got == ref.numbers[best]) {
            return true;
        }
        const auto chosen = std::find(ref.numbers.begin(), ref.numbers.end(), got);
        if (chosen == ref.numbers.end()) {
            qWarning("not a colour of the set: %d", got);
            return false;
        }
        const double gap = distance(lab, ref.labs[std::size_t(chosen - ref.numbers.begin())]) -
                           distance(lab, ref.labs[best]);
        if (gap > 1e-12) {
            qWarning("#%02X%02X%02X: %d, nearest %d", c.red, c.green, c.blue, got,
                     ref.numbers[best]);
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

QTEST_GUILESS_MAIN(TestColorSets)
#include "tst_colorsets.moc"
