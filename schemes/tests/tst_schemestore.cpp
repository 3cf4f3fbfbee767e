// The scheme store: over an in-memory settings store that logs every write, so the exact
// order of writes is pinned; and as several running copies of this test program (started
// with --copy) sharing one settings file.
#include "platform/memory/MemorySettingsStore.h"
#include "platform/qt/QSettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

using namespace tintwave;
using palette::kEmptySlot;
using palette::Palette;
using platform::MemorySettingsStore;
using schemes::SchemeStore;

namespace {

const SlotValues kWarm{255, 33023, kEmptySlot, 0, 16777215, kEmptySlot, kEmptySlot, 65280, 1, 2};

// Scheme k as seeded: box i holds 10 * k + i.
Palette seeded(int k) {
    Palette p;
    for (int i = 0; i < kSlotCount; ++i) {
        p[i] = 10 * k + i;
    }
    return p;
}

// The title and box0 .. box9 of a scheme as stored text.
QStringList textOf(const QString& title, const Palette& p) {
    QStringList text{title};
    for (ColorValue v : p.slots) {
        text << QString::number(v);
    }
    return text;
}
QStringList stored(MemorySettingsStore& store, int k) {
    const QString section = QStringLiteral("scheme%1").arg(k);
    QStringList text{store.value(section, "title")};
    for (int i = 0; i < kSlotCount; ++i) {
        text << store.value(section, QStringLiteral("box%1").arg(i));
    }
    return text;
}

// The store as an earlier run left it: scheme k titled titles[k - 1], and count text.
void seed(MemorySettingsStore& store, const QString& count, const QStringList& titles) {
    SchemeStore schemes(store);
    for (int k = 1; k <= titles.size(); ++k) {
        schemes.add(titles[k - 1], seeded(k));
    }
    store.setValue(QStringLiteral("general"), QStringLiteral("numSchemes"), count);
    store.log.clear();
}

// The log in short: "scheme2/box" for a run of box writes, "scheme2/title", "-scheme3"
// for a deleted section, "numSchemes=2".
QString outline(const QStringList& log) {
    QStringList parts;
    for (QString entry : log) {
        entry.remove(QRegularExpression("^save tintwave/|(?<=/box)\\d=.*|(?<=/title)=.*"));
        entry.replace(QRegularExpression("^delete tintwave/"), "-").remove("general/");
        if (parts.isEmpty() || parts.last() != entry) {
            parts << entry;
        }
    }
    return parts.join(u' ');
}

struct RemoveCase {
    int schemes;                   // seeded, titled "A", "B", ...
    int removed;                   // the number passed to remove
    QString left;                  // titles afterwards
    QString writes{};              // outline() of the writes
    SchemeStore::Removal result{}; // AtNumber unless given
};

// One running copy: "--copy <ini> add <name>..." or "... remove <n> <times>". Store
// notices go to standard error; an add refused gives exit status 1.
int runCopy(const QStringList& args) {
    QTextStream err(stderr);
    platform::QSettingsStore store(platform::QSettingsStore::IniFile{args[0]},
                                   [&err](const QString& notice) { err << notice; });
    SchemeStore schemes(store);
    for (const QString& name : args[1] == "add" ? args.mid(2) : QStringList()) {
        if (schemes.add(name, Palette::empty()) != SchemeStore::Addition::Added) {
            return 1;
        }
    }
    // Like a user who opens the dialog and removes line n, each time.
    for (int i = 0; args[1] == "remove" && i < args[3].toInt();) {
        const int n = args[2].toInt();
        i += schemes.remove(n, schemes.titles().value(n - 1)) != SchemeStore::Removal::NotThere;
    }
    return 0;
}

// Runs the copies at once, one process each; once all have ended, the titles the file
// holds, when it holds as many sections as it counts.
QStringList runTogether(const QString& ini, const QList<QStringList>& copies) {
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QStringList& arguments : copies) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QCoreApplication::applicationFilePath(),
                              QStringList{"--copy", ini} + arguments);
    }
    for (auto& p : running) {
        if (!p->waitForFinished(120000) || p->exitCode() != 0) {
            return {"<failed>", p->readAllStandardError()};
        }
    }
    static int taken = 0;
    const QString copy = ini + QString::number(++taken); // not in QSettings' cache
    QFile::copy(ini, copy);
    platform::QSettingsStore store(platform::QSettingsStore::IniFile{copy}, {});
    const QStringList titles = SchemeStore(store).titles();
    QSettings s(copy, QSettings::IniFormat);
    if (s.childGroups().size() != titles.size()) {
        return {"<laid out wrongly>", s.childGroups().join(u' ')};
    }
    return titles;
}

