// Exclusive access to the QSettings-backed store across running copies: held through a
// lock file beside the settings, given up in bounded time, taken over from a copy that
// died or hung, and holding back writes until it is released.
#include "platform/qt/QSettingsStore.h"
#include "platform/tests/FileBytes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::QSettingsStore;

namespace {

const QString kApp = QStringLiteral("tintwave");

// The id of a process that has ended.
qint64 deadPid() {
    QProcess p;
    p.start(QStringLiteral("true"), {});
    p.waitForFinished();
    return p.processId() ? p.processId() : 999999;
}

} // namespace

class SettingsLockTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int fileCount_ = 0;
    QString ini_;

private Q_SLOTS:
    void init() {
        // A new file name per test: QSettings caches files by name for the whole process.
        ini_ = dir_.filePath(QStringLiteral("tintwave-%1.ini").arg(++fileCount_));
    }

    void heldByAnotherCopy_givesUpInTimeWithNoticeAndWritesNothing() {
        QVERIFY(writeBytes(ini_, "[scheme1]\ntitle=old\n"));
        QLockFile other(ini_ + QStringLiteral(".tintwave-lock"));
        QVERIFY(other.tryLock(0));

        QSettingsStore store(ini_);
        store.setLockTimes(300, 60000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!store.lockExclusive(kApp));
        QVERIFY2(timer.elapsed() < 5000, QByteArray::number(timer.elapsed()));
        const QString notice = store.takeNotice();
        QVERIFY2(notice.contains(QStringLiteral("another running copy")), qPrintable(notice));
        QVERIFY2(notice.contains(QStringLiteral("Nothing was changed")), qPrintable(notice));
        // A single write waits for the lock as well.
        store.SaveSetting(kApp, QStringLiteral("scheme1"), QStringLiteral("title"), "new");
        QVERIFY(store.takeNotice().contains(QStringLiteral("another running copy")));
        QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=old\n"));

        other.unlock();
        QVERIFY(store.lockExclusive(kApp));
    }

    // Another copy's write that leaves the file's size and time as they were (a coarse
    // clock, or a time QSettings noted after the change) is still seen under the lock, and
    // the next write keeps it.
    void exclusiveAccess_seesAChangeThatKeptSizeAndTime() {
        QSettingsStore store(ini_);
        store.SaveSetting(kApp, QStringLiteral("scheme1"), QStringLiteral("title"), "mine");
        const QByteArray before = readBytes(ini_);
        const QDateTime time = QFileInfo(ini_).lastModified();
        QByteArray theirs = before;
        theirs.replace("mine", "them");
        QVERIFY(writeBytes(ini_ + ".new", theirs));
        QVERIFY(QFile::remove(ini_) && QFile::rename(ini_ + ".new", ini_));
        {
            QFile f(ini_);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
        }

        {
            auto access = store.lockExclusive(kApp);
            QVERIFY(access);
            QCOMPARE(store.GetSetting(kApp, QStringLiteral("scheme1"), QStringLiteral("title")),
                     QStringLiteral("them"));
            store.SaveSetting(kApp, QStringLiteral("scheme2"), QStringLiteral("title"), "new");
        }
        QCOMPARE(readBytes(ini_), theirs + "\n[scheme2]\ntitle=new\n");
    }

    void abandonedLock_isTakenOver_data() {
        QTest::addColumn<bool>("holderAlive");
        QTest::newRow("holder died") << false;
        QTest::newRow("holder hung past the stale time") << true;
    }
    void abandonedLock_isTakenOver() {
        QFETCH(bool, holderAlive);
        const QString lockPath = ini_ + QStringLiteral(".tintwave-lock");
        {
            QFile f(lockPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const qint64 pid = holderAlive ? QCoreApplication::applicationPid() : deadPid();
            f.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() +
                    '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
            QVERIFY(f.flush()); // before dating it back, or the flush on closing redates it
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
        }
        QSettingsStore store(ini_);
        store.setLockTimes(2000, 10000);
        auto access = store.lockExclusive(kApp);
        QVERIFY(access);
        QCOMPARE(store.takeNotice(), QString());
        // Writes made while holding it reach the file together, once released.
        store.SaveSetting(kApp, QStringLiteral("scheme1"), QStringLiteral("title"), "x");
        store.SaveSetting(kApp, QStringLiteral("scheme2"), QStringLiteral("title"), "y");
        store.DeleteSetting(kApp, QStringLiteral("scheme2"));
        QVERIFY(!QFile::exists(ini_));
        QCOMPARE(store.GetSetting(kApp, QStringLiteral("scheme1"), QStringLiteral("title")), "x");
        access.reset();
        QVERIFY(!QFile::exists(lockPath));
        QCOMPARE(readBytes(ini_), QByteArray("[scheme1]\ntitle=x\n"));
        QCOMPARE(store.takeNotice(), QString());
    }
};

QTEST_GUILESS_MAIN(SettingsLockTest)
#include "tst_settingslock.moc"
