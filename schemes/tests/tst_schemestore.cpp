// The scheme store: over an in-memory settings store that logs every write, so the exact
// order of writes is pinned; over the real store on damaged files; and as several running
// copies of this test program (started with --copy) sharing one settings file.
#include "platform/memory/MemorySettingsStore.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/tests/FileBytes.h"
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
using palette::gColor;
using palette::Palette;
using platform::MemorySettingsStore;
using schemes::SchemeStore;

namespace {

const QString kApp = QStringLiteral("tintwave");
const SlotValues kWarm{255, 33023, gColor, 0, 16777215, gColor, gColor, 65280, 1, 2};

// Scheme k as seeded: box i holds 10 * k + i.
Palette seeded(int k) {
    Palette p;
    for (int i = 0; i < kSlotCount; ++i)
        p[i] = 10 * k + i;
    return p;
}

// The title and box0 .. box9 of scheme k as stored text.
QStringList stored(MemorySettingsStore& store, int k) {
    const QString section = QStringLiteral("scheme%1").arg(k);
    QStringList text{store.GetSetting(kApp, section, QStringLiteral("title"))};
    for (int i = 0; i < kSlotCount; ++i)
        text << store.GetSetting(kApp, section, QStringLiteral("box%1").arg(i));
    return text;
}
QStringList textOf(const QString& title, const Palette& p) {
    QStringList text{title};
    for (ColorValue v : p.slots)
        text << QString::number(v);
    return text;
}

// The store as an earlier run left it: count text, and scheme k titled titles[k - 1].
void seed(MemorySettingsStore& store, const QString& count, const QStringList& titles) {
    store.SaveSetting(kApp, QStringLiteral("general"), QStringLiteral("numSchemes"), count);
    for (int k = 1; k <= titles.size(); ++k) {
        const QStringList text = textOf(titles[k - 1], seeded(k));
        const QString section = QStringLiteral("scheme%1").arg(k);
        store.SaveSetting(kApp, section, QStringLiteral("title"), text[0]);
        for (int i = 0; i < kSlotCount; ++i)
            store.SaveSetting(kApp, section, QStringLiteral("box%1").arg(i), text[i + 1]);
    }
    store.log.clear();
}

// The writes of the log in short: "scheme2/box" for a run of box writes, "scheme2/title",
// "-scheme3" for a deleted section, "numSchemes=2".
QString outline(const QStringList& log) {
    QStringList parts;
    for (const QString& entry : log) {
        QString part =
            entry.section(u'/', 1).section(u'=', 0, 0).remove(QRegularExpression("(?<=/box)\\d$"));
        if (entry.startsWith("delete"))
            part = "-" + part;
        else if (part == "general/numSchemes")
            part = "numSchemes=" + entry.section(u'=', 1);
        if (parts.isEmpty() || parts.last() != part)
            parts << part;
    }
    return parts.join(u' ');
}

struct RemoveCase {
    int schemes;      // seeded, titled "A", "B", ...
    int removed;      // the number passed to remove
    QString left;     // titles afterwards
    QString writes{}; // outline() of the writes
};

// One running copy: "--copy <ini> list", "... add <name>...", "... remove <n> <times>".
// Store notices go to standard error; an add refused gives exit status 1.
int runCopy(const QStringList& args) {
    QTextStream out(stdout), err(stderr);
    platform::QSettingsStore store(args[0], [&err](const QString& notice) { err << notice; });
    SchemeStore schemes(store);
    const QString command = args[1];
    if (command == QLatin1String("list")) {
        for (const QString& title : schemes.titles())
            out << title << '\n';
    } else if (command == QLatin1String("add")) {
        for (const QString& name : args.mid(2)) {
            if (!schemes.add(name, Palette::empty()))
                return 1;
        }
    } else {
        for (int i = 0; i < args[3].toInt(); ++i)
            schemes.remove(args[2].toInt());
    }
    return 0;
}

QStringList names(const QString& prefix, int count) {
    QStringList result;
    for (int i = 1; i <= count; ++i)
        result << QStringLiteral("%1-%2").arg(prefix).arg(i);
    return result;
}

// Runs the copies at once, one process each, and waits for all of them.
void runTogether(const QString& ini, const QList<QStringList>& copies) {
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QStringList& arguments : copies) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QCoreApplication::applicationFilePath(),
                              QStringList{"--copy", ini} + arguments);
    }
    for (auto& p : running) {
        QVERIFY(p->waitForFinished(120000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
    }
}

// The titles in the file, read by a new copy; and the file holds exactly the count and
// the sections scheme1 .. schemeN.
QStringList listedAndLaidOut(const QString& ini) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--copy", ini, "list"});
    p.waitForFinished(60000);
    const QStringList titles = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    static int copies = 0; // QSettings caches a file by name: read a copy under a new one
    const QString copy = ini + QString::number(++copies);
    QFile::copy(ini, copy);
    QSettings s(copy, QSettings::IniFormat);
    QStringList expected{QStringLiteral("numSchemes=%1").arg(titles.size() - 1)};
    QStringList found{"numSchemes=" + s.value("numSchemes").toString()};
    for (int k = 1; k < titles.size(); ++k)
        expected << QStringLiteral("scheme%1").arg(k);
    found += s.childGroups();
    expected.sort();
    found.sort();
    return found == expected ? titles.mid(0, titles.size() - 1) : found;
}

} // namespace

