// The QSettings-backed store: what it writes reads back after a restart, a damaged file is
// kept aside before it is rewritten, failures give notices, and exclusive access across
// running copies is held through a lock file and given up in bounded time.
#include "platform/qt/QSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::QSettingsStore;

namespace {

const QString kApp = QStringLiteral("tintwave");

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class QSettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int files_ = 0;
    QString ini_;
    QStringList notices_; // each marked when told while this copy held the lock

    QString lockPath() const { return ini_ + QStringLiteral(".tintwave-lock"); }
    std::unique_ptr<QSettingsStore> store() {
        return std::make_unique<QSettingsStore>(
            QSettingsStore::IniFile{ini_}, [this](const QString& notice) {
                notices_ << (QFile::exists(lockPath()) ? "(locked) " : "") + notice;
            });
    }
    QStringList backups() const {
        return QDir(dir_.path()).entryList({QFileInfo(ini_).fileName() + ".corrupt-*"});
    }
    // What a restarted program reads: a copy under a new name, since QSettings caches the
    // files it has read for the whole process.
    std::unique_ptr<QSettingsStore> restarted() {
        const QString copy = dir_.filePath(QStringLiteral("restarted-%1.ini").arg(++files_));
        return QFile::copy(ini_, copy)
                   ? std::make_unique<QSettingsStore>(QSettingsStore::IniFile{copy}, nullptr)
                   : nullptr;
    }

private Q_SLOTS:
    void init() {
        ini_ = dir_.filePath(QStringLiteral("tintwave-%1.ini").arg(++files_));
        notices_.clear();
    }

    // "general" holds the count at the file's root; no other name may land there too.
    void valuesAndNames_roundTripWithoutColliding_data() {
        QTest::addColumn<QStringList>("where"); // section, key, value
        QTest::newRow("blanks, commas") << QStringList{"scheme1", "title", "  Red, Green,Blue "};
        QTest::newRow("General") << QStringList{"General", "numSchemes", "v"};
        QTest::newRow("GENERAL") << QStringList{"GENERAL", "numSchemes", "v"};
        QTest::newRow("slashes") << QStringList{"a/b\\c", "c/d", "v"};
        QTest::newRow("percent") << QStringList{"%2F", "%", "v"};
        QTest::newRow("empty names") << QStringList{"", "", "v"};
    }
    void valuesAndNames_roundTripWithoutColliding() {
        QFETCH(QStringList, where);
        auto first = store();
        first->setValue("general", "numSchemes", "root");
        first->setValue("a", "b", "nested");
        first->setValue(where[0], where[1], where[2]);
        const auto second = restarted();
        QCOMPARE(second->value(where[0], where[1]), where[2]);
        QCOMPARE(second->value("general", "numSchemes") + second->value("a", "b"), "rootnested");
    }

