#include "platform/qt/SaveFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using tintwave::platform::SaveFileWriter;

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SaveFileWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
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

    void writeFile_intoMissingFolder_failsWithoutFile() {
        const QString path = dir_.filePath("missing/page.html");
        const auto error = SaveFileWriter().writeFile(path, "x");
        QVERIFY(error.has_value());
        QVERIFY(!error->isEmpty());
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(dir_.filePath("missing")));
    }

    void writeFile_ontoFolder_failsAndLeavesIt() {
        QVERIFY(QDir(dir_.path()).mkdir("taken"));
        const auto error = SaveFileWriter().writeFile(dir_.filePath("taken"), "x");
        QVERIFY(error.has_value());
        QVERIFY(!error->isEmpty());
        QVERIFY(QFileInfo(dir_.filePath("taken")).isDir());
    }

    void writeFile_inReadOnlyFolder_leavesOldFileAsItWas() {
        QTemporaryDir folder;
        const QString path = folder.filePath("page.html");
        const QByteArray old = "old contents\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(folder.filePath("probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("This process may write into read-only folders (it runs as root).");
        }
        const auto error = SaveFileWriter().writeFile(path, "new contents that must not land");
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(error.has_value());
        QVERIFY(!error->isEmpty());
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"page.html"});
    }
};

QTEST_GUILESS_MAIN(SaveFileWriterTest)
#include "tst_savefilewriter.moc"