Q_DECLARE_METATYPE(RemoveCase)

class TestSchemeStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void add_onEmptyStore_writesCountTitleThenTenBoxes() {
        MemorySettingsStore store;
        SchemeStore schemes(store);
        QVERIFY(schemes.add(QStringLiteral("Warm"), Palette{kWarm}));
        const QStringList expected{
            "save tintwave/general/numSchemes=1",     "save tintwave/scheme1/title=Warm",
            "save tintwave/scheme1/box0=255",         "save tintwave/scheme1/box1=33023",
            "save tintwave/scheme1/box2=-2147483633", "save tintwave/scheme1/box3=0",
            "save tintwave/scheme1/box4=16777215",    "save tintwave/scheme1/box5=-2147483633",
            "save tintwave/scheme1/box6=-2147483633", "save tintwave/scheme1/box7=65280",
            "save tintwave/scheme1/box8=1",           "save tintwave/scheme1/box9=2",
        };
        QCOMPARE(store.log, expected);
        QCOMPARE(schemes.count(), 1);
        QCOMPARE(schemes.apply(1), std::optional<Palette>(Palette{kWarm}));
        QCOMPARE(store.unlockedWrites, 0);
        QCOMPARE(store.locksHeld, 0);
    }

    void add_blankOrDuplicateName_storedAsGivenAndFoundFirstExactMatch() {
        MemorySettingsStore store;
        seed(store, "2", {"A", "B"});
        SchemeStore schemes(store);
        QVERIFY(schemes.add(QStringLiteral("  "), seeded(3)));
        QVERIFY(schemes.add(QStringLiteral("A"), seeded(4)));
        QCOMPARE(schemes.titles(), (QStringList{"A", "B", "  ", "A"}));
        QCOMPARE(stored(store, 3), textOf("  ", seeded(3)));
        QCOMPARE(schemes.findByTitle("A"), std::optional<int>(1));
        QCOMPARE(schemes.findByTitle("  "), std::optional<int>(3));
        QCOMPARE(schemes.findByTitle("a"), std::nullopt);
    }

    void add_refused_writesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("locked"); // by another copy, for good
        QTest::newRow("empty name") << ""
                                    << "2" << false;
        // "1e9" once made start-up append a billion menu entries.
        QTest::newRow("full menu") << "x"
                                   << "1e9" << false;
        QTest::newRow("store locked") << "x"
                                      << "2" << true;
    }
    void add_refused_writesNothing() {
        QFETCH(QString, name);
        QFETCH(QString, count);
        QFETCH(bool, locked);
        MemorySettingsStore store;
        seed(store, count, {"A", "B"});
        SchemeStore schemes(store);
        store.refuseLock = locked;
        QVERIFY(!schemes.add(name, Palette{kWarm}));
        QVERIFY(store.log.isEmpty());
        QCOMPARE(store.notices.size(), locked ? 1 : 0);
        QCOMPARE(schemes.count(), count == "2" ? 2 : 32767);
    }

    // Every slot goes through the same parse; the boxes hold its boundaries.
    void apply_readsAllTenBoxes_valuesOutOfRangeAsEmptySlots() {
        MemorySettingsStore store;
        seed(store, "2", {"A"});
        const QStringList boxes{"",      "0x10",        "16777216",    "1.5", "-1",
                                " 255 ", "-2147483648", "-2147483649", "+7",  "16777215"};
        for (int i = 0; i < kSlotCount; ++i)
            store.SaveSetting(kApp, "scheme2", QStringLiteral("box%1").arg(i), boxes[i]);
        SchemeStore schemes(store);
        QCOMPARE(schemes.titles(), (QStringList{"A", ""}));
        QCOMPARE(schemes.apply(2)->slots, (SlotValues{gColor, gColor, gColor, gColor, -1, 255,
                                                      -2147483647 - 1, gColor, 7, 16777215}));
        QCOMPARE(schemes.apply(1), seeded(1));
        QCOMPARE(schemes.apply(0), std::nullopt);
        QCOMPARE(schemes.apply(3), std::nullopt);
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
        QTest::newRow("none before") << RemoveCase{.schemes = 3, .removed = 0, .left = "A B C"};
        QTest::newRow("none after") << RemoveCase{.schemes = 3, .removed = 4, .left = "A B C"};
    }
    void remove_shiftsLaterSchemesDownThenDropsLastSection() {
        QFETCH(RemoveCase, c);
        const QStringList titles = QStringList{"A", "B", "C"}.mid(0, c.schemes);
        MemorySettingsStore store;
        seed(store, QString::number(c.schemes), titles);
        SchemeStore schemes(store);
        schemes.remove(c.removed);
        QCOMPARE(outline(store.log), c.writes);
        const QStringList left = c.left.split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(schemes.titles(), left);
        QCOMPARE(store.sections(kApp).size(), left.size() + 1); // and "general"
        for (int k = 1; k <= left.size(); ++k) {
            const int from = int(titles.indexOf(left[k - 1])) + 1;
            QCOMPARE(stored(store, k), textOf(left[k - 1], seeded(from)));
        }
    }

    void remove_laterSectionMissing_copiesEmptyText() {
        MemorySettingsStore store;
        seed(store, "3", {"A", "B", "C"});
        store.DeleteSetting(kApp, "scheme2");
        SchemeStore schemes(store);
        schemes.remove(1);
        QCOMPARE(stored(store, 1), QStringList(11, QString()));
        QCOMPARE(schemes.apply(1), Palette::empty());
        QCOMPARE(stored(store, 2), textOf("C", seeded(3)));
    }

    // Each copy takes the count from the store before writing, so none overwrites another's
    // schemes, and a removal elsewhere never lets a copy touch sections past the count.
    void twoCopiesInOneProcess_followTheStoredCount() {
        MemorySettingsStore store;
        SchemeStore a(store), b(store);
        QVERIFY(a.add("one", seeded(1)) && b.add("two", seeded(2)) && a.add("three", seeded(3)));
        b.remove(1);
        QVERIFY(a.add("four", seeded(4)));
        QCOMPARE(stored(store, 3), textOf("four", seeded(4)));
        QCOMPARE(b.titles(), (QStringList{"two", "three", "four"}));
        b.remove(3);
        b.remove(2);
        store.log.clear();
        a.remove(3);
        QVERIFY(store.log.isEmpty());
        QCOMPARE(store.sections(kApp), (QStringList{"general", "scheme1"}));
        QCOMPARE(store.unlockedWrites, 0);
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
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << 0;
    }
    void parseSchemeCount_takesWholePartOfLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(schemes::parseSchemeCount(text), count);
    }

    // Whatever the file holds, adding and removing work and nothing readable is lost; a
    // file QSettings cannot read completely is first kept aside byte for byte.
    void damagedFile_addAndRemoveWorkAndLoseNothing_data() {
        QTest::addColumn<QByteArray>("contents"); // none: a folder stands in the file's place
        QTest::addColumn<QStringList>("titles");  // as read at start
        QTest::addColumn<QString>("notice");      // a word of the notice the add gives
        QTest::newRow("sections missing")
            << QByteArray("numSchemes=3\n[scheme2]\ntitle=B\n") << QStringList{"", "B", ""} << "";
        // An unquoted ";" starts a comment, as INI files have it; an open quote runs to the end.
        QTest::newRow("titles edited by hand")
            << QByteArray("numSchemes=2\n[scheme1]\ntitle=a = b; c\n[scheme2]\ntitle=\"open\n")
            << QStringList{"a = b", "open\n"} << "";
        QTest::newRow("unclosed section header")
            << QByteArray("numSchemes=2\n[scheme1]\ntitle=A\n[scheme2\ntitle=B\n")
            << QStringList{"A", "B"} << "copy";
        QTest::newRow("Latin-1 title")
            << QByteArray("numSchemes=1\n[scheme1]\ntitle=A\n[x]\ny=\xe9\n") << QStringList{"A"}
            << "copy";
        QTest::newRow("folder in the file's place")
            << QByteArray() << QStringList{} << "cannot be written";
    }
    void damagedFile_addAndRemoveWorkAndLoseNothing() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, titles);
        QFETCH(QString, notice);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tintwave.ini"));
        QVERIFY(contents.isNull() ? QDir(dir.path()).mkdir("tintwave.ini")
                                  : writeBytes(path, contents));
        QStringList notices;
        platform::QSettingsStore store(path, [&](const QString& n) { notices << n; });
        SchemeStore schemes(store);
        QCOMPARE(schemes.titles(), titles);

        QVERIFY(schemes.add(QStringLiteral("added"), Palette{kWarm}));
        QCOMPARE(notices.size(), notice.isEmpty() ? 0 : 1);
        QVERIFY2(notices.join("").contains(notice), qPrintable(notices.join("")));
        const QStringList kept = QDir(dir.path()).entryList({"tintwave.ini.corrupt-*"});
        QCOMPARE(kept.size(), notice == "copy" ? 1 : 0);
        if (!kept.isEmpty())
            QCOMPARE(readBytes(dir.filePath(kept[0])), contents);
        schemes.remove(1);
        if (contents.isNull()) { // nothing could be written, and nothing is counted
            QCOMPARE(schemes.titles(), QStringList{});
            return;
        }
        // A restarted copy reads the file under a new name (QSettings caches by name).
        QVERIFY(QFile::copy(path, dir.filePath(QStringLiteral("restarted.ini"))));
        platform::QSettingsStore restarted(dir.filePath(QStringLiteral("restarted.ini")), {});
        SchemeStore again(restarted);
        QCOMPARE(again.titles(), titles.mid(1) << "added");
        QCOMPARE(again.apply(int(titles.size()))->slots, kWarm);
    }

    // Separate processes adding and removing in one settings file at the same time: no
    // scheme is lost, none is doubled, and the stored count matches the sections.
    void copiesAtOnce_addsAreEachStoredOnceAndOnlyRemovedOnesGo() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("tintwave.ini"));
        const QStringList a = names("a", 40), b = names("b", 40), seeds = names("seed", 40);
        runTogether(ini, {QStringList{"add"} + a, QStringList{"add"} + b});
        QStringList all = listedAndLaidOut(ini);
        QCOMPARE(all.size(), 80);
        // Each copy's schemes appear once each, in its own order.
        QCOMPARE(all.filter("a-"), a);
        QCOMPARE(all.filter("b-"), b);

        QVERIFY(QFile::remove(ini));
        runTogether(ini, {QStringList{"add"} + seeds});
        // Two copies each remove the first scheme again and again while a third adds.
        const QStringList removeFirst{"remove", "1", "15"};
        runTogether(ini, {removeFirst, removeFirst, QStringList{"add"} + a});
        QCOMPARE(listedAndLaidOut(ini), seeds.mid(30) + a);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 3 && args[1] == QLatin1String("--copy"))
        return runCopy(args.mid(2));
    TestSchemeStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schemestore.moc"
