#include "platform/qt/QSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
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

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Whether this process may write where permissions say it may not (it runs as root).
bool ignoresPermissions(const QString& readOnlyPath) {
    QFile f(readOnlyPath);
    return f.open(QIODevice::Append);
}

QStringList backupsIn(const QTemporaryDir& dir) {
    return QDir(dir.path())
        .entryList({QStringLiteral("tintwave.ini.corrupt-*")}, QDir::Files, QDir::Name);
}

} // namespace

class QSettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int reopenCount_ = 0;

    QString iniPath() const { return dir_.filePath(QStringLiteral("tintwave.ini")); }

    // QSettings caches the files it has read for the whole process, so a second store on
    // the same file could answer from memory. A copy under a new name is read from disk.
    std::unique_ptr<QSettingsStore> reopened(const QString& path) {
        const QString copy = dir_.filePath(QStringLiteral("reopened-%1.ini").arg(++reopenCount_));
        if (!QFile::copy(path, copy))
            return nullptr;
        return std::make_unique<QSettingsStore>(copy);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(name));
    }

    void value_roundTripsThroughTheFile_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("leading and trailing blanks") << "  Sunset  ";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("commas") << "Red, Green,Blue";
        QTest::newRow("quotes") << "\"quoted\" and 'single'";
        QTest::newRow("equals") << "a=b=c";
        QTest::newRow("semicolon") << ";not a comment";
        QTest::newRow("hash") << "# not a comment";
        QTest::newRow("backslashes") << "C:\\temp\\\\x\\";
        QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße € 日本 🎨");
        QTest::newRow("newlines") << "line one\nline two\r\nthree";
        QTest::newRow("at sign first") << "@Variant(x)";
        QTest::newRow("section header") << "[general]";
        QTest::newRow("empty slot value") << "-2147483633";
        QTest::newRow("empty") << "";
        QTest::newRow("10,000 characters") << QString(10000, u'ä');
    }
    void value_roundTripsThroughTheFile() {
        QFETCH(QString, value);
        QSettingsStore(iniPath()).SaveSetting(kApp, "scheme1", "title", value);
        const auto second = reopened(iniPath());
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, "scheme1", "title"), value);
    }

    void names_roundTripWithoutColliding_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("general") << "general"
                                 << "numSchemes";
        QTest::newRow("General") << "General"
                                 << "numSchemes";
        QTest::newRow("GENERAL") << "GENERAL"
                                 << "numSchemes";
        QTest::newRow("scheme") << "scheme12"
                                << "box9";
        QTest::newRow("slash") << "a/b"
                               << "c/d";
        QTest::newRow("backslash") << "a\\b"
                                   << "c\\d";
        QTest::newRow("percent") << "%2F"
                                 << "%";
        QTest::newRow("blanks and non-ASCII") << " sé ction "
                                              << " kéy ";
        QTest::newRow("empty names") << ""
                                     << "";
    }
    void names_roundTripWithoutColliding() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        {
            QSettingsStore store(iniPath());
            store.SaveSetting(kApp, "general", "numSchemes", "root");
            store.SaveSetting(kApp, "a", "b", "nested");
            store.SaveSetting(kApp, section, key, "the value");
        }
        const auto second = reopened(iniPath());
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, section, key), QStringLiteral("the value"));
        if (section != "general")
            QCOMPARE(second->GetSetting(kApp, "general", "numSchemes"), QStringLiteral("root"));
        QCOMPARE(second->GetSetting(kApp, "a", "b"), QStringLiteral("nested"));
    }

    void generalSection_readsHandEditedFile() {
        writeBytes(iniPath(), "[general]\nnumSchemes=2\n\n[scheme1]\ntitle=a, b\nbox0=255\n");
        QSettingsStore store(iniPath());
        QCOMPARE(store.GetSetting(kApp, "general", "numSchemes"), QStringLiteral("2"));
        QCOMPARE(store.GetSetting(kApp, "scheme1", "box0"), QStringLiteral("255"));
        // An unquoted comma makes QSettings read a list.
        QCOMPARE(store.GetSetting(kApp, "scheme1", "title"), QStringLiteral("a, b"));
        QCOMPARE(store.GetSetting(kApp, "scheme1", "missing"), QString());
        QCOMPARE(store.GetSetting(kApp, "scheme9", "title"), QString());
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
        auto second = reopened(iniPath());
        QVERIFY(second);
        QCOMPARE(second->GetSetting(kApp, "scheme1", "title"), QString());
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
        writeBytes(iniPath() + ".new", "[scheme1]\ntitle=theirs, longer\n[scheme2]\ntitle=new\n");
        QFile::remove(iniPath());
        QVERIFY(QFile::rename(iniPath() + ".new", iniPath()));

        store.sync();
        QCOMPARE(store.GetSetting(kApp, "scheme2", "title"), QStringLiteral("new"));
        store.SaveSetting(kApp, "scheme3", "title", "after");
        const auto second = reopened(iniPath());
        QCOMPARE(second->GetSetting(kApp, "scheme2", "title"), QStringLiteral("new"));
        QCOMPARE(second->GetSetting(kApp, "scheme3", "title"), QStringLiteral("after"));
        QCOMPARE(store.takeNotice(), QString());
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

    // Contents Qt 6.4 reads only in part: the next write would drop the rest.
    void unreadableFile_isCopiedAsideBeforeTheFirstWrite_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("readable"); // scheme1's title, read before any write
        QTest::newRow("unclosed section header")
            << QByteArray("[scheme1\ntitle=x\n[scheme2]\ntitle=y\n") << "x";
        QTest::newRow("line without equals sign")
            << QByteArray("[scheme1]\ntitle=kept\nbox0 255\n") << "kept";
        QTest::newRow("hash comment line")
            << QByteArray("[scheme1]\n# mine\ntitle=kept\n") << "kept";
        QTest::newRow("Latin-1 text") << QByteArray("[scheme1]\ntitle=Gr\xfc\xdf"
                                                    "e\n")
                                      << QString::fromUtf8("Gr\uFFFD\uFFFDe");
        // Read in full, but written back in a form that reads as something else.
        QTest::newRow("NUL in a list value") << QByteArray("[scheme1]\ntitle=a\0b, c\n", 22)
                                             << QStringLiteral("a%1b, c").arg(QChar(0));
        QByteArray noise(4096, '\0');
        QRandomGenerator noiseSource(42);
        for (char& c : noise)
            c = char(noiseSource.bounded(256));
        QTest::newRow("random bytes") << noise << "";
    }
    void unreadableFile_isCopiedAsideBeforeTheFirstWrite() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, readable);
        writeBytes(iniPath(), contents);
        QSettingsStore store(iniPath());
        QCOMPARE(store.GetSetting(kApp, "scheme1", "title"), readable);
        QVERIFY(backupsIn(dir_).isEmpty());
        QCOMPARE(store.takeNotice(), QString());

        store.SaveSetting(kApp, "scheme5", "title", "new");
        const QStringList backups = backupsIn(dir_);
        QCOMPARE(backups.size(), 1);
        const QString backup = dir_.filePath(backups.first());
        QCOMPARE(readBytes(backup), contents);
        const QString notice = store.takeNotice();
        QVERIFY2(notice.contains(QDir::toNativeSeparators(iniPath()) + '"'), qPrintable(notice));
        QVERIFY2(notice.contains(QDir::toNativeSeparators(backup)), qPrintable(notice));
        QCOMPARE(store.takeNotice(), QString());

        // The copy is made once; later writes go on normally.
        store.SaveSetting(kApp, "scheme5", "box0", "255");
        QCOMPARE(backupsIn(dir_).size(), 1);
        QCOMPARE(store.takeNotice(), QString());
        const auto second = reopened(iniPath());
        QCOMPARE(second->GetSetting(kApp, "scheme5", "title"), QStringLiteral("new"));
    }

    void unreadableFile_existingCopyIsNeverOverwritten() {
        const QByteArray contents = "[scheme1\ntitle=x\n";
        writeBytes(iniPath(), contents);
        // Occupy the names of this second and the next, in case the clock ticks over.
        const QDateTime now = QDateTime::currentDateTime();
        QStringList occupied;
        for (const QDateTime& t : {now, now.addSecs(1)}) {
            occupied << iniPath() + ".corrupt-" + t.toString("yyyyMMdd-HHmmss");
            writeBytes(occupied.last(), "older copy");
        }
        QSettingsStore store(iniPath());
        store.DeleteSetting(kApp, "scheme2");
        for (const QString& name : occupied)
            QCOMPARE(readBytes(name), QByteArray("older copy"));
        const QStringList backups = backupsIn(dir_);
        QCOMPARE(backups.size(), 3);
        const auto fresh = std::find_if(backups.begin(), backups.end(), [&](const QString& b) {
            return readBytes(dir_.filePath(b)) == contents;
        });
        QVERIFY(fresh != backups.end());
        QVERIFY2(fresh->endsWith("-2"), qPrintable(*fresh));
    }

    void readableFile_isNotCopied() {
        writeBytes(iniPath(), "[General]\nnumSchemes=1\n\n[scheme1]\ntitle=\"a, b\"\nbox0=255\n");
        QSettingsStore store(iniPath());
        store.SaveSetting(kApp, "scheme1", "box1", "0");
        QVERIFY(backupsIn(dir_).isEmpty());
        QCOMPARE(store.takeNotice(), QString());
    }

    void failedWrite_givesNotice_data() {
        QTest::addColumn<bool>("folderInPlace"); // else a read-only file
        QTest::newRow("folder in the file's place") << true;
        QTest::newRow("read-only file") << false;
    }
    void failedWrite_givesNotice() {
        QFETCH(bool, folderInPlace);
        const QByteArray before = "[scheme1]\ntitle=old\n";
        if (folderInPlace) {
            QVERIFY(QDir(dir_.path()).mkdir("tintwave.ini"));
        } else {
            writeBytes(iniPath(), before);
            QFile::setPermissions(iniPath(), QFile::ReadOwner);
            if (ignoresPermissions(iniPath()))
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
            QCOMPARE(store.GetSetting(kApp, "scheme2", "title"), QString());
            QVERIFY(QDir(dir_.path()).rmdir("tintwave.ini"));
        } else {
            QCOMPARE(readBytes(iniPath()), before);
            QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
        }
        QVERIFY(backupsIn(dir_).isEmpty());
    }
};

QTEST_GUILESS_MAIN(QSettingsStoreTest)
#include "tst_qsettingsstore.moc"
