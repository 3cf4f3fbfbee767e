#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QTest>

using tintwave::ColorValue;
using tintwave::SlotValues;
using tintwave::palette::gColor;
using tintwave::palette::Palette;
using tintwave::platform::MemorySchemeMenu;
using tintwave::platform::MemorySettingsStore;
using tintwave::schemes::parseSchemeCount;
using tintwave::schemes::parseSlotValue;
using tintwave::schemes::SchemeStore;

namespace {

const QString kApp = QStringLiteral("tintwave");

// One running copy of the program: its menu and scheme store over a shared settings store.
struct Copy {
    explicit Copy(MemorySettingsStore& store)
        : schemes(store, menu) {
        schemes.load();
    }
    MemorySchemeMenu menu;
    SchemeStore schemes;
};

// Writes scheme k straight into the store, as an earlier run would have left it.
void seedScheme(MemorySettingsStore& store, int k, const QString& title, const SlotValues& slots) {
    const QString section = QStringLiteral("scheme%1").arg(k);
    store.SaveSetting(kApp, section, QStringLiteral("title"), title);
    for (int i = 0; i < 10; ++i)
        store.SaveSetting(kApp, section, QStringLiteral("box%1").arg(i), QString::number(slots[i]));
}

void seedCount(MemorySettingsStore& store, const QString& count) {
    store.SaveSetting(kApp, QStringLiteral("general"), QStringLiteral("numSchemes"), count);
}

// The title and box0 .. box9 of a section as stored text.
QStringList storedScheme(MemorySettingsStore& store, int k) {
    const QString section = QStringLiteral("scheme%1").arg(k);
    QStringList text{store.GetSetting(kApp, section, QStringLiteral("title"))};
    for (int i = 0; i < 10; ++i)
        text << store.GetSetting(kApp, section, QStringLiteral("box%1").arg(i));
    return text;
}

QString storedCount(MemorySettingsStore& store) {
    return store.GetSetting(kApp, QStringLiteral("general"), QStringLiteral("numSchemes"));
}

const SlotValues kSlotsA{255, 33023, gColor, 0, 16777215, gColor, gColor, 65280, 1, 2};
const SlotValues kSlotsB{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const SlotValues kSlotsC{gColor, gColor, gColor, gColor, gColor, gColor, gColor, gColor, gColor, 7};

// A store holding the three schemes "A", "B", "C".
void seedThree(MemorySettingsStore& store) {
    seedCount(store, QStringLiteral("3"));
    seedScheme(store, 1, QStringLiteral("A"), kSlotsA);
    seedScheme(store, 2, QStringLiteral("B"), kSlotsB);
    seedScheme(store, 3, QStringLiteral("C"), kSlotsC);
    store.log.clear();
}

QStringList textOf(const QString& title, const SlotValues& slots) {
    QStringList text{title};
    for (ColorValue v : slots)
        text << QString::number(v);
    return text;
}

} // namespace

class TestSchemeStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void add_onEmptyStore_writesCountTitleThenTenBoxes() {
        MemorySettingsStore store;
        Copy copy(store);
        QVERIFY(copy.schemes.add(QStringLiteral("Warm"), Palette{kSlotsA}));
        const QStringList expected{
            "save tintwave/general/numSchemes=1",     "save tintwave/scheme1/title=Warm",
            "save tintwave/scheme1/box0=255",         "save tintwave/scheme1/box1=33023",
            "save tintwave/scheme1/box2=-2147483633", "save tintwave/scheme1/box3=0",
            "save tintwave/scheme1/box4=16777215",    "save tintwave/scheme1/box5=-2147483633",
            "save tintwave/scheme1/box6=-2147483633", "save tintwave/scheme1/box7=65280",
            "save tintwave/scheme1/box8=1",           "save tintwave/scheme1/box9=2",
        };
        QCOMPARE(store.log, expected);
        QCOMPARE(copy.menu.captions, QStringList{"Warm"});
        QCOMPARE(copy.schemes.numSchemes(), 1);
    }

    void add_paletteWithEmptySlots_appliesBackExactly() {
        MemorySettingsStore store;
        Copy copy(store);
        Palette p = Palette::empty();
        p.slots[0] = 255;
        p.slots[4] = 16711680;
        QVERIFY(copy.schemes.add(QStringLiteral("Two"), p));
        QCOMPARE(store.GetSetting(kApp, "scheme1", "box1"), QStringLiteral("-2147483633"));
        QCOMPARE(copy.schemes.apply(1), std::optional<Palette>(p));
    }

