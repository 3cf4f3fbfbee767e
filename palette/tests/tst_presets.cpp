#include "engine/ColorProcs.h"
#include "palette/Palette.h"
#include "palette/Presets.h"
#include "palette/tests/PalettePrinting.h"

#include <QSet>
#include <QTest>
#include <algorithm>

using namespace tintwave;
using namespace tintwave::palette;
using engine::rgb;

namespace {

constexpr ColorValue E = gColor;
constexpr ColorValue kRed = rgb(255, 0, 0), kOrange = rgb(255, 128, 64), kYellow = rgb(255, 255, 0);

const Preset& byName(const char* objectName) {
    const auto all = presets();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Preset& p) {
        return qstrcmp(p.objectName, objectName) == 0;
    });
    if (it == all.end())
        qFatal("no preset %s", objectName);
    return *it;
}

int filledCount(const Palette& p) {
    return int(std::count_if(p.values().begin(), p.values().end(), isFilled));
}

QStringList objectNamesIn(int submenu) {
    QStringList names;
    for (const Preset& p : presets())
        if (p.submenu == submenu)
            names << QString::fromLatin1(p.objectName);
    return names;
}

} // namespace

class PresetsTest : public QObject {
    Q_OBJECT

private slots:
    void submenus_inMenuOrder() {
        QStringList shown;
        for (const PresetSubmenu& s : presetSubmenus())
            shown << QStringLiteral("%1 %2").arg(s.objectName, s.caption);
        QCOMPARE(shown, QStringList({"mnuPhotoshop Photoshop Gradients", "mnubw Black/White/Gray",
                                     "mnuBlues Blue/Green", "mnuorreye Orange/Red/Yellow",
                                     "mnumisc Misc."}));
    }

    void presets_areWellFormed() {
        QCOMPARE(presets().size(), std::size_t(23));
        QSet<QString> names;
        int previousSubmenu = -1;
        for (const Preset& p : presets()) {
            names.insert(QString::fromLatin1(p.objectName));
            QVERIFY2(p.colorCount >= 1 && p.colorCount <= kSlotCount, p.objectName);
            // Grouped by submenu, in submenu order, so a menu can be built in one pass.
            QVERIFY2(p.submenu >= previousSubmenu, p.objectName);
            QVERIFY2(p.submenu < int(presetSubmenus().size()), p.objectName);
            previousSubmenu = p.submenu;
            for (int i = 0; i < p.colorCount; ++i)
                QVERIFY2(p.colors[i] >= 0 && p.colors[i] <= 0xFFFFFF, p.objectName);
        }
        QCOMPARE(names.size(), 23);
    }

    void presets_itemsStandInTableOrderPerSubmenu() {
        QCOMPARE(objectNamesIn(-1), QStringList({"mnuSpectrum"}));
        QCOMPARE(objectNamesIn(0), QStringList({"mnuregr", "mnuvior", "mnublreye", "mnublyebl",
                                                "mnuoryeor", "mnuvigror", "mnuyeviorbl", "mnuco"}));
        QCOMPARE(objectNamesIn(1),
                 QStringList({"mnugrwhgr", "mnublwhbl", "mnuwhblwh", "mnugrblgr"}));
        QCOMPARE(objectNamesIn(2), QStringList({"mnubltubl", "mnublgrbl", "mnunabltu"}));
        QCOMPARE(objectNamesIn(3), QStringList({"mnureoryewh", "mnuoryeli", "mnuFlames"}));
        QCOMPARE(objectNamesIn(4), QStringList({"mnutuye", "mnuyepu", "mnugrye", "mnublre"}));
    }

    void applyPreset_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<SlotValues>("expected");
        const ColorValue blue = rgb(0, 0, 255), turq = rgb(0, 255, 255);
        const ColorValue dark = rgb(150, 70, 75), light = rgb(250, 210, 190);
        QTest::newRow("Spectrum") << "mnuSpectrum" << SlotValues{kRed, kYellow, rgb(0, 255, 0),
                                                                 turq, blue,    rgb(255, 0, 255),
                                                                 kRed, E,       E,
                                                                 E};
        QTest::newRow("Red-Green")
            << "mnuregr" << SlotValues{rgb(225, 0, 25), rgb(0, 96, 28), E, E, E, E, E, E, E, E};
        QTest::newRow("Copper") << "mnuco" << SlotValues{dark,  light, dark,  light, dark,
                                                         light, dark,  light, dark,  light};
        QTest::newRow("Navy-Blue-Turq")
            << "mnunabltu" << SlotValues{rgb(0, 64, 128), blue, turq, E, E, E, E, E, E, E};
        QTest::newRow("Orange-Yellow-Light Yellow")
            << "mnuoryeli" << SlotValues{kOrange, kYellow, rgb(255, 255, 196), E, E, E, E, E, E, E};
        QTest::newRow("Flames") << "mnuFlames"
                                << SlotValues{kRed,    kOrange, kYellow, kRed,    kOrange,
                                              kYellow, kRed,    kOrange, kYellow, E};
    }
    void applyPreset() {
        QFETCH(QString, objectName);
        QFETCH(SlotValues, expected);
        QCOMPARE(palette::applyPreset(byName(qPrintable(objectName))).values(), expected);
    }

    void flamesThenReverse_reversesNineAndKeepsSlotNineEmpty() {
        const Palette p = reverseOrder(palette::applyPreset(byName("mnuFlames")));
        QCOMPARE(p.values(), (SlotValues{kYellow, kOrange, kRed, kYellow, kOrange, kRed, kYellow,
                                         kOrange, kRed, E}));
    }

    void copperThenClearSlot_leavesNineFilled() {
        const Palette p = clearSlot(palette::applyPreset(byName("mnuco")), 4);
        QCOMPARE(filledCount(p), 9);
        QVERIFY(!isFilled(p[4]));
    }

    void displayCaption_dropsAccessKeyMarker() {
        QCOMPARE(displayCaption(byName("mnuSpectrum")), QStringLiteral("Spectrum"));
        QCOMPARE(displayCaption(byName("mnuoryeli")), QStringLiteral("Orange-Yellow-Light Yellow"));
    }

    void findPreset_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("objectName"); // empty: not found
        QTest::newRow("shown caption") << "Spectrum"
                                       << "mnuSpectrum";
        QTest::newRow("caption with blank") << "Orange-Yellow-Light Yellow"
                                            << "mnuoryeli";
        QTest::newRow("last") << "Blue-Red"
                              << "mnublre";
        QTest::newRow("access-key marker") << "&Spectrum"
                                           << "";
        QTest::newRow("other case") << "copper"
                                    << "";
        QTest::newRow("trailing blank") << "Copper "
                                        << "";
        QTest::newRow("submenu title") << "Misc."
                                       << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void findPreset() {
        QFETCH(QString, name);
        QFETCH(QString, objectName);
        const Preset* found = palette::findPreset(name);
        QCOMPARE(found ? QString::fromLatin1(found->objectName) : QString(), objectName);
    }

    void findPreset_findsEveryPresetByItsShownCaption() {
        for (const Preset& p : presets())
            QCOMPARE(palette::findPreset(displayCaption(p)), &p);
    }
};

QTEST_APPLESS_MAIN(PresetsTest)
#include "tst_presets.moc"
