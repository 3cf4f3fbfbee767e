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
    // Each write replaces the whole file, an empty one included; where a folder stands in
    // the file's place the write fails with a reason and leaves the folder. (A disk that
    // fills up half-way is tried in output/tests/tst_savesafety.)
    void writeFile_replacesTheWholeFileOrFailsWithAReason() {
        const QString path = dir_.filePath("page.html");
        SaveFileWriter writer;
        for (const QByteArray bytes : {"<HTML>\r\nfirst\r\n", "2", ""}) {
            QCOMPARE(writer.writeFile(path, bytes), std::nullopt);
            QCOMPARE(readBytes(path), bytes);
        }
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(QDir(dir_.path()).mkdir("taken"));
        const auto error = writer.writeFile(dir_.filePath("taken"), "x");
        QVERIFY(error && !error->isEmpty());
        QVERIFY(QFileInfo(dir_.filePath("taken")).isDir());
    }
};

QTEST_GUILESS_MAIN(SaveFileWriterTest)
#include "tst_savefilewriter.moc"