    void add_blankOrDuplicateName_storedUnchangedAndListedTwice() {
        MemorySettingsStore store;
        Copy copy(store);
        QVERIFY(copy.schemes.add(QStringLiteral("  "), Palette{kSlotsA}));
        QVERIFY(copy.schemes.add(QStringLiteral("  "), Palette{kSlotsB}));
        QCOMPARE(store.GetSetting(kApp, "scheme2", "title"), QStringLiteral("  "));
        QCOMPARE(copy.menu.captions, (QStringList{"  ", "  "}));
        QCOMPARE(copy.schemes.apply(1)->slots, kSlotsA);
        QCOMPARE(copy.schemes.apply(2)->slots, kSlotsB);
        QCOMPARE(copy.schemes.findByTitle(QStringLiteral("  ")), std::optional<int>(1));
    }

    void add_emptyName_changesNothing() {
        MemorySettingsStore store;
        seedThree(store);
        Copy copy(store);
        QVERIFY(!copy.schemes.add(QString(), Palette{kSlotsA}));
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C"}));
        QCOMPARE(copy.schemes.numSchemes(), 3);
    }

    void add_menuFull_refusedWithoutWriting() {
        MemorySettingsStore store;
        seedCount(store, QStringLiteral("32767"));
        store.log.clear();
        Copy copy(store);
        QVERIFY(!copy.schemes.add(QStringLiteral("one more"), Palette{kSlotsA}));
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.highestIndex(), 32767);
    }

    void apply_readsAllTenBoxesAndNotTheTitle() {
        MemorySettingsStore store;
        seedThree(store);
        store.DeleteSetting(kApp, "scheme3");
        for (int i = 0; i < 10; ++i)
            store.SaveSetting(kApp, "scheme3", QStringLiteral("box%1").arg(i),
                              QString::number(kSlotsC[i]));
        Copy copy(store);
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", ""}));
        QCOMPARE(copy.schemes.apply(3)->slots, kSlotsC);
        QCOMPARE(copy.schemes.apply(0), std::nullopt);
        QCOMPARE(copy.schemes.apply(4), std::nullopt);
    }

    void apply_malformedBoxValues_readAsEmptySlots() {
        MemorySettingsStore store;
        seedCount(store, "1");
        const QStringList boxes{"",   "abc",   "16777216", "2147483648", "1.5",
                                "-1", " 255 ", "0x10",     "+7",         "12 3"};
        for (int i = 0; i < 10; ++i)
            store.SaveSetting(kApp, "scheme1", QStringLiteral("box%1").arg(i), boxes[i]);
        Copy copy(store);
        const SlotValues expected{gColor, gColor, gColor, gColor, gColor,
                                  -1,     255,    gColor, 7,      gColor};
        QCOMPARE(copy.schemes.apply(1)->slots, expected);
    }

    void remove_oneOfThree_shiftsLaterSchemesDown_data() {
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("writes");
        QTest::newRow("first") << 1 << QStringList{"B", "C"} << 11 * 2 + 2;
        QTest::newRow("middle") << 2 << QStringList{"A", "C"} << 11 + 2;
        QTest::newRow("last") << 3 << QStringList{"A", "B"} << 2;
    }

    void remove_oneOfThree_shiftsLaterSchemesDown() {
        QFETCH(int, removed);
        QFETCH(QStringList, captions);
        QFETCH(int, writes);
        MemorySettingsStore store;
        seedThree(store);
        Copy copy(store);
        const QList<QStringList> before{textOf("A", kSlotsA), textOf("B", kSlotsB),
                                        textOf("C", kSlotsC)};

        copy.schemes.deleteIt(removed);

        QList<QStringList> remaining = before;
        remaining.removeAt(removed - 1);
        QCOMPARE(storedScheme(store, 1), remaining[0]);
        QCOMPARE(storedScheme(store, 2), remaining[1]);
        QCOMPARE(store.sections(kApp), (QStringList{"general", "scheme1", "scheme2"}));
        QCOMPARE(storedCount(store), QStringLiteral("2"));
        QCOMPARE(copy.menu.captions, captions);
        QCOMPARE(copy.schemes.numSchemes(), 2);
        // Boxes before the title, then the last section goes, then the count.
        QCOMPARE(store.log.size(), writes);
        if (removed < 3) {
            QCOMPARE(store.log.first(), QStringLiteral("save tintwave/scheme%1/box0=%2")
                                            .arg(removed)
                                            .arg(before[removed][1]));
            QCOMPARE(store.log[10], QStringLiteral("save tintwave/scheme%1/title=%2")
                                        .arg(removed)
                                        .arg(before[removed][0]));
        }
        QCOMPARE(store.log.mid(writes - 2),
                 (QStringList{"delete tintwave/scheme3", "save tintwave/general/numSchemes=2"}));
    }

    void remove_onlyScheme_leavesCountZeroAndNoEntries() {
        MemorySettingsStore store;
        Copy copy(store);
        copy.schemes.add(QStringLiteral("Solo"), Palette{kSlotsA});
        store.log.clear();
        copy.schemes.deleteIt(1);
        QCOMPARE(store.log,
                 (QStringList{"delete tintwave/scheme1", "save tintwave/general/numSchemes=0"}));
        QCOMPARE(store.sections(kApp), QStringList{"general"});
        QVERIFY(copy.menu.captions.isEmpty());
        QCOMPARE(copy.schemes.numSchemes(), 0);
    }

    void remove_numberOutsideList_changesNothing_data() {
        QTest::addColumn<int>("schemeNum");
        QTest::newRow("none selected") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("past the end") << 4;
    }

    void remove_numberOutsideList_changesNothing() {
        QFETCH(int, schemeNum);
        MemorySettingsStore store;
        seedThree(store);
        Copy copy(store);
        copy.schemes.deleteIt(schemeNum);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(storedScheme(store, 1), textOf("A", kSlotsA));
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C"}));
    }

    void remove_laterSectionMissing_copiesEmptyTextAndAppliesEmpty() {
        MemorySettingsStore store;
        seedThree(store);
        store.DeleteSetting(kApp, "scheme2");
        Copy copy(store);
        copy.schemes.deleteIt(1);
        QCOMPARE(storedScheme(store, 1), QStringList(11, QString()));
        QCOMPARE(storedScheme(store, 2), textOf("C", kSlotsC));
        QCOMPARE(copy.menu.captions, (QStringList{"", "C"}));
        QCOMPARE(copy.schemes.apply(1), std::optional<Palette>(Palette::empty()));
    }

    void load_countWithTrailingText_usesLeadingNumberAndEmptyCaption() {
        MemorySettingsStore store;
        seedCount(store, "2x");
        seedScheme(store, 1, "First", kSlotsA);
        store.SaveSetting(kApp, "scheme2", "box0", "5");
        Copy copy(store);
        QCOMPARE(copy.schemes.numSchemes(), 2);
        QCOMPARE(copy.menu.captions, (QStringList{"First", ""}));
        QCOMPARE(copy.schemes.titles(), (QStringList{"First", ""}));
    }

    void load_oddCount_nextAddUsesWholeSectionNumber_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("section");
        QTest::newRow("absent") << QString() << "scheme1";
        QTest::newRow("text") << "abc"
                              << "scheme1";
        QTest::newRow("fraction") << "2.5"
                                  << "scheme3";
        QTest::newRow("negative") << "-3"
                                  << "scheme1";
    }

    void load_oddCount_nextAddUsesWholeSectionNumber() {
        QFETCH(QString, count);
        QFETCH(QString, section);
        MemorySettingsStore store;
        if (!count.isNull())
            seedCount(store, count);
        store.log.clear();
        Copy copy(store);
        copy.schemes.add("New", Palette{kSlotsB});
        QCOMPARE(store.log[1], QStringLiteral("save tintwave/%1/title=New").arg(section));
    }

    void load_hugeCount_clampedToMenuLimit() {
        MemorySettingsStore store;
        seedCount(store, "1e9");
        Copy copy(store);
        QCOMPARE(copy.schemes.numSchemes(), 32767);
        QCOMPARE(copy.menu.highestIndex(), 32767);
    }

    void twoCopies_addFromEach_appendsInsteadOfOverwriting() {
        MemorySettingsStore store;
        Copy a(store);
        Copy b(store);
        QVERIFY(a.schemes.add("one", Palette{kSlotsA}));
        QVERIFY(b.schemes.add("two", Palette{kSlotsB}));
        QCOMPARE(storedScheme(store, 1), textOf("one", kSlotsA));
        QCOMPARE(storedScheme(store, 2), textOf("two", kSlotsB));
        QCOMPARE(b.menu.captions, (QStringList{"one", "two"}));
        QVERIFY(a.schemes.add("three", Palette{kSlotsC}));
        QCOMPARE(a.menu.captions, (QStringList{"one", "two", "three"}));
        QCOMPARE(storedCount(store), QStringLiteral("3"));

        b.schemes.deleteIt(1);
        QVERIFY(a.schemes.add("four", Palette{kSlotsA}));
        QCOMPARE(storedScheme(store, 1), textOf("two", kSlotsB));
        QCOMPARE(storedScheme(store, 3), textOf("four", kSlotsA));
        QCOMPARE(a.menu.captions, (QStringList{"two", "three", "four"}));
        QCOMPARE(b.schemes.titles(), (QStringList{"two", "three", "four"}));
        QCOMPARE(b.menu.captions, (QStringList{"two", "three", "four"}));
        QVERIFY(store.syncCount > 0);
    }

    void addAndRemove_writeOnlyWhileHoldingExclusiveAccess() {
        MemorySettingsStore store;
        seedThree(store);
        store.unlockedWrites = 0;
        Copy copy(store);
        QVERIFY(copy.schemes.add("D", Palette{kSlotsA}));
        copy.schemes.deleteIt(1);
        QCOMPARE(store.unlockedWrites, 0);
        QCOMPARE(store.locksHeld, 0);
        QVERIFY(!store.log.isEmpty());
    }

    void storeLockedElsewhere_addAndRemoveChangeNothing() {
        MemorySettingsStore store;
        seedThree(store);
        Copy copy(store);
        store.refuseLock = true;
        QVERIFY(!copy.schemes.add("D", Palette{kSlotsA}));
        copy.schemes.deleteIt(1);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C"}));
        QCOMPARE(copy.schemes.numSchemes(), 3);
        QVERIFY(!store.takeNotice().isEmpty());
    }

    void twoCopies_removeBeyondStoredCount_changesNothing() {
        MemorySettingsStore store;
        seedThree(store);
        Copy a(store);
        Copy b(store);
        b.schemes.deleteIt(3);
        b.schemes.deleteIt(2);
        store.log.clear();
        a.schemes.deleteIt(3);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(store.sections(kApp), (QStringList{"general", "scheme1"}));
        QCOMPARE(a.schemes.numSchemes(), 1);
        QCOMPARE(a.menu.captions, QStringList{"A"});
    }

    void findByTitle_givesFirstExactMatch() {
        MemorySettingsStore store;
        seedThree(store);
        seedCount(store, "4");
        seedScheme(store, 4, "B", kSlotsC);
        Copy copy(store);
        QCOMPARE(copy.schemes.findByTitle("B"), std::optional<int>(2));
        QCOMPARE(copy.schemes.findByTitle("b"), std::nullopt);
        QCOMPARE(copy.schemes.findByTitle("B "), std::nullopt);
    }

    void parseSchemeCount_takesWholePartOfLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("plain") << "3" << 3;
        QTest::newRow("trailing text") << "2x" << 2;
        QTest::newRow("leading blanks") << " \t3" << 3;
        QTest::newRow("fraction") << "2.5" << 2;
        QTest::newRow("fraction only") << ".5" << 0;
        QTest::newRow("plus sign") << "+4" << 4;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("exponent") << "1.5e1" << 15;
        QTest::newRow("exponent without digits") << "2e" << 2;
        QTest::newRow("huge exponent") << "1e9" << 32767;
        QTest::newRow("overflowing exponent") << "1e999" << 32767;
        QTest::newRow("negative overflow") << "-1e999" << 0;
        QTest::newRow("underflow") << "5e-999" << 0;
        QTest::newRow("above limit") << "99999" << 32767;
        QTest::newRow("at limit") << "32767" << 32767;
        QTest::newRow("many digits") << QString(400, '9') << 32767;
        QTest::newRow("digits then blank") << "1 2" << 1;
        QTest::newRow("hex") << "0x10" << 0;
        QTest::newRow("word") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << 0;
    }

    void parseSchemeCount_takesWholePartOfLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(parseSchemeCount(text), count);
    }

    void parseSlotValue_acceptsWholeNumbersInRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("colour") << "33023" << 33023;
        QTest::newRow("white") << "16777215" << 16777215;
        QTest::newRow("empty mark") << "-2147483633" << int(gColor);
        QTest::newRow("lowest") << "-2147483648" << int(-2147483647 - 1);
        QTest::newRow("minus one") << "-1" << -1;
        QTest::newRow("blanks around") << " 255 " << 255;
        QTest::newRow("above white") << "16777216" << int(gColor);
        QTest::newRow("below int32") << "-2147483649" << int(gColor);
        QTest::newRow("above int32") << "2147483648" << int(gColor);
        QTest::newRow("fraction") << "1.5" << int(gColor);
        QTest::newRow("word") << "abc" << int(gColor);
        QTest::newRow("empty") << "" << int(gColor);
        QTest::newRow("trailing text") << "12px" << int(gColor);
        QTest::newRow("far too long") << QString(40, '9') << int(gColor);
    }

    void parseSlotValue_acceptsWholeNumbersInRange() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(parseSlotValue(text), value);
    }
};

QTEST_APPLESS_MAIN(TestSchemeStore)
#include "tst_schemestore.moc"
