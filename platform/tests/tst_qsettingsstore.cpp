// The QSettings-backed store: what it writes reads back after a restart, a damaged file is
// kept aside before it is rewritten, failures give notices, and exclusive access across
// running copies is held through a lock file, given up in bounded time and taken over from
// a copy that died or hung.
#include "platform/qt/QSettingsStore.h"
#include "platform/tests/FileBytes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::QSettingsStore;

namespace {

const QString kApp = QStringLiteral("tintwave");

} // namespace

class QSettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int files_ = 0;
    QString ini_;
    QStringList notices_;
    int toldUnderLock_ = 0; // while other copies would wait for the lock

    QString lockPath() const { return ini_ + QStringLiteral(".tintwave-lock"); }
    std::unique_ptr<QSettingsStore> store() {
        return std::make_unique<QSettingsStore>(ini_, [this](const QString& notice) {
            notices_ << notice;
            toldUnderLock_ += QFile::exists(lockPath());
        });
    }
    QStringList backups() const {
        return QDir(dir_.path()).entryList({QFileInfo(ini_).fileName() + ".corrupt-*"});
    }
    // What a restarted program reads: a copy under a new name, since QSettings caches the
    // files it has read for the whole process.
    std::unique_ptr<QSettingsStore> restarted() {
        const QString copy = dir_.filePath(QStringLiteral("restarted-%1.ini").arg(++files_));
        return QFile::copy(ini_, copy) ? std::make_unique<QSettingsStore>(copy, nullptr) : nullptr;
    }

