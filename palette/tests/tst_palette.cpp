// The slot operations and the preset table.
#include "color/ColorProcs.h"
#include "palette/Palette.h"
#include "palette/Presets.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>
#include <cmath>

using namespace tintwave;
using namespace tintwave::palette;
using color::rgb;

Q_DECLARE_METATYPE(Palette)

namespace {

constexpr ColorValue none = kEmptySlot, black = 0, white = kWhite, red = rgb(255, 0, 0),
                     green = rgb(0, 255, 0), blue = rgb(0, 0, 255), violet = rgb(10, 0, 175),
                     cyan = rgb(0, 255, 255), magenta = rgb(255, 0, 255), yellow = rgb(255, 255, 0);
constexpr Palette kGappy{{red, green, none, blue, none, none, black, none, none, violet}};

} // namespace

class PaletteTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operation_givesExactSlots_data() {
        QTest::addColumn<Palette>("after");
        QTest::addColumn<Palette>("expected");
        const auto row = [](const char* name, Palette after, Palette expected) {
            QTest::newRow(name) << after << expected;
        };
        row("clearSlot 1, 10 and -1", clearSlot(clearSlot(clearSlot(kGappy, 1), 10), -1),
            {{red, none, none, blue, none, none, black, none, none, violet}});
        row("invertSlot, invertColors skip empty slots", invertColors(invertSlot(kGappy, 9)),
            {{cyan, magenta, none, yellow, none, none, white, none, none, violet}});
        row("reverse packs from slot 0, black counts", reverseOrder(kGappy),
            {{violet, black, blue, green, red, none, none, none, none, none}});
        row("rotate left", rotate(kGappy, Rotation::Left),
            {{green, none, blue, none, none, black, none, none, violet, red}});
        row("rotate right", rotate(kGappy, Rotation::Right),
            {{violet, red, green, none, blue, none, none, black, none, none}});
    }
    void operation_givesExactSlots() {
        QFETCH(Palette, after);
        QFETCH(Palette, expected);
        QCOMPARE(after, expected);
    }

    // Draw k is k/32, so its component is 8k: slot i gets 24i, 24i + 8, 24i + 16.
    void random_drawsRedGreenBlueAsIntOfTimes256InSlotOrder() {
        platform::SequenceRandomSource one({0.0f, 0.5f, std::nextafter(1.0f, 0.0f)});
        QCOMPARE(randomSlot(Palette::empty(), 6, one)[6], rgb(0, 128, 255));
        platform::SequenceRandomSource all;
        for (int k = 0; k <= 30; ++k) {
            all.values.push_back(float(k) / 32.0f); // the last one must be left over
        }
        const Palette p = randomColors(kGappy, all);
        for (int i = 0; i < kSlotCount; ++i) {
            QCOMPARE(p[i], rgb(24 * i, 24 * i + 8, 24 * i + 16));
        }
        QCOMPARE(all.drawn, 30);
    }

    // A caption that lists colours ("Blue-Turq-Blue") names each of the preset's colours.
    void presets_menuOrderCaptionsAndColours() {
        QStringList menu;
        for (const PresetSubmenu& s : presetSubmenus()) {
            menu << QString::fromLatin1(s.caption);
        }
        for (const Preset& p : presets()) {
            const QString caption = displayCaption(p);
            menu << QStringLiteral("%1:%2").arg(p.submenu).arg(caption);
            QCOMPARE(findPreset(caption), &p);
            QVERIFY(!caption.contains(u'-') || caption.count(u'-') + 1 == p.colorCount);
            QCOMPARE(applyPreset(p).values(), p.colors);
        }
        QCOMPARE(menu.join(u','),
                 u"&Photoshop Gradients,&Black/White/Gray,Blue/&Green,&Orange/Red/Yellow,&Misc.,"
                 "-1:Spectrum,0:Red-Green,0:Violet-Orange,0:Blue-Red-Yellow,0:Blue-Yellow-Blue,"
                 "0:Orange-Yellow-Orange,0:Violet-Green-Orange,0:Yellow-Violet-Orange-Blue,"
                 "0:Copper,1:Gray-White-Gray,1:Black-White-Black,1:White-Black-White,"
                 "1:Gray-Black-Gray,2:Blue-Turq-Blue,2:Blue-Green-Blue,2:Navy-Blue-Turq,"
                 "3:Red-Orange-Yellow-White,3:Orange-Yellow-Light Yellow,3:Flames,4:Turq-Yellow,"
                 "4:Yellow-Pink,4:Green-Yellow,4:Blue-Red");
        QVERIFY(!findPreset(u"&Spectrum") && !findPreset(u"copper") && !findPreset(u"Copper ") &&
                !findPreset(u"Misc.") && !findPreset(u""));
    }
};

QTEST_APPLESS_MAIN(PaletteTest)
#include "tst_palette.moc"
