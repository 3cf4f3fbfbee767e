// Saving over an existing file when the disk fills up half-way: the old file must stay
// byte for byte as it was and no partial file may be left. A full disk is stood in for by
// a file size limit (RLIMIT_FSIZE) on a child process that ignores SIGXFSZ, so its writes
// past the limit fail with EFBIG as they would with ENOSPC.
#include "output/Page.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/SaveFileWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace tintwave;

namespace {

const QByteArray kOld = "<html>the page saved before</html>\r\n";

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Outcome {
    int exitCode = -1;
    QString error;
};

// Runs limited_save with files limited to limit bytes.
Outcome saveLimited(const QString& mode, const QString& path, int size, rlim_t limit) {
    QProcess p;
    p.setChildProcessModifier([limit] {
        std::signal(SIGXFSZ, SIG_IGN); // stays ignored across exec
        const rlimit l{limit, limit};
        setrlimit(RLIMIT_FSIZE, &l);
    });
    p.start(QStringLiteral(TINTWAVE_LIMITED_SAVE), {mode, path, QString::number(size)});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).trimmed()};
}

} // namespace

class SaveSafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveOverExisting_diskFullHalfWay_oldFileUntouched_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("fits");
        QTest::newRow("writer, full after 4 KB") << "raw" << 65536 << 4096 << false;
        QTest::newRow("writer, full at once") << "raw" << 100 << 0 << false;
        // Smaller than QSaveFile's write buffer: the failure shows only when flushing.
        QTest::newRow("writer, small file, full after 100 bytes") << "raw" << 1000 << 100 << false;
        QTest::newRow("page, small page, full after 100 bytes") << "page" << 1000 << 100 << false;
        QTest::newRow("page, full after 4 KB") << "page" << 65536 << 4096 << false;
        QTest::newRow("page, full after 40 KB") << "page" << 100000 << 40960 << false;
        // The limit itself lets a save through that fits under it.
        QTest::newRow("writer, room enough") << "raw" << 1000 << 4096 << true;
    }
    void saveOverExisting_diskFullHalfWay_oldFileUntouched() {
        QFETCH(QString, mode);
        QFETCH(int, size);
        QFETCH(int, limit);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(kOld), kOld.size());
        f.close();

        const Outcome outcome = saveLimited(mode, path, size, rlim_t(limit));
        QCOMPARE(outcome.exitCode, fits ? 1 : 0);
        QCOMPARE(readBytes(path), fits ? QByteArray(size, 'n') : kOld);
        if (!fits)
            QVERIFY2(!outcome.error.isEmpty(), "the failure must be named");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.html"});
    }

    void savePage_intoMissingFolder_givesErrorAndNoFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/page.html"));
        platform::SaveFileWriter writer;
        const platform::WriteError error = output::savePage(
            writer, path, QStringLiteral("<b>x</b>"), kWhite, platform::FixedSystemColors());
        QVERIFY(error);
        QVERIFY(!error->isEmpty());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QDir(dir.filePath(QStringLiteral("missing"))).exists());
    }
};

QTEST_GUILESS_MAIN(SaveSafetyTest)
#include "tst_savesafety.moc"
