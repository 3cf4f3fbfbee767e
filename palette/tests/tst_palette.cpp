#include "color/ColorProcs.h"
#include "palette/Palette.h"
#include "palette/Presets.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>
#include <cmath>

using namespace tintwave;
using namespace tintwave::palette;
using color::rgb;

using PaletteOp = Palette (*)(Palette);
Q_DECLARE_METATYPE(Palette)
Q_DECLARE_METATYPE(PaletteOp)

// Failed comparisons show the ten slots, "_" for an empty one.
template <> char* QTest::toString(const Palette& p) {
    QByteArray s = "[";
    for (ColorValue v : p.values())
        s += (v == gColor ? QByteArray("_") : QByteArray::number(v)) + ' ';
    return qstrdup(s.trimmed() + "]");
}

namespace {

constexpr ColorValue E = gColor; // an empty slot, short so rows line up
constexpr ColorValue A = rgb(255, 0, 0), B = rgb(0, 255, 0), C = rgb(0, 0, 255);
constexpr ColorValue J = rgb(10, 20, 30), V = rgb(10, 0, 175), Vi = rgb(245, 255, 80);
constexpr ColorValue W = kWhite, O = rgb(255, 128, 64), Y = rgb(255, 255, 0);

const Preset* byObjectName(const QString& objectName) {
    for (const Preset& p : presets())
        if (objectName == QLatin1String(p.objectName))
            return &p;
    return nullptr;
}

} // namespace

class PaletteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void operation_givesExactSlots_data() {
        QTest::addColumn<PaletteOp>("op");
        QTest::addColumn<Palette>("before");
        QTest::addColumn<Palette>("after");
        const Palette abc{{A, B, C, E, E, E, E, E, E, J}}, gap{{A, B, E, C, E, E, 0, E, E, J}};
        auto row = [](const char* name, Palette before, Palette after, PaletteOp op) {
            QTest::newRow(name) << op << before << after;
        };
        row("clearSlot 1", abc, {{A, E, C, E, E, E, E, E, E, J}},
            [](Palette p) { return clearSlot(p, 1); });
        row("clearSlot 10 and -1", abc, abc,
            [](Palette p) { return clearSlot(clearSlot(p, 10), -1); });
        row("invertSlot 4", {{A, E, E, E, V, E, E, E, E, E}}, {{A, E, E, E, Vi, E, E, E, E, E}},
            [](Palette p) { return invertSlot(p, 4); });
        row("invertSlot empty", abc, abc, [](Palette p) { return invertSlot(p, 4); });
        row("clearColors", gap, Palette::empty(), clearColors);
        row("invertColors", {{V, E, 0, E, E, W, E, E, E, E}}, {{Vi, E, W, E, E, 0, E, E, E, E}},
            invertColors);
        row("reverse ten", {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
            reverseOrder);
        row("reverse empty", Palette::empty(), Palette::empty(), reverseOrder);
        row("reverse closes gaps, black counts", gap, {{J, 0, C, B, A, E, E, E, E, E}},
            reverseOrder);
        row("reverse one in slot 7", {{E, E, E, E, E, E, E, A, E, E}},
            {{A, E, E, E, E, E, E, E, E, E}}, reverseOrder);
        row("rotate left", gap, {{B, E, C, E, E, 0, E, E, J, A}},
            [](Palette p) { return rotate(p, 0); });
        row("rotate right", gap, {{J, A, B, E, C, E, E, 0, E, E}},
            [](Palette p) { return rotate(p, 1); });
        row("rotate 2 and -1", gap, gap, [](Palette p) { return rotate(rotate(p, 2), -1); });
    }
    void operation_givesExactSlots() {
        QFETCH(PaletteOp, op);
        QFETCH(Palette, before);
        QFETCH(Palette, after);
        QCOMPARE(op(before), after);
    }

    void random_drawsRedGreenBlueAsIntOfTimes256InSlotOrder() {
        platform::SequenceRandomSource one({0.0f, 0.5f, std::nextafter(1.0f, 0.0f)});
        QCOMPARE(randomSlot(Palette::empty(), 6, one),
                 (Palette{{E, E, E, E, E, E, rgb(0, 128, 255), E, E, E}}));
        QCOMPARE(one.drawn, 3);

        // Draw k is k/32, so its component is 8k: slot i gets 24i, 24i + 8, 24i + 16.
        std::deque<float> draws;
        for (int k = 0; k <= 30; ++k)
            draws.push_back(float(k) / 32.0f); // the last one must be left over
        platform::SequenceRandomSource all(draws);
        Palette expected;
        for (int i = 0; i < kSlotCount; ++i)
            expected[i] = rgb(24 * i, 24 * i + 8, 24 * i + 16);
        QCOMPARE(randomColors(Palette{{A, E, E, E, E, E, E, E, E, E}}, all), expected);
        QCOMPARE(all.drawn, 30);
    }