QStringList names(const QString& prefix, int count) {
    QStringList result;
    for (int i = 1; i <= count; ++i) {
        result << QStringLiteral("%1-%2").arg(prefix).arg(i);
    }
    return result;
}

} // namespace

Q_DECLARE_METATYPE(RemoveCase)

class TestSchemeStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void add_onEmptyStore_writesCountTitleThenTenBoxes() {
        MemorySettingsStore store;
        SchemeStore schemes(store);
        QCOMPARE(schemes.add(QStringLiteral("Warm"), Palette{kWarm}), SchemeStore::Addition::Added);
        const QStringList expected{
            "save tintwave/general/numSchemes=1",     "save tintwave/scheme1/title=Warm",
            "save tintwave/scheme1/box0=255",         "save tintwave/scheme1/box1=33023",
            "save tintwave/scheme1/box2=-2147483633", "save tintwave/scheme1/box3=0",
            "save tintwave/scheme1/box4=16777215",    "save tintwave/scheme1/box5=-2147483633",
            "save tintwave/scheme1/box6=-2147483633", "save tintwave/scheme1/box7=65280",
            "save tintwave/scheme1/box8=1",           "save tintwave/scheme1/box9=2",
        };
        QCOMPARE(store.log, expected);
        QCOMPARE(schemes.palette(1), std::optional<Palette>(Palette{kWarm}));
        QCOMPARE(store.unlockedWrites + store.locksHeld, 0);
    }

    void add_blankOrDuplicateName_storedAsGivenAndFoundFirstExactMatch() {
        MemorySettingsStore store;
        seed(store, "2", {"A", "B"});
        SchemeStore schemes(store);
        schemes.add(QStringLiteral("  "), seeded(3));
        schemes.add("A", seeded(4));
        QCOMPARE(schemes.titles(), (QStringList{"A", "B", "  ", "A"}));
        QCOMPARE(stored(store, 3), textOf("  ", seeded(3)));
        QCOMPARE(schemes.findByTitle("A"), std::optional<int>(1));
        QCOMPARE(schemes.findByTitle("  "), std::optional<int>(3));
        QCOMPARE(schemes.findByTitle("a"), std::nullopt);
    }

    void add_refused_writesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("schemes");
        QTest::addColumn<QString>("refused"); // by the store: "lock" or "writes"
        QTest::addColumn<SchemeStore::Addition>("result");
        using A = SchemeStore::Addition;
        QTest::newRow("empty name") << "" << 2 << "" << A::NoName;
        QTest::newRow("full menu") << "x" << 32767 << "" << A::Full;
        QTest::newRow("store locked") << "x" << 2 << "lock" << A::NoAccess;
        QTest::newRow("writes dropped") << "x" << 2 << "writes" << A::Lost;
    }
    void add_refused_writesNothing() {
        QFETCH(QString, name);
        QFETCH(int, schemes);
        QFETCH(QString, refused);
        QFETCH(SchemeStore::Addition, result);
        MemorySettingsStore store;
        store.setValue("general", "numSchemes", QString::number(schemes));
        for (int k = 1; k <= schemes; ++k) {
            store.setValue(QStringLiteral("scheme%1").arg(k), "title", "t");
        }
        store.log.clear();
        SchemeStore schemeStore(store);
        store.refuseLock = refused == "lock";
        store.refuseWrites = refused == "writes";
        QCOMPARE(schemeStore.add(name, Palette{kWarm}), result);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(store.notices.isEmpty(), refused.isEmpty());
        QCOMPARE(schemeStore.count(), schemes);
    }

    // A count the sections do not bear out is damage, as a file QSettings cannot read: a
    // copy is kept once and the schemes that can be read are written back in order. A
    // read-only store (the command line's) lists those and leaves the file as it is.
    void damagedCount_copyKept_readableSchemesInOrder_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("lastBox"); // box0 of the last scheme
        const QByteArray three = "[general]\nnumSchemes=7\n[scheme1]\nbox0=1\ntitle=A\n"
                                 "[scheme2]\nbox0=2\ntitle=B\n[scheme3]\nbox0=3\ntitle=C\n";
        QTest::newRow("truncated inside a section")
            << three + "[scheme4]\nbox0=4\nbox1=" << QStringList{"A", "B", "C"} << 3;
        QTest::newRow("truncated inside a header")
            << three + "[sche" << QStringList{"A", "B", "C"} << 3;
        QTest::newRow("huge count")
            << QByteArray("[general]\nnumSchemes=2000000000\n[scheme1]\nbox0=1\ntitle=A\n")
            << QStringList{"A"} << 1;
        QTest::newRow("count of 0 with sections present")
            << QByteArray("[general]\nnumSchemes=0\n[scheme10]\nbox0=10\ntitle=J\n"
                          "[scheme2]\nbox0=2\ntitle=B\n[scheme1]\nbox0=1\ntitle=A\n")
            << QStringList{"A", "B", "J"} << 10;
    }
    void damagedCount_copyKept_readableSchemesInOrder() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, titles);
        QFETCH(int, lastBox);
        QTemporaryDir dir;
        const auto bytes = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        using Access = platform::QSettingsStore::Access;
        for (const Access access : {Access::ReadOnly, Access::ReadWrite}) {
            // A new name each time: QSettings caches a file it has read.
            const QString ini = dir.filePath(QStringLiteral("s%1.ini").arg(int(access)));
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
            file.close();
            QStringList told;
            platform::QSettingsStore store(
                platform::QSettingsStore::IniFile{ini}, [&told](const QString& n) { told << n; },
                access);
            SchemeStore schemes(store);
            QCOMPARE(schemes.titles(), titles);
            QCOMPARE(schemes.palette(schemes.count())->slots[0], lastBox);
            const QStringList copies = QDir(dir.path()).entryList({"s*.ini.corrupt-*"});
            if (access == Access::ReadOnly) {
                QCOMPARE(told, QStringList{"The settings file \"" + ini +
                                           "\" is damaged; Tintwave reads what it can and "
                                           "leaves the file as it is."});
                QCOMPARE(bytes(ini) + copies.join(""), contents);
                continue;
            }
            QCOMPARE(told, QStringList{"The settings file \"" + ini +
                                       "\" was damaged and could not be read completely. A copy "
                                       "of it was kept as \"" +
                                       dir.filePath(copies.value(0)) +
                                       "\"; Tintwave goes on with the settings it could read."});
            QCOMPARE(bytes(dir.filePath(copies.value(0))), contents);
            // What the next start finds: the count, then each section's title, in order.
            QVERIFY(QFile::copy(ini, ini + ".next"));
            QSettings next(ini + ".next", QSettings::IniFormat);
            QStringList stored{next.value("numSchemes").toString()};
            for (const QString& group : next.childGroups()) {
                stored << next.value(group + "/title").toString();
            }
            QCOMPARE(stored, QStringList{QString::number(titles.size())} + titles);
        }
    }

    // Every slot goes through the same parse; the boxes hold its boundaries.
    void palette_readsAllTenBoxes_valuesOutOfRangeAsEmptySlots() {
        MemorySettingsStore store;
        seed(store, "2", {"A", "B"});
        const QStringList boxes{"",      "0x10",        "16777216",    "1.5", "-1",
                                " 255 ", "-2147483648", "-2147483649", "+7",  "16777215"};
        for (int i = 0; i < kSlotCount; ++i) {
            store.setValue("scheme2", QStringLiteral("box%1").arg(i), boxes[i]);
        }
        SchemeStore schemes(store);
        QCOMPARE(schemes.titles(), (QStringList{"A", "B"}));
        QCOMPARE(schemes.palette(2)->slots,
                 (SlotValues{kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot, -1, 255,
                             -2147483647 - 1, kEmptySlot, 7, 16777215}));
        QCOMPARE(schemes.palette(1), seeded(1));
        QVERIFY(!schemes.palette(0) && !schemes.palette(3));
    }

    void remove_shiftsLaterSchemesDownThenDropsLastSection_data() {
        QTest::addColumn<RemoveCase>("c");
        QTest::newRow("first of three") << RemoveCase{
            .schemes = 3,
            .removed = 1,
            .left = "B C",
            .writes = "scheme1/box scheme1/title scheme2/box scheme2/title -scheme3 numSchemes=2",
        };
        QTest::newRow("last of three") << RemoveCase{
            .schemes = 3, .removed = 3, .left = "A B", .writes = "-scheme3 numSchemes=2"};
        QTest::newRow("only") << RemoveCase{
            .schemes = 1, .removed = 1, .left = "", .writes = "-scheme1 numSchemes=0"};
        const auto none = SchemeStore::Removal::NotThere;
        QTest::newRow("none before")
            << RemoveCase{.schemes = 3, .removed = 0, .left = "A B C", .result = none};
        QTest::newRow("none after")
            << RemoveCase{.schemes = 3, .removed = 4, .left = "A B C", .result = none};
    }
    void remove_shiftsLaterSchemesDownThenDropsLastSection() {
        QFETCH(RemoveCase, c);
        const QStringList titles = QStringList{"A", "B", "C"}.mid(0, c.schemes);
        MemorySettingsStore store;
        seed(store, QString::number(c.schemes), titles);
        SchemeStore schemes(store);
        QCOMPARE(schemes.remove(c.removed, titles.value(c.removed - 1)), c.result);
        QCOMPARE(outline(store.log), c.writes);
        const QStringList left = c.left.split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(schemes.titles(), left);
        QCOMPARE(store.sections().size(), left.size() + 1); // and "general"
        for (int k = 1; k <= left.size(); ++k) {
            const int from = int(titles.indexOf(left[k - 1])) + 1;
            QCOMPARE(stored(store, k), textOf(left[k - 1], seeded(from)));
        }
    }

    void parseSchemeCount_takesWholePartOfLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("trailing text") << " \t2x" << 2;
        QTest::newRow("fraction") << "2.5" << 2;
        QTest::newRow("fraction only") << ".5" << 0;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("exponent") << "1.5e1" << 15;
        QTest::newRow("exponent without digits") << "2e" << 2;
        QTest::newRow("above limit") << "99999" << 32767;
        QTest::newRow("overflowing exponent") << "1e999" << 32767;
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << 0;
    }
    void parseSchemeCount_takesWholePartOfLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(schemes::parseSchemeCount(text), count);
    }

    // Separate processes adding and removing in one settings file at the same time: no
    // scheme is lost, none is doubled, and the stored count matches the sections.
    void copiesAtOnce_addsAreEachStoredOnceAndOnlyTheChosenOnesGo() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("tintwave.ini"));
        const QStringList a = names("a", 40), b = names("b", 40), seeds = names("seed", 40);
        const QStringList all = runTogether(ini, {QStringList{"add"} + a, QStringList{"add"} + b});
        QCOMPARE(all.size(), 80);
        QCOMPARE(all.filter("a-"), a); // each copy's once each, in its own order
        QCOMPARE(all.filter("b-"), b);
        QVERIFY(QFile::remove(ini));
        QCOMPARE(runTogether(ini, {QStringList{"add"} + seeds}), seeds);
        // Two copies each remove the first scheme again and again while a third adds.
        const QStringList removeFirst{"remove", "1", "15"};
        QCOMPARE(runTogether(ini, {removeFirst, removeFirst, QStringList{"add"} + a}),
                 seeds.mid(30) + a);
        // Another copy removes the first scheme while this one's dialog shows them: the line
        // chosen here goes, wherever it is now.
        platform::QSettingsStore store(platform::QSettingsStore::IniFile{ini}, {});
        SchemeStore schemes(store);
        const QStringList shown = schemes.titles();
        runTogether(ini, {QStringList{"remove", "1", "1"}});
        QCOMPARE(schemes.remove(2, shown[1]), SchemeStore::Removal::Elsewhere);
        QCOMPARE(schemes.titles(), shown.mid(2));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 3 && args[1] == QLatin1String("--copy")) {
        return runCopy(args.mid(2));
    }
    TestSchemeStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schemestore.moc"