private Q_SLOTS:
    void init() {
        ini_ = dir_.filePath(QStringLiteral("tintwave-%1.ini").arg(++files_));
        notices_.clear();
        toldUnderLock_ = 0;
    }

    // "general" holds the count at the file's root; no other name may land there too, and
    // deleting it leaves the sections stored beside it.
    void valuesAndNames_roundTripWithoutColliding_data() {
        QTest::addColumn<QStringList>("where"); // section, key, value
        QTest::newRow("blanks, commas") << QStringList{"scheme1", "title", "  Red, Green,Blue "};
        QTest::newRow("non-ASCII, newlines") << QStringList{"s", "t", "Grüße 🎨\nline\r\nthree"};
        QTest::newRow("General") << QStringList{"General", "numSchemes", "v"};
        QTest::newRow("GENERAL") << QStringList{"GENERAL", "numSchemes", "v"};
        QTest::newRow("slashes") << QStringList{"a/b\\c", "c/d", "v"};
        QTest::newRow("percent") << QStringList{"%2F", "%", "v"};
        QTest::newRow("empty names") << QStringList{"", "", "v"};
    }
    void valuesAndNames_roundTripWithoutColliding() {
        QFETCH(QStringList, where);
        auto first = store();
        first->SaveSetting(kApp, "general", "numSchemes", "root");
        first->SaveSetting(kApp, "a", "b", "nested");
        first->SaveSetting(kApp, where[0], where[1], where[2]);
        const auto second = restarted();
        QCOMPARE(second->GetSetting(kApp, where[0], where[1]), where[2]);
        QCOMPARE(second->GetSetting(kApp, "general", "numSchemes"), "root");
        second->DeleteSetting(kApp, "general");
        QCOMPARE(second->GetSetting(kApp, "general", "numSchemes") +
                     second->GetSetting(kApp, "a", "b") +
                     second->GetSetting(kApp, where[0], where[1]),
                 "nested" + where[2]);
    }

    void defaultLocation_isConfigFolderPerApplication() {
#ifdef Q_OS_WIN
        QSKIP("Settings live in the registry on Windows.");
#endif
        QStandardPaths::setTestModeEnabled(true);
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/tintwave/tintwave.ini";
        QSettingsStore(nullptr).SaveSetting(kApp, "general", "numSchemes", "1");
        QVERIFY(readBytes(expected).contains("numSchemes=1"));
        QFile::remove(expected);
        QStandardPaths::setTestModeEnabled(false);
    }

    // Contents Qt reads only in part, or writes back as something else: the next write
    // would drop the rest, so they are copied aside first, once, under a name not taken.
    void unreadableFile_isCopiedAsideOnceBeforeTheFirstWrite_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("readable"); // scheme1's title
        QTest::addColumn<bool>("damaged");
        QTest::newRow("edited by hand") << QByteArray("[general]\nn=2\n\n[scheme1]\ntitle=a, b\n")
                                        << "a, b" << false; // an unquoted comma makes a list
        QTest::newRow("unclosed section header")
            << QByteArray("[scheme1\ntitle=x\n[scheme2]\ntitle=y\n") << "x" << true;
        QTest::newRow("Latin-1 text") << QByteArray("[scheme1]\ntitle=Gr\xfc\xdf"
                                                    "e\n")
                                      << QString::fromUtf8("Gr\uFFFD\uFFFDe") << true;
        QTest::newRow("NUL in a list value") << QByteArray("[scheme1]\ntitle=a\0b, c\n", 22)
                                             << QStringLiteral("a%1b, c").arg(QChar(0)) << true;
    }
    void unreadableFile_isCopiedAsideOnceBeforeTheFirstWrite() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, readable);
        QFETCH(bool, damaged);
        QVERIFY(writeBytes(ini_, contents));
        // Names of this second and the next are taken already, in case the clock ticks over.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime& t : {now, now.addSecs(1)})
            QVERIFY(writeBytes(ini_ + ".corrupt-" + t.toString("yyyyMMdd-HHmmss"), "older"));
        auto s = store();
        QCOMPARE(s->GetSetting(kApp, "scheme1", "title"), readable);
        s->SaveSetting(kApp, "scheme5", "title", "new");
        s->DeleteSetting(kApp, "scheme6");
        const QString copy = dir_.filePath(backups().filter(QRegularExpression("-2$")).value(0));
        QCOMPARE(backups().size(), damaged ? 3 : 2);
        QCOMPARE(readBytes(copy), damaged ? contents : QByteArray());
        QCOMPARE(notices_.join(""),
                 damaged ? "The settings file \"" + QDir::toNativeSeparators(ini_) +
                               "\" was damaged and could not be read completely. "
                               "A copy of it was kept as \"" +
                               QDir::toNativeSeparators(copy) +
                               "\"; Tintwave goes on with the settings it could read."
                         : QString());
        const auto second = restarted();
        QCOMPARE(second->GetSetting(kApp, "scheme5", "title"), QStringLiteral("new"));
        QCOMPARE(second->GetSetting(kApp, "scheme1", "title"), readable);
    }

    // A write that cannot be made changes nothing and says why, every time; another copy's
    // lock is waited for in bounded time only.
    void writeRefused_givesNoticeEveryTimeAndChangesNothing_data() {
        QTest::addColumn<bool>("locked"); // else a folder stands in the file's place
        QTest::newRow("folder in the file's place") << false;
        QTest::newRow("locked by another copy") << true;
    }
    void writeRefused_givesNoticeEveryTimeAndChangesNothing() {
        QFETCH(bool, locked);
        QLockFile other(lockPath());
        QVERIFY(locked ? writeBytes(ini_, "[s]\nt=old\n") && other.tryLock(0)
                       : QDir(dir_.path()).mkdir(QFileInfo(ini_).fileName()));
        auto s = store();
        s->setLockTimes(300, 60000);
        QElapsedTimer timer;
        timer.start();
        s->SaveSetting(kApp, "s", "t", "new");
        s->DeleteSetting(kApp, "s");
        QVERIFY2(timer.elapsed() < 5000, QByteArray::number(timer.elapsed()));
        const QString file = QDir::toNativeSeparators(ini_);
        QCOMPARE(notices_,
                 QStringList(2, locked ? "Tintwave could not change its settings: another "
                                         "running copy kept \"" +
                                             file + "\" locked. Nothing was changed."
                                       : "Tintwave could not save its settings to \"" + file +
                                             "\": the file or its folder "
                                             "cannot be written."));
        QCOMPARE(toldUnderLock_, locked ? 2 : 0); // not while this copy holds the lock
        QCOMPARE(s->GetSetting(kApp, "s", "t"), locked ? "old" : QString());
        QVERIFY(locked ? readBytes(ini_) == "[s]\nt=old\n" : QFileInfo(ini_).isDir());
        QCOMPARE(bool(s->lockExclusive(kApp)), !locked);
    }

    // Another running copy replaces the file: a sync shows it, and so does the lock even
    // when the file kept its size and time (a coarse clock, or a time QSettings noted after
    // the change). Each write leaves a newer file, so other copies see every one.
    void anotherCopysChange_isSeenAndKept() {
        auto s = store();
        s->SaveSetting(kApp, "scheme1", "title", "mine");
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
            auto access = s->lockExclusive(kApp);
            QCOMPARE(s->GetSetting(kApp, "scheme1", "title"), QStringLiteral("them"));
            s->SaveSetting(kApp, "scheme2", "title", "new");
        }
        QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=them\n\n[scheme2]\ntitle=new\n"));
        replace("[scheme3]\ntitle=theirs\n");
        s->sync();
        QCOMPARE(s->GetSetting(kApp, "scheme3", "title"), QStringLiteral("theirs"));
        for (int i = 0; i < 10; ++i) {
            const QDateTime before = QFileInfo(ini_).lastModified();
            s->SaveSetting(kApp, "scheme3", "title", QString::number(i % 10));
            QVERIFY(QFileInfo(ini_).lastModified() > before);
        }
    }

    // A lock whose holder hangs is taken over after the stale time; writes made while
    // holding it reach the file together, once it is released.
    void abandonedLock_isTakenOverAndHoldsWritesBackUntilReleased() {
        QVERIFY(writeBytes(lockPath(), QByteArray::number(QCoreApplication::applicationPid()) +
                                           "\n" + QCoreApplication::applicationName().toUtf8() +
                                           "\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        QFile f(lockPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                              QFileDevice::FileModificationTime));
        auto s = store();
        s->setLockTimes(2000, 10000);
        auto access = s->lockExclusive(kApp);
        QVERIFY(access);
        s->SaveSetting(kApp, "scheme1", "title", "x");
        s->SaveSetting(kApp, "scheme2", "title", "y");
        s->DeleteSetting(kApp, "scheme2");
        QVERIFY(!QFile::exists(ini_));
        access.reset();
        QVERIFY(!QFile::exists(lockPath()));
        QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=x\n"));
        QCOMPARE(notices_, QStringList());
    }
};

QTEST_GUILESS_MAIN(QSettingsStoreTest)
#include "tst_qsettingsstore.moc"
