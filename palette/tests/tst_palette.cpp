#include "engine/ColorProcs.h"
#include "palette/Palette.h"
#include "palette/tests/PalettePrinting.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using namespace tintwave;
using namespace tintwave::palette;
using engine::rgb;

namespace {

constexpr ColorValue E = gColor; // an empty slot, short so rows line up
constexpr ColorValue A = rgb(255, 0, 0), B = rgb(0, 255, 0), C = rgb(0, 0, 255);
constexpr ColorValue J = rgb(10, 20, 30);

Palette row(SlotValues v) {
    return Palette{v};
}

int filledCount(const Palette& p) {
    return int(std::count_if(p.values().begin(), p.values().end(), isFilled));
}

} // namespace

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void clearSlot_emptiesOnlyThatSlot() {
        const Palette p = row({A, B, C, E, E, E, E, E, E, J});
        QCOMPARE(clearSlot(p, 1), row({A, E, C, E, E, E, E, E, E, J}));
        QCOMPARE(clearSlot(p, 3), p);
        QCOMPARE(clearSlot(p, -1), p);
        QCOMPARE(clearSlot(p, 10), p);
    }

    void invertSlot_data() {
        QTest::addColumn<ColorValue>("before");
        QTest::addColumn<ColorValue>("after");
        QTest::newRow("blue-ish") << rgb(10, 0, 175) << rgb(245, 255, 80);
        QTest::newRow("black") << rgb(0, 0, 0) << rgb(255, 255, 255);
        QTest::newRow("white") << rgb(255, 255, 255) << rgb(0, 0, 0);
        QTest::newRow("empty stays empty") << E << E;
    }
    void invertSlot() {
        QFETCH(ColorValue, before);
        QFETCH(ColorValue, after);
        Palette p = Palette::empty();
        p[4] = before;
        const Palette once = palette::invertSlot(p, 4);
        QCOMPARE(once[4], after);
        QCOMPARE(palette::invertSlot(once, 4), p);
    }

    void randomSlot_drawsRedGreenBlueInOrder() {
        platform::SequenceRandomSource rnd({0.0f, 0.5f, std::nextafter(1.0f, 0.0f)});
        const Palette p = randomSlot(Palette::empty(), 6, rnd);
        QCOMPARE(p[6], rgb(0, 128, 255));
        QCOMPARE(rnd.drawn, 3);
        QCOMPARE(filledCount(p), 1);
    }

    void clearColors_emptiesEverySlot() {
        QCOMPARE(clearColors(row({A, B, E, C, E, E, E, E, E, J})), Palette::empty());
        QCOMPARE(clearColors(Palette::empty()), Palette::empty());
    }

    void invertColors_changesOnlyFilledSlots() {
        Palette p = Palette::empty();
        p[2] = rgb(10, 0, 175);
        p[5] = rgb(0, 0, 0);
        Palette expected = Palette::empty();
        expected[2] = rgb(245, 255, 80);
        expected[5] = rgb(255, 255, 255);
        QCOMPARE(invertColors(p), expected);

        Palette white;
        white.values().fill(kWhite);
        Palette black;
        black.values().fill(0);
        QCOMPARE(invertColors(white), black);
    }

    void reverseOrder_data() {
        QTest::addColumn<Palette>("before");
        QTest::addColumn<Palette>("after");
        QTest::newRow("ten filled")
            << row({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) << row({9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
        QTest::newRow("empty") << Palette::empty() << Palette::empty();
        QTest::newRow("one in slot 7")
            << row({E, E, E, E, E, E, E, A, E, E}) << row({A, E, E, E, E, E, E, E, E, E});
        QTest::newRow("gap closes")
            << row({A, B, E, C, E, E, E, E, E, E}) << row({C, B, A, E, E, E, E, E, E, E});
        QTest::newRow("last slot only")
            << row({E, E, E, E, E, E, E, E, E, J}) << row({J, E, E, E, E, E, E, E, E, E});
        QTest::newRow("black counts as filled")
            << row({0, E, E, E, E, E, E, E, E, A}) << row({A, 0, E, E, E, E, E, E, E, E});
    }
    void reverseOrder() {
        QFETCH(Palette, before);
        QFETCH(Palette, after);
        QCOMPARE(palette::reverseOrder(before), after);
    }

    void reverseOrder_twice_packsColoursInOriginalOrder() {
        const Palette p = row({A, B, E, C, E, E, E, E, E, E});
        QCOMPARE(palette::reverseOrder(palette::reverseOrder(p)),
                 row({A, B, C, E, E, E, E, E, E, E}));
    }

    void randomColors_fillsAllSlotsFromThirtyDraws() {
        // Draw k is k/32, so its component is 8k: slot i gets 24i, 24i + 8, 24i + 16.
        std::deque<float> draws;
        for (int k = 0; k < 30; ++k)
            draws.push_back(float(k) / 32.0f);
        draws.push_back(0.5f); // must be left over
        platform::SequenceRandomSource rnd(draws);

        const Palette p = randomColors(row({A, E, E, E, E, E, E, E, E, E}), rnd);
        QCOMPARE(rnd.drawn, 30);
        QCOMPARE(p[0], rgb(0, 8, 16));
        QCOMPARE(p[1], rgb(24, 32, 40));
        QCOMPARE(p[9], rgb(216, 224, 232));
        QCOMPARE(filledCount(p), 10);
    }

    void rotate_leftThenRight_restores() {
        const Palette start = row({A, B, E, E, E, E, E, E, E, J});
        const Palette left = palette::rotate(start, 0);
        QCOMPARE(left, row({B, E, E, E, E, E, E, E, J, A}));
        QCOMPARE(palette::rotate(left, 1), start);
        QCOMPARE(palette::rotate(start, 1), row({J, A, B, E, E, E, E, E, E, E}));
    }

    void rotate_tenPresses_restore() {
        const Palette start = row({A, B, E, C, E, E, 0, E, E, J});
        for (int direction : {0, 1}) {
            Palette p = start;
            for (int i = 0; i < 10; ++i) {
                p = palette::rotate(p, direction);
                if (i < 9)
                    QVERIFY(p != start);
            }
            QCOMPARE(p, start);
        }
    }

    void rotate_otherDirection_changesNothing() {
        const Palette start = row({A, B, E, C, E, E, E, E, E, J});
        QCOMPARE(palette::rotate(start, 2), start);
        QCOMPARE(palette::rotate(start, -1), start);
    }
};

QTEST_APPLESS_MAIN(PaletteTest)
#include "tst_palette.moc"
