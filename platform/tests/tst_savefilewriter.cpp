#include "platform/qt/SaveFileWriter.h"
#include "platform/tests/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::SaveFileWriter;

class SaveFileWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void writeFile_createsThenReplacesFile() {
        const QString path = dir_.filePath("page.html");
        SaveFileWriter writer;
        QCOMPARE(writer.writeFile(path, "<HTML>\r\nfirst\r\n"), std::nullopt);
        QCOMPARE(readBytes(path), QByteArray("<HTML>\r\nfirst\r\n"));
        QCOMPARE(writer.writeFile(path, "2"), std::nullopt);
        QCOMPARE(readBytes(path), QByteArray("2"));
        QCOMPARE(writer.writeFile(path, QByteArray()), std::nullopt);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    void writeFile_whereNoFileCanBe_failsAndCreatesNothing() {
        QVERIFY(QDir(dir_.path()).mkdir("taken"));
        for (const char* name : {"missing/page.html", "taken"}) {
            const auto error = SaveFileWriter().writeFile(dir_.filePath(name), "x");
            QVERIFY2(error && !error->isEmpty(), name);
        }
        QVERIFY(!QFileInfo::exists(dir_.filePath("missing")));
        QVERIFY(QFileInfo(dir_.filePath("taken")).isDir());
    }

    // Replacing goes through a new file, so a failed save leaves the old one whole.
    void writeFile_inReadOnlyFolder_leavesOldFileAsItWas() {
        QTemporaryDir folder;
        const QString path = folder.filePath("page.html");
        const QByteArray old = "old contents\r\n";
        QVERIFY(writeBytes(path, old));
        const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFile probe(folder.filePath("probe")); probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder.path(), writable);
            QSKIP("This process may write into read-only folders (it runs as root).");
        }
        const auto error = SaveFileWriter().writeFile(path, "new contents that must not land");
        QFile::setPermissions(folder.path(), writable);
        QVERIFY(error && !error->isEmpty());
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"page.html"});
    }
};

QTEST_GUILESS_MAIN(SaveFileWriterTest)
#include "tst_savefilewriter.moc"