    void presets_formTheSchemesMenuInOrder() {
        QStringList submenus;
        for (const PresetSubmenu& s : presetSubmenus())
            submenus << QStringLiteral("%1 %2").arg(s.objectName, s.caption);
        QCOMPARE(submenus, QStringList({"mnuPhotoshop Photoshop Gradients",
                                        "mnubw Black/White/Gray", "mnuBlues Blue/Green",
                                        "mnuorreye Orange/Red/Yellow", "mnumisc Misc."}));
        // Grouped by submenu in submenu order, so a menu is built in one pass.
        QStringList items;
        for (const Preset& p : presets()) {
            items << QStringLiteral("%1 %2").arg(p.submenu).arg(p.objectName);
            QVERIFY2(p.colorCount >= 1 && p.colorCount <= kSlotCount, p.objectName);
            for (int i = 0; i < kSlotCount; ++i)
                QVERIFY2(i < p.colorCount ? p.colors[i] >= 0 && p.colors[i] <= 0xFFFFFF
                                          : p.colors[i] == E,
                         p.objectName);
            QCOMPARE(findPreset(displayCaption(p)), &p);
        }
        QCOMPARE(items.join(QLatin1Char(' ')),
                 QStringLiteral(
                     "-1 mnuSpectrum 0 mnuregr 0 mnuvior 0 mnublreye 0 mnublyebl 0 mnuoryeor "
                     "0 mnuvigror 0 mnuyeviorbl 0 mnuco 1 mnugrwhgr 1 mnublwhbl 1 mnuwhblwh "
                     "1 mnugrblgr 2 mnubltubl 2 mnublgrbl 2 mnunabltu 3 mnureoryewh 3 mnuoryeli "
                     "3 mnuFlames 4 mnutuye 4 mnuyepu 4 mnugrye 4 mnublre"));
    }

    void applyPreset_fillsFromSlotZero_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Palette>("expected");
        const ColorValue dark = rgb(150, 70, 75), light = rgb(250, 210, 190);
        QTest::newRow("Spectrum") << QStringLiteral("mnuSpectrum") << QStringLiteral("Spectrum")
                                  << Palette{{A, Y, B, rgb(0, 255, 255), C, rgb(255, 0, 255), A, E,
                                              E, E}};
        QTest::newRow("Copper") << QStringLiteral("mnuco") << QStringLiteral("Copper")
                                << Palette{{dark, light, dark, light, dark, light, dark, light,
                                            dark, light}};
        QTest::newRow("Flames") << QStringLiteral("mnuFlames") << QStringLiteral("Flames")
                                << Palette{{A, O, Y, A, O, Y, A, O, Y, E}};
    }
    void applyPreset_fillsFromSlotZero() {
        QFETCH(QString, objectName);
        QFETCH(QString, shown);
        QFETCH(Palette, expected);
        const Preset* preset = byObjectName(objectName);
        QVERIFY(preset);
        QCOMPARE(displayCaption(*preset), shown);
        QCOMPARE(applyPreset(*preset), expected);
    }

    void findPreset_matchesShownCaptionExactly_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("objectName"); // empty: not found
        QTest::newRow("shown caption")
            << QStringLiteral("Spectrum") << QStringLiteral("mnuSpectrum");
        QTest::newRow("caption with blank")
            << QStringLiteral("Orange-Yellow-Light Yellow") << QStringLiteral("mnuoryeli");
        QTest::newRow("access-key marker") << QStringLiteral("&Spectrum") << QStringLiteral("");
        QTest::newRow("other case") << QStringLiteral("copper") << QStringLiteral("");
        QTest::newRow("trailing blank") << QStringLiteral("Copper ") << QStringLiteral("");
        QTest::newRow("submenu title") << QStringLiteral("Misc.") << QStringLiteral("");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
    }
    void findPreset_matchesShownCaptionExactly() {
        QFETCH(QString, name);
        QFETCH(QString, objectName);
        const Preset* found = findPreset(name);
        QCOMPARE(found ? QString::fromLatin1(found->objectName) : QString(), objectName);
    }
};

QTEST_APPLESS_MAIN(PaletteTest)
#include "tst_palette.moc"