    void defaultLocation_isConfigFolderPerApplication() {
#ifdef Q_OS_WIN
        QSKIP("Settings live in the registry on Windows.");
#endif
        QStandardPaths::setTestModeEnabled(true);
        QCOMPARE(QSettingsStore(kApp, nullptr).fileName(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     "/tintwave/tintwave.ini");
        QStandardPaths::setTestModeEnabled(false);
    }

    // Contents Qt reads only in part, or writes back as something else: a write would drop
    // the rest, so they are copied aside when the file is opened, once, under a name not
    // taken, and the user hears of it then.
    void unreadableFile_isCopiedAsideOnceOnOpening_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("readable"); // scheme1's title
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QStringList>("keys"); // all the rewritten file holds, sorted
        QTest::newRow("edited by hand")        // an unquoted comma makes a list
            << QByteArray("[general]\nn=2\n\n[scheme1]\ntitle=a, b\n") << "a, b" << false
            << QStringList{"n", "scheme1/title", "scheme5/title"};
        QTest::newRow("unclosed section headers")
            << QByteArray("[scheme1\ntitle=x\n[scheme2]\ntitle=y\n[scheme3 and\ntitle=z\n") << "x"
            << true << QStringList{"scheme1/title", "scheme2/title", "scheme5/title"};
        QTest::newRow("Latin-1 text, escaped names, a stray bracket")
            << QByteArray("[scheme%31]\ntitle=Gr\xfc\xdf"
                          "e\nGr\xfc\xdf"
                          "e=1\n]=2\n[a%20b]\nk=1\n")
            << QString::fromUtf8("Gr\uFFFD\uFFFDe") << true
            << QStringList{"a b/k", "scheme1/title", "scheme5/title"};
        QTest::newRow("NUL in a list value") << QByteArray("[scheme1]\ntitle=a\0b, c\n", 22)
                                             << QStringLiteral("a%1b, c").arg(QChar(0)) << true
                                             << QStringList{"scheme1/title", "scheme5/title"};
        // A group within scheme1 sorts before "scheme1/title"; found by fuzz_store.
        QTest::newRow("damaged group header before its section")
            << QByteArray("[scheme1\\a\xff]\nk=1\n[scheme1]\ntitle=x\n") << "x" << true
            << QStringList{"scheme1/title", "scheme5/title"};
    }
    void unreadableFile_isCopiedAsideOnceOnOpening() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, readable);
        QFETCH(bool, damaged);
        QFETCH(QStringList, keys);
        QVERIFY(writeBytes(ini_, contents));
        // Names of this second and the next are taken already, in case the clock ticks over.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime& t : {now, now.addSecs(1)}) {
            QVERIFY(writeBytes(ini_ + ".corrupt-" + t.toString("yyyyMMdd-HHmmss"), "older"));
        }
        auto s = store();
        QCOMPARE(s->value("scheme1", "title"), readable);
        QCOMPARE(backups().size() + notices_.size(), damaged ? 4 : 2);
        s->setValue("scheme5", "title", "new");
        s->removeSection("scheme6");
        const QString copy = dir_.filePath(backups().filter(QRegularExpression("-2$")).value(0));
        QCOMPARE(backups().size(), damaged ? 3 : 2);
        QCOMPARE(readBytes(copy), damaged ? contents : QByteArray());
        QCOMPARE(notices_.join(""),
                 damaged ? "The settings file \"" + QDir::toNativeSeparators(ini_) +
                               "\" was damaged and could not be read completely. A copy of it "
                               "was kept as \"" +
                               QDir::toNativeSeparators(copy) +
                               "\"; Tintwave goes on with the settings it could read."
                         : QString());
        const auto second = restarted();
        QCOMPARE(second->value("scheme5", "title") + second->value("scheme1", "title"),
                 "new" + readable);
        // Names QSettings made of damaged lines are not written back.
        const QString copyOfFile = dir_.filePath(QStringLiteral("keys-%1.ini").arg(++files_));
        QVERIFY(QFile::copy(ini_, copyOfFile));
        QStringList written = QSettings(copyOfFile, QSettings::IniFormat).allKeys();
        written.sort();
        QCOMPARE(written, keys);
    }

    // A write that cannot be made changes nothing and says why, every time; another copy's
    // lock is waited for in bounded time only.
    void writeUnderLock_givesNoticeEveryTimeItCannotBeMade_data() {
        QTest::addColumn<bool>("locked"); // by another copy; else a folder is in the file's place
        QTest::addColumn<QString>("notice"); // "%1": the file
        QTest::newRow("folder in the file's place")
            << false
            << "Tintwave could not save its settings to \"%1\": the file or its "
               "folder cannot be written.";
        QTest::newRow("locked by another copy")
            << true
            << "Tintwave could not change its settings: another running copy kept "
               "\"%1\" locked. Nothing was changed.";
    }
    void writeUnderLock_givesNoticeEveryTimeItCannotBeMade() {
        QFETCH(bool, locked);
        QFETCH(QString, notice);
        QLockFile other(lockPath());
        QVERIFY(locked ? other.tryLock(0) : QDir(dir_.path()).mkdir(QFileInfo(ini_).fileName()));
        auto s = store();
        s->setLockTimes(300, 10000);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 2; ++i) {
            s->setValue("s", "t", "new");
        }
        QVERIFY2(timer.elapsed() < 5000, QByteArray::number(timer.elapsed()));
        // Only the other copy's lock may still be there when a notice is told.
        const QString told =
            (locked ? "(locked) " : "") + notice.arg(QDir::toNativeSeparators(ini_));
        QCOMPARE(notices_, QStringList(2, told));
        QCOMPARE(readBytes(ini_) + s->value("s", "t").toUtf8(), QByteArray());
    }

    // Another running copy replaces the file: a sync shows it, and so does the lock even
    // when the file kept its size and time (a coarse clock, or a time QSettings noted after
    // the change). Writes made under the lock reach the file together when it is released,
    // and each leaves a newer file, so other copies see every one.
    void anotherCopysChange_isSeenAndKept() {
        auto s = store();
        s->setValue("scheme1", "title", "mine");
        const QDateTime time = QFileInfo(ini_).lastModified();
        const auto replace = [&](const QByteArray& theirs) {
            QVERIFY(writeBytes(ini_ + ".new", theirs));
            QVERIFY(QFile::remove(ini_) && QFile::rename(ini_ + ".new", ini_));
            QFile f(ini_);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
        };
        replace("[scheme1]\ntitle=them\n");
        {
            auto access = s->lockExclusive();
            QCOMPARE(s->value("scheme1", "title"), QStringLiteral("them"));
            s->setValue("scheme2", "title", "new");
            s->removeSection("scheme3");
            QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=them\n"));
        }
        QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=them\n\n[scheme2]\ntitle=new\n"));
        QVERIFY(!QFile::exists(lockPath()));
        replace("[scheme3]\ntitle=theirs\n");
        s->sync();
        QCOMPARE(s->value("scheme3", "title"), QStringLiteral("theirs"));
        for (int i = 0; i < 10; ++i) {
            const QDateTime before = QFileInfo(ini_).lastModified();
            s->setValue("scheme3", "title", QString::number(i % 10));
            QVERIFY(QFileInfo(ini_).lastModified() > before);
        }
    }
};

QTEST_GUILESS_MAIN(QSettingsStoreTest)
#include "tst_qsettingsstore.moc"
