// The scheme store over an in-memory settings store, which logs
// every write, so the exact order of writes is pinned.
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QTest>

using namespace tintwave;
using palette::gColor;
using palette::Palette;
using platform::MemorySchemeMenu;
using platform::MemorySettingsStore;
using schemes::SchemeStore;

namespace {

const QString kApp = QStringLiteral("tintwave");
const SlotValues kSlotsA{255, 33023, gColor, 0, 16777215, gColor, gColor, 65280, 1, 2};
const SlotValues kSlotsB{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const SlotValues kSlotsC{gColor, gColor, gColor, gColor, gColor, gColor, gColor, gColor, gColor, 7};
const QList<SlotValues> kSlots{kSlotsA, kSlotsB, kSlotsC};

// One running copy of the program: its menu and scheme store over a shared settings store.
struct Copy {
    explicit Copy(MemorySettingsStore& store)
        : schemes(store, menu) {
        schemes.load();
    }
    MemorySchemeMenu menu;
    SchemeStore schemes;
};

QString box(int i) {
    return QStringLiteral("box%1").arg(i);
}
QString section(int k) {
    return QStringLiteral("scheme%1").arg(k);
}

// The title and box0 .. box9 as stored text.
QStringList textOf(const QString& title, const SlotValues& slots) {
    QStringList text{title};
    for (ColorValue v : slots)
        text << QString::number(v);
    return text;
}
QStringList storedScheme(MemorySettingsStore& store, int k) {
    QStringList text{store.GetSetting(kApp, section(k), QStringLiteral("title"))};
    for (int i = 0; i < 10; ++i)
        text << store.GetSetting(kApp, section(k), box(i));
    return text;
}
QString storedCount(MemorySettingsStore& store) {
    return store.GetSetting(kApp, QStringLiteral("general"), QStringLiteral("numSchemes"));
}

// Leaves the store as an earlier run would have: the count text and schemes titled
// titles[k] with slots kSlots[k].
void seed(MemorySettingsStore& store, const QString& count,
          const QStringList& titles = {"A", "B", "C"}) {
    store.SaveSetting(kApp, QStringLiteral("general"), QStringLiteral("numSchemes"), count);
    for (int k = 1; k <= titles.size(); ++k) {
        const QStringList text = textOf(titles[k - 1], kSlots[k - 1]);
        store.SaveSetting(kApp, section(k), QStringLiteral("title"), text[0]);
        for (int i = 0; i < 10; ++i)
            store.SaveSetting(kApp, section(k), box(i), text[i + 1]);
    }
    store.log.clear();
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
        QCOMPARE(copy.schemes.apply(1), std::optional<Palette>(Palette{kSlotsA}));
    }

    void add_blankOrDuplicateName_storedAsGivenAndFoundFirstExactMatch() {
        MemorySettingsStore store;
        seed(store, "3");
        Copy copy(store);
        QVERIFY(copy.schemes.add(QStringLiteral("  "), Palette{kSlotsB}));
        QVERIFY(copy.schemes.add(QStringLiteral("B"), Palette{kSlotsC}));
        QCOMPARE(storedScheme(store, 4), textOf("  ", kSlotsB));
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C", "  ", "B"}));
        QCOMPARE(copy.schemes.apply(5)->slots, kSlotsC);
        QCOMPARE(copy.schemes.findByTitle("B"), std::optional<int>(2));
        QCOMPARE(copy.schemes.findByTitle("  "), std::optional<int>(4));
        QCOMPARE(copy.schemes.findByTitle("b"), std::nullopt);
        QCOMPARE(copy.schemes.findByTitle("B "), std::nullopt);
    }

    // "1e9" once made start-up append a billion menu entries.
    void add_emptyNameOrFullMenu_refusedWithoutWriting_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("schemes");
        QTest::newRow("empty name") << QString() << "3" << 3;
        QTest::newRow("count clamped to a full menu") << "x"
                                                      << "1e9" << 32767;
    }
    void add_emptyNameOrFullMenu_refusedWithoutWriting() {
        QFETCH(QString, name);
        QFETCH(QString, count);
        QFETCH(int, schemes);
        MemorySettingsStore store;
        seed(store, count);
        Copy copy(store);
        QCOMPARE(copy.schemes.numSchemes(), schemes);
        QVERIFY(!copy.schemes.add(name, Palette{kSlotsA}));
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.highestIndex(), schemes);
        QCOMPARE(copy.menu.captions.mid(0, 3), (QStringList{"A", "B", "C"}));
    }

    // Every slot goes through the same parse; the boxes hold its boundaries.
    void apply_readsAllTenBoxes_valuesOutOfRangeAsEmptySlots() {
        MemorySettingsStore store;
        seed(store, "3", {"A", "B"});
        const QStringList boxes{"",      "0x10",        "16777216",    "1.5", "-1",
                                " 255 ", "-2147483648", "-2147483649", "+7",  "16777215"};
        for (int i = 0; i < 10; ++i)
            store.SaveSetting(kApp, section(3), box(i), boxes[i]);
        Copy copy(store);
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", ""}));
        QCOMPARE(copy.schemes.apply(3)->slots, (SlotValues{gColor, gColor, gColor, gColor, -1, 255,
                                                           -2147483647 - 1, gColor, 7, 16777215}));
        QCOMPARE(copy.schemes.apply(1)->slots, kSlotsA);
        QCOMPARE(copy.schemes.apply(0), std::nullopt);
        QCOMPARE(copy.schemes.apply(4), std::nullopt);
    }

    void remove_shiftsLaterSchemesDownThenDropsLastSection_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("writes");
        QTest::newRow("first of three")
            << QStringList{"A", "B", "C"} << 1 << QStringList{"B", "C"} << 11 * 2 + 2;
        QTest::newRow("middle") << QStringList{"A", "B", "C"} << 2 << QStringList{"A", "C"}
                                << 11 + 2;
        QTest::newRow("last") << QStringList{"A", "B", "C"} << 3 << QStringList{"A", "B"} << 2;
        QTest::newRow("only") << QStringList{"A"} << 1 << QStringList{} << 2;
    }
    void remove_shiftsLaterSchemesDownThenDropsLastSection() {
        QFETCH(QStringList, titles);
        QFETCH(int, removed);
        QFETCH(QStringList, captions);
        QFETCH(int, writes);
        MemorySettingsStore store;
        const int n = int(titles.size());
        seed(store, QString::number(n), titles);
        Copy copy(store);

        copy.schemes.deleteIt(removed);

        QStringList sections{"general"};
        for (int k = 1; k < n; ++k) {
            const int from = k < removed ? k : k + 1;
            QCOMPARE(storedScheme(store, k), textOf(titles[from - 1], kSlots[from - 1]));
            sections << section(k);
        }
        QCOMPARE(store.sections(kApp), sections);
        QCOMPARE(storedCount(store), QString::number(n - 1));
        QCOMPARE(copy.menu.captions, captions);
        QCOMPARE(copy.schemes.numSchemes(), n - 1);
        // Boxes before the title, then the last section goes, then the count.
        QCOMPARE(store.log.size(), writes);
        if (removed < n) {
            QCOMPARE(store.log[0], QStringLiteral("save tintwave/scheme%1/box0=%2")
                                       .arg(removed)
                                       .arg(kSlots[removed][0]));
            QCOMPARE(store.log[10], QStringLiteral("save tintwave/scheme%1/title=%2")
                                        .arg(removed)
                                        .arg(titles[removed]));
        }
        QCOMPARE(store.log.mid(writes - 2),
                 (QStringList{QStringLiteral("delete tintwave/scheme%1").arg(n),
                              QStringLiteral("save tintwave/general/numSchemes=%1").arg(n - 1)}));
    }

    void remove_numberOutsideList_changesNothing() {
        MemorySettingsStore store;
        seed(store, "3");
        Copy copy(store);
        for (int schemeNum : {0, -1, 4})
            copy.schemes.deleteIt(schemeNum);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C"}));
    }

    void remove_laterSectionMissing_copiesEmptyTextAndAppliesEmpty() {
        MemorySettingsStore store;
        seed(store, "3");
        store.DeleteSetting(kApp, "scheme2");
        Copy copy(store);
        copy.schemes.deleteIt(1);
        QCOMPARE(storedScheme(store, 1), QStringList(11, QString()));
        QCOMPARE(storedScheme(store, 2), textOf("C", kSlotsC));
        QCOMPARE(copy.menu.captions, (QStringList{"", "C"}));
        QCOMPARE(copy.schemes.apply(1), std::optional<Palette>(Palette::empty()));
    }

    // Each copy takes the count from the store before writing, so none overwrites another's
    // schemes, and a removal elsewhere never lets a copy touch sections past the count.
    void twoCopies_followTheStoredCount() {
        MemorySettingsStore store;
        Copy a(store);
        Copy b(store);
        QVERIFY(a.schemes.add("one", Palette{kSlotsA}));
        QVERIFY(b.schemes.add("two", Palette{kSlotsB}));
        QVERIFY(a.schemes.add("three", Palette{kSlotsC}));
        QCOMPARE(storedScheme(store, 1), textOf("one", kSlotsA));
        QCOMPARE(storedScheme(store, 2), textOf("two", kSlotsB));
        QCOMPARE(a.menu.captions, (QStringList{"one", "two", "three"}));

        b.schemes.deleteIt(1);
        QVERIFY(a.schemes.add("four", Palette{kSlotsA}));
        QCOMPARE(storedScheme(store, 3), textOf("four", kSlotsA));
        QCOMPARE(storedCount(store), QStringLiteral("3"));
        QCOMPARE(a.menu.captions, (QStringList{"two", "three", "four"}));
        QCOMPARE(b.schemes.titles(), (QStringList{"two", "three", "four"}));
        QCOMPARE(b.menu.captions, (QStringList{"two", "three", "four"}));
        QVERIFY(store.syncCount > 0);

        b.schemes.deleteIt(3);
        b.schemes.deleteIt(2);
        store.log.clear();
        a.schemes.deleteIt(3);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(store.sections(kApp), (QStringList{"general", "scheme1"}));
        QCOMPARE(a.menu.captions, QStringList{"two"});
    }

    void addAndRemove_writeOnlyUnderExclusiveAccess() {
        MemorySettingsStore store;
        seed(store, "3");
        Copy copy(store);
        store.refuseLock = true;
        QVERIFY(!copy.schemes.add("D", Palette{kSlotsA}));
        copy.schemes.deleteIt(1);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(copy.menu.captions, (QStringList{"A", "B", "C"}));
        QVERIFY(!store.takeNotice().isEmpty());

        store.refuseLock = false;
        store.unlockedWrites = 0;
        QVERIFY(copy.schemes.add("D", Palette{kSlotsA}));
        copy.schemes.deleteIt(1);
        QCOMPARE(copy.menu.captions, (QStringList{"B", "C", "D"}));
        QCOMPARE(store.unlockedWrites, 0);
        QCOMPARE(store.locksHeld, 0);
    }

    void parseSchemeCount_takesWholePartOfLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("trailing text") << "2x" << 2;
        QTest::newRow("leading blanks") << " \t3" << 3;
        QTest::newRow("fraction") << "2.5" << 2;
        QTest::newRow("fraction only") << ".5" << 0;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("exponent") << "1.5e1" << 15;
        QTest::newRow("exponent without digits") << "2e" << 2;
        QTest::newRow("above limit") << "99999" << 32767;
        QTest::newRow("overflowing exponent") << "1e999" << 32767;
        QTest::newRow("word") << "abc" << 0;
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << 0;
    }
    void parseSchemeCount_takesWholePartOfLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(schemes::parseSchemeCount(text), count);
    }
};

QTEST_APPLESS_MAIN(TestSchemeStore)
#include "tst_schemestore.moc"
