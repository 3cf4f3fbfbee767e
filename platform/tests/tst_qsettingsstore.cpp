#include "platform/qt/QSettingsStore.h"
#include "platform/tests/FileBytes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::QSettingsStore;

namespace {

const QString kApp = QStringLiteral("tintwave");

} // namespace

class QSettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int reopenCount_ = 0;

    QString iniPath() const { return dir_.filePath(QStringLiteral("tintwave.ini")); }
    QStringList backups() const {
        return QDir(dir_.path()).entryList({QStringLiteral("tintwave.ini.corrupt-*")}, QDir::Files);
    }

    // What a restarted program reads. QSettings caches the files it has read for the whole
    // process, so the file is read through a copy under a new name.
    std::unique_ptr<QSettingsStore> reopened() {
        const QString copy = dir_.filePath(QStringLiteral("reopened-%1.ini").arg(++reopenCount_));
        return QFile::copy(iniPath(), copy) ? std::make_unique<QSettingsStore>(copy) : nullptr;
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(name));
    }

    void value_roundTripsThroughTheFile_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks around") << "  Sunset  ";
        QTest::newRow("commas") << "Red, Green,Blue";
        QTest::newRow("INI syntax") << "\"quoted\" 'a=b' ;not # comments";
        QTest::newRow("backslashes") << "C:\\temp\\\\x\\";
        QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße € 日本 🎨");
        QTest::newRow("newlines") << "line one\nline two\r\nthree";
        QTest::newRow("at sign first") << "@Variant(x)";
    }
    void value_roundTripsThroughTheFile() {
        QFETCH(QString, value);
        QSettingsStore(iniPath()).SaveSetting(kApp, "scheme1", "title", value);
        const auto second = reopened();
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, "scheme1", "title"), value);
    }

    // "general" holds the count at the file's root; no other name may land there too.
    void names_roundTripWithoutColliding_data() {
        QTest::addColumn<QStringList>("name"); // section, key
        QTest::newRow("general") << QStringList{"general", "numSchemes"};
        QTest::newRow("General") << QStringList{"General", "numSchemes"};
        QTest::newRow("GENERAL") << QStringList{"GENERAL", "numSchemes"};
        QTest::newRow("slash") << QStringList{"a/b", "c/d"};
        QTest::newRow("backslash") << QStringList{"a\\b", "c\\d"};
        QTest::newRow("percent") << QStringList{"%2F", "%"};
        QTest::newRow("blanks and non-ASCII") << QStringList{" sé ction ", " kéy "};
        QTest::newRow("empty names") << QStringList{"", ""};
    }
    void names_roundTripWithoutColliding() {
        QFETCH(QStringList, name);
        const QString &section = name[0], &key = name[1];
        {
            QSettingsStore store(iniPath());
            store.SaveSetting(kApp, "general", "numSchemes", "root");
            store.SaveSetting(kApp, "a", "b", "nested");
            store.SaveSetting(kApp, section, key, "the value");
        }
        const auto second = reopened();
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, section, key), QStringLiteral("the value"));
        if (section != "general")
            QCOMPARE(second->GetSetting(kApp, "general", "numSchemes"), QStringLiteral("root"));
        QCOMPARE(second->GetSetting(kApp, "a", "b"), QStringLiteral("nested"));
    }

    void handEditedFile_readsAndIsWrittenWithoutCopy() {
        QVERIFY(writeBytes(iniPath(), "[general]\nnumSchemes=2\n\n[scheme1]\ntitle=a, b\n"));
        QSettingsStore store(iniPath());
        QCOMPARE(store.GetSetting(kApp, "general", "numSchemes"), QStringLiteral("2"));
        // An unquoted comma makes QSettings read a list.
        QCOMPARE(store.GetSetting(kApp, "scheme1", "title"), QStringLiteral("a, b"));
        QCOMPARE(store.GetSetting(kApp, "scheme9", "title"), QString());
        store.SaveSetting(kApp, "scheme1", "box1", "0");
        QVERIFY(backups().isEmpty());
        QCOMPARE(store.takeNotice(), QString());
    }

    void deleteSetting_removesOneWholeSection() {
        {
            QSettingsStore store(iniPath());
            store.SaveSetting(kApp, "general", "numSchemes", "2");
            for (const char* section : {"scheme1", "scheme2"}) {
                store.SaveSetting(kApp, section, "title", section);
                store.SaveSetting(kApp, section, "box0", "255");
            }
            store.DeleteSetting(kApp, "scheme1");
        }
        auto second = reopened();
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, "scheme1", "box0"), QString());
        QCOMPARE(second->GetSetting(kApp, "scheme2", "title"), QStringLiteral("scheme2"));
        // The root section goes on its own; the sections stored beside it stay.
        second->DeleteSetting(kApp, "general");
        QCOMPARE(second->GetSetting(kApp, "general", "numSchemes"), QString());
        QCOMPARE(second->GetSetting(kApp, "scheme2", "box0"), QStringLiteral("255"));
    }

    void sync_showsWhatAnotherCopyWrote() {
        QSettingsStore store(iniPath());
        store.SaveSetting(kApp, "scheme1", "title", "mine");
        // Another running copy replaces the file as QSettings does.
        QVERIFY(writeBytes(iniPath() + ".new", "[scheme1]\ntitle=theirs\n[scheme2]\ntitle=new\n"));
        QFile::remove(iniPath());
        QVERIFY(QFile::rename(iniPath() + ".new", iniPath()));

        store.sync();
        QCOMPARE(store.GetSetting(kApp, "scheme2", "title"), QStringLiteral("new"));
        store.SaveSetting(kApp, "scheme3", "title", "after");
        const auto second = reopened();
        QCOMPARE(second->GetSetting(kApp, "scheme2", "title"), QStringLiteral("new"));
        QCOMPARE(second->GetSetting(kApp, "scheme3", "title"), QStringLiteral("after"));
        QCOMPARE(store.takeNotice(), QString());
    }

    // Other copies tell a change by the file's size and modification time, to the
    // millisecond; quick writes of equal size must still each leave a newer file.
    void quickWritesOfEqualSize_eachLeaveANewerFile() {
        QSettingsStore store(iniPath());
        QDateTime last;
        for (int i = 0; i < 20; ++i) {
            store.SaveSetting(kApp, "scheme1", "title", QString::number(i % 10));
            const QDateTime modified = QFileInfo(iniPath()).lastModified();
            QVERIFY2(!last.isValid() || modified > last,
                     qPrintable(QStringLiteral("write %1: %2 after %3")
                                    .arg(i)
                                    .arg(modified.toString(Qt::ISODateWithMs),
                                         last.toString(Qt::ISODateWithMs))));
            last = modified;
        }
        QCOMPARE(reopened()->GetSetting(kApp, "scheme1", "title"), QStringLiteral("9"));
    }

    void defaultLocation_isConfigFolderPerApplication() {
#ifdef Q_OS_WIN
        QSKIP("Settings live in the registry on Windows.");
#endif
        QStandardPaths::setTestModeEnabled(true);
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/tintwave/tintwave.ini";
        QFile::remove(expected);
        {
            QSettingsStore store;
            QCOMPARE(store.fileName(kApp), expected);
            store.SaveSetting(kApp, "general", "numSchemes", "1");
        }
        QVERIFY(readBytes(expected).contains("numSchemes=1"));
        QFile::remove(expected);
        QStandardPaths::setTestModeEnabled(false);
    }

    // Contents Qt 6.4 reads only in part (a format error, invalid UTF-8), or writes back as
    // something else: the next write would drop the rest, so they are copied aside first.
    void unreadableFile_isCopiedAsideBeforeTheFirstWrite_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("readable"); // scheme1's title, read before any write
        QTest::newRow("unclosed section header")
            << QByteArray("[scheme1\ntitle=x\n[scheme2]\ntitle=y\n") << "x";
        QTest::newRow("Latin-1 text") << QByteArray("[scheme1]\ntitle=Gr\xfc\xdf"
                                                    "e\n")
                                      << QString::fromUtf8("Gr\uFFFD\uFFFDe");
        QTest::newRow("NUL in a list value") << QByteArray("[scheme1]\ntitle=a\0b, c\n", 22)
                                             << QStringLiteral("a%1b, c").arg(QChar(0));
    }
    void unreadableFile_isCopiedAsideBeforeTheFirstWrite() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, readable);
        QVERIFY(writeBytes(iniPath(), contents));
        QSettingsStore store(iniPath());
        QCOMPARE(store.GetSetting(kApp, "scheme1", "title"), readable);
        QVERIFY(backups().isEmpty());
        QCOMPARE(store.takeNotice(), QString());

        store.SaveSetting(kApp, "scheme5", "title", "new");
        const QStringList kept = backups();
        QCOMPARE(kept.size(), 1);
        const QString backup = dir_.filePath(kept.first());
        QCOMPARE(readBytes(backup), contents);
        const QString notice = store.takeNotice();
        QVERIFY2(notice.contains(QDir::toNativeSeparators(iniPath()) + '"'), qPrintable(notice));
        QVERIFY2(notice.contains(QDir::toNativeSeparators(backup)), qPrintable(notice));
        // The copy is made once; later writes go on normally.
        store.SaveSetting(kApp, "scheme5", "box0", "255");
        QCOMPARE(backups(), kept);
        QCOMPARE(store.takeNotice(), QString());
        // What could be read survives the rewrite.
        const auto second = reopened();
        QCOMPARE(second->GetSetting(kApp, "scheme5", "title"), QStringLiteral("new"));
        QCOMPARE(second->GetSetting(kApp, "scheme1", "title"), readable);
    }

    void unreadableFile_existingCopyIsNeverOverwritten() {
        const QByteArray contents = "[scheme1\ntitle=x\n";
        QVERIFY(writeBytes(iniPath(), contents));
        // Occupy the names of this second and the next, in case the clock ticks over.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime& t : {now, now.addSecs(1)})
            QVERIFY(writeBytes(iniPath() + ".corrupt-" + t.toString("yyyyMMdd-HHmmss"), "older"));
        QSettingsStore store(iniPath());
        store.DeleteSetting(kApp, "scheme2");
        QStringList fresh;
        for (const QString& name : backups())
            if (readBytes(dir_.filePath(name)) != "older")
                fresh << name;
        QCOMPARE(backups().size(), 3);
        QCOMPARE(fresh.size(), 1);
        QCOMPARE(readBytes(dir_.filePath(fresh.first())), contents);
        QVERIFY2(fresh.first().endsWith("-2"), qPrintable(fresh.first()));
    }

    void failedWrite_givesNoticeEveryTime_data() {
        QTest::addColumn<bool>("folderInPlace"); // else a read-only file
        QTest::newRow("folder in the file's place") << true;
        QTest::newRow("read-only file") << false;
    }
    void failedWrite_givesNoticeEveryTime() {
        QFETCH(bool, folderInPlace);
        const QByteArray before = "[scheme1]\ntitle=old\n";
        if (folderInPlace) {
            QVERIFY(QDir(dir_.path()).mkdir("tintwave.ini"));
        } else {
            QVERIFY(writeBytes(iniPath(), before));
            QFile::setPermissions(iniPath(), QFile::ReadOwner);
            if (QFile(iniPath()).open(QIODevice::Append))
                QSKIP("This process may write read-only files (it runs as root).");
        }
        QSettingsStore store(iniPath());
        for (int attempt = 0; attempt < 2; ++attempt) {
            store.SaveSetting(kApp, "scheme1", "title", "new");
            const QString notice = store.takeNotice();
            QVERIFY2(notice.contains(QDir::toNativeSeparators(iniPath())), qPrintable(notice));
            QVERIFY2(notice.contains("cannot be written"), qPrintable(notice));
        }
        if (folderInPlace) {
            QVERIFY(QFileInfo(iniPath()).isDir());
            QVERIFY(QDir(dir_.path()).rmdir("tintwave.ini"));
        } else {
            QCOMPARE(readBytes(iniPath()), before);
            QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
        }
        QVERIFY(backups().isEmpty());
    }
};

QTEST_GUILESS_MAIN(QSettingsStoreTest)
#include "tst_qsettingsstore.moc"
