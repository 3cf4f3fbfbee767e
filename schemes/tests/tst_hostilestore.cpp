// The scheme store started on damaged and hostile settings files, through the real
// QSettings-backed store: whatever the file holds, start-up, listing, applying, adding
// and removing all work, a file that cannot be read completely is kept byte for byte,
// and every scheme that could be read survives.
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/tests/FileBytes.h"
#include "schemes/SchemeStore.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using tintwave::SlotValues;
using tintwave::palette::gColor;
using tintwave::palette::Palette;
using tintwave::platform::MemorySchemeMenu;
using tintwave::platform::QSettingsStore;
using tintwave::schemes::SchemeStore;

namespace {

enum class Place { File, ReadOnlyFile, FolderInPlace };

const Palette kAdded{{255, 33023, gColor, 0, 16777215, -1, 7, 65280, 1, 2}};
const QString kAddedTitle = QStringLiteral("added");
constexpr int kMaxSchemes = 32767;

// Scheme k with slots 255, 1, 2 .. 9.
QByteArray scheme(int k, const QString& title) {
    QByteArray s =
        "[scheme" + QByteArray::number(k) + "]\ntitle=" + title.toUtf8() + "\nbox0=255\n";
    for (int i = 1; i < 10; ++i)
        s += "box" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    return s;
}

// A file as QSettings writes it (so any title is quoted and escaped as it would be).
QByteArray writtenByQt(const QStringList& titles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("written.ini"));
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(QStringLiteral("numSchemes"), QString::number(titles.size()));
        for (int k = 1; k <= titles.size(); ++k) {
            s.setValue(QStringLiteral("scheme%1/title").arg(k), titles[k - 1]);
            for (int i = 0; i < 10; ++i)
                s.setValue(QStringLiteral("scheme%1/box%2").arg(k).arg(i), QString::number(i));
        }
    }
    return readBytes(path);
}

QByteArray randomBytes() {
    QByteArray bytes(4096, '\0');
    QRandomGenerator source(7);
    for (char& c : bytes)
        c = char(source.bounded(256));
    return "\xff" + bytes; // never valid UTF-8
}

// Start-up of a second running copy: what the file itself holds. A copy of it under a
// new name, since QSettings answers a name it has read before from its cache.
QStringList titlesOnDisk(const QString& path, const QString& copy) {
    if (!QFile::copy(path, copy))
        return {QStringLiteral("<no copy>")};
    QSettingsStore store(copy);
    MemorySchemeMenu menu;
    SchemeStore schemes(store, menu);
    schemes.load();
    return menu.captions;
}

QStringList corruptCopies(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("tintwave.ini.corrupt-*")}, QDir::Files);
}

} // namespace

class HostileStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startOnHostileFile_storeStaysUsableAndLosesNothing_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("count");          // after start-up
        QTest::addColumn<QStringList>("titles"); // the first schemes' titles after start-up
        QTest::addColumn<QList<int>>("scheme1"); // scheme 1 applied; empty: not checked
        QTest::addColumn<bool>("unreadable");    // expect the original kept aside

        const QStringList none;
        const QList<int> any;
        const auto count = [](const QByteArray& text) {
            return "numSchemes=" + text + "\n";
        };
        const QByteArray ab = scheme(1, "A") + scheme(2, "B");
        const QList<int> a{255, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        const int fileAt = int(Place::File);

        // "1e9" once made start-up append a billion menu entries.
        QTest::newRow("count 1e9") << fileAt << count("1e9") + ab << kMaxSchemes
                                   << QStringList{"A", "B", ""} << a << false;
        QTest::newRow("sections missing")
            << fileAt << count("3") + scheme(2, "B") << 3 << QStringList{"", "B", ""}
            << QList<int>(10, gColor) << false;
        const QString longTitle(10000, QChar(u'ß'));
        const QStringList oddTitles{longTitle,   "two\nlines", "\"quoted\"", "a = b; c",
                                    "Grüße € 😀", "[scheme9]",  "",           "   "};
        QTest::newRow("odd titles written by Qt")
            << fileAt << writtenByQt(oddTitles) << int(oddTitles.size()) << oddTitles
            << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << false;
        // An unquoted ";" starts a comment, as INI files have it; an open quote runs to the end.
        QTest::newRow("odd titles edited by hand")
            << fileAt << count("2") + "[scheme1]\ntitle=a = b; c\n[scheme2]\ntitle=\"unclosed\n"
            << 2 << QStringList{"a = b", "unclosed\n"} << any << false;
        QTest::newRow("unclosed section header")
            << fileAt << count("2") + scheme(1, "A") + "[scheme2\ntitle=B\n"
            << 2 << QStringList{"A"} << a << true;
        QTest::newRow("random bytes") << fileAt << randomBytes() << -1 << none << any << true;
        QTest::newRow("Latin-1 title")
            << fileAt << count("1") + scheme(1, "x") + "[scheme2]\ntitle=\xe9\n"
            << 1 << QStringList{"x"} << a << true;
        QTest::newRow("read-only file") << int(Place::ReadOnlyFile) << count("2") + ab << 2
                                        << QStringList{"A", "B"} << a << false;
        QTest::newRow("folder in the file's place")
            << int(Place::FolderInPlace) << QByteArray() << 0 << none << any << false;
    }

    void startOnHostileFile_storeStaysUsableAndLosesNothing() {
        QFETCH(int, place);
        QFETCH(QByteArray, contents);
        QFETCH(int, count);
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, scheme1);
        QFETCH(bool, unreadable);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tintwave.ini"));
        const bool writable = Place(place) == Place::File;
        if (Place(place) == Place::FolderInPlace) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tintwave.ini")));
        } else {
            QVERIFY(writeBytes(path, contents));
        }
        if (Place(place) == Place::ReadOnlyFile) {
            QFile::setPermissions(path, QFile::ReadOwner);
            QFile probe(path);
            if (probe.open(QIODevice::Append))
                QSKIP("This process may write read-only files (it runs as root).");
        }

        QSettingsStore store(path);
        MemorySchemeMenu menu;
        SchemeStore schemes(store, menu);
        schemes.load();
        if (count >= 0)
            QCOMPARE(schemes.numSchemes(), count);
        const int n = schemes.numSchemes();
        QCOMPARE(menu.highestIndex(), n);
        const QStringList before = schemes.titles();
        QCOMPARE(before.size(), n);
        QCOMPARE(before.mid(0, titles.size()), titles);
        for (int k = 1; k <= n; ++k)
            QVERIFY(schemes.apply(k));
        if (!scheme1.isEmpty()) {
            const Palette first = schemes.apply(1).value_or(Palette{});
            QCOMPARE(QList<int>(first.slots.begin(), first.slots.end()), scheme1);
        }

        // Adding: appended and read back from the file, unless the menu is full or the
        // file cannot be written (then a notice says so and the store still counts n).
        QCOMPARE(schemes.add(kAddedTitle, kAdded), n < kMaxSchemes);
        const bool stored = writable && n < kMaxSchemes;
        QCOMPARE(!store.takeNotice().isEmpty(), unreadable || (!writable && n < kMaxSchemes));
        const QStringList afterAdd = schemes.titles();
        QCOMPARE(afterAdd, stored ? before + QStringList{kAddedTitle} : before);
        if (stored) {
            QCOMPARE(schemes.apply(n + 1), kAdded);
            QCOMPARE(titlesOnDisk(path, dir.filePath(QStringLiteral("copy1.ini"))), afterAdd);
        }

        const QStringList copies = corruptCopies(dir.path());
        QCOMPARE(copies.size(), unreadable ? 1 : 0);
        if (unreadable)
            QCOMPARE(readBytes(dir.filePath(copies.first())), contents);

        // Removing the first scheme shifts the rest down, on disk too.
        const int m = schemes.numSchemes();
        schemes.deleteIt(1);
        if (writable && m > 0) {
            QCOMPARE(schemes.titles(), afterAdd.mid(1));
            QCOMPARE(titlesOnDisk(path, dir.filePath(QStringLiteral("copy2.ini"))),
                     afterAdd.mid(1));
        } else {
            QCOMPARE(schemes.titles(), afterAdd);
        }
        if (Place(place) == Place::ReadOnlyFile)
            QCOMPARE(readBytes(path), contents);
        if (Place(place) == Place::FolderInPlace)
            QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_GUILESS_MAIN(HostileStoreTest)
#include "tst_hostilestore.moc"
