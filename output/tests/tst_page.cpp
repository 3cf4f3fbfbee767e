// The saved page, its bytes, its save when the disk fills up, and the clipboard copy.
#include "output/Page.h"
#include "output/SaveFolder.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/SaveFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace tintwave;

namespace {

const QByteArray kHead("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n");
const QByteArray kTail("\r\n</body>\r\n</html>\r\n");
const QByteArray kOld("<html>the page saved before</html>\r\n");

} // namespace

class PageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Eight CR LF lines; the emoji grow into references longer than the code, which the
    // tail must survive. A system colour is written as the colour it shows.
    void buildPage_writesEightCrLfLinesWithTheBackgroundDigits() {
        const QString code = QStringLiteral("<font color=\"#FF0000\">H</font>") +
                             QString::fromUtf8("😀").repeated(40);
        platform::FixedSystemColors colors;
        QCOMPARE(output::buildPage(code, 0x00 + 256 * 0x08 + 65536 * 0xFF, colors),
                 kHead + "<body bgcolor=\"0008FF\">\r\n<font color=\"#FF0000\">H</font>" +
                     QByteArray("&#128512;").repeated(40) + kTail);
        colors.buttonFace = 0xAB + 256 * 0xCD + 65536 * 0x0E;
        QCOMPARE(output::buildPage(QStringLiteral("x"), kButtonFace, colors),
                 kHead + "<body bgcolor=\"ABCD0E\">\r\nx" + kTail);
    }

    void toWindows1252_mapsCodePageAndReferencesTheRest_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        // In code page order, 0x80 .. 0x9F without the five undefined bytes.
        QTest::newRow("all 27 high punctuation characters")
            << QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")
            << QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                          "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
        QTest::newRow("c1 control has no byte") << QStringLiteral("\u0081") << QByteArray("&#129;");
        QTest::newRow("lone halves of a pair")
            << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b") + QChar(0xDE00))
            << QByteArray("a&#65533;b&#65533;");
        QTest::newRow("high surrogate before a pair")
            << (QString(QChar(0xD83D)) + QString::fromUtf8("\xF0\x9F\x98\x80"))
            << QByteArray("&#65533;&#128512;");
        QTest::newRow("non-ascii at every offset of a long run")
            << QString::fromUtf8("abcdefg€hijk😀lmnopqr\u00e9stuvwxy\u03b1z")
            << QByteArray("abcdefg\x80hijk&#128512;lmnopqr\xE9stuvwxy&#945;z");
    }
    void toWindows1252_mapsCodePageAndReferencesTheRest() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(output::toWindows1252(text), bytes);
    }

    void savePage_writesThePageOrPassesTheFailureThrough() {
        const QString code = QStringLiteral("<b>\u00E9</b>");
        platform::MemoryFileWriter writer;
        QVERIFY(!output::savePage(writer, QStringLiteral("/tmp/index.html"), code, kWhite,
                                  platform::FixedSystemColors()));
        QCOMPARE(writer.files.value(QStringLiteral("/tmp/index.html")),
                 kHead + "<body bgcolor=\"FFFFFF\">\r\n<b>\xE9</b>" + kTail);
        writer.failWith = QStringLiteral("Permission denied");
        QCOMPARE(output::savePage(writer, QStringLiteral("/ro/index.html"), code, kWhite,
                                  platform::FixedSystemColors()),
                 platform::WriteError(QStringLiteral("Permission denied")));
        QCOMPARE(writer.files.size(), 1);
    }

    // Saving over an existing file when the disk fills up half-way must leave the old file
    // byte for byte and no partial file. A file size limit (RLIMIT_FSIZE) with SIGXFSZ
    // ignored stands in for the full disk: writes past it fail as they would with ENOSPC.
    void save_diskFullHalfWay_oldFileUntouched_data() {
        QTest::addColumn<bool>("page"); // savePage, or the writer with size bytes
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        QTest::newRow("writer, full at once") << false << 100 << 0;
        // Smaller than QSaveFile's write buffer: the failure shows only when flushing.
        QTest::newRow("writer, small file, full after 100 bytes") << false << 1000 << 100;
        QTest::newRow("page, small page, full after 100 bytes") << true << 1000 << 100;
        QTest::newRow("page, full after 40 KB") << true << 100000 << 40960;
        QTest::newRow("writer, room enough") << false << 1000 << 4096;
    }
    void save_diskFullHalfWay_oldFileUntouched() {
        QFETCH(bool, page);
        QFETCH(int, size);
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kOld) == kOld.size());
        file.close();
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const rlimit full{rlim_t(limit), unlimited.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        platform::SaveFileWriter writer;
        const platform::WriteError error =
            page ? output::savePage(writer, path, QString(size, u'n'), kWhite,
                                    platform::FixedSystemColors())
                 : writer.writeFile(path, QByteArray(size, 'n'));
        setrlimit(RLIMIT_FSIZE, &unlimited);
        const bool fits = size <= limit;
        QVERIFY(fits ? !error : error && !error->isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), fits ? QByteArray(size, 'n') : kOld);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.html"});
    }

    // A device is written into, never replaced, and its write errors are reported.
    void save_toFullDevice_givesErrorAndKeepsDevice() {
        const QString full = QStringLiteral("/dev/full");
        if (!QFileInfo::exists(full)) {
            QSKIP("no /dev/full");
        }
        QVERIFY(platform::SaveFileWriter().writeFile(full, "x").has_value());
        QVERIFY(!QFileInfo(full).isFile());
    }

    void save_intoMissingFolder_givesErrorAndNoFolder() {
        QTemporaryDir dir;
        platform::SaveFileWriter writer;
        const platform::WriteError error =
            output::savePage(writer, dir.filePath(QStringLiteral("missing/page.html")),
                             QStringLiteral("x"), kWhite, platform::FixedSystemColors());
        QVERIFY(error && !error->isEmpty());
        QVERIFY(!QDir(dir.filePath(QStringLiteral("missing"))).exists());
    }

    // Only a name without an extension gets one; what the code goes into stays as named.
    void withExtension_addsOneOnlyWhereTheNameHasNone_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("saved");
        QTest::newRow("none") << "/out/noext"
                              << "/out/noext.html";
        QTest::newRow("dot in the folder") << "/out.d/noext"
                                           << "/out.d/noext.html";
        QTest::newRow("final dot") << "noext."
                                   << "noext.html";
        QTest::newRow("another one") << "/out/page.txt"
                                     << "/out/page.txt";
        QTest::newRow("hidden name") << "/out/.page"
                                     << "/out/.page.html";
        QTest::newRow("device") << "/dev/null"
                                << "/dev/null";
    }
    void withExtension_addsOneOnlyWhereTheNameHasNone() {
        QFETCH(QString, path);
        QTEST(output::withExtension(path, ".html"), "saved");
    }

    void copyHtml_copiesOnlyFilledCodeUnchanged() {
        platform::MemoryClipboard clipboard;
        QVERIFY(!output::copyHtml(clipboard, QString()));
        QCOMPARE(clipboard.setCount, 0);
        const QString code = QStringLiteral("<b>edited\nby hand \u20AC</b>");
        QVERIFY(output::copyHtml(clipboard, code));
        QCOMPARE(clipboard.text, code);
    }
};

QTEST_GUILESS_MAIN(PageTest)
#include "tst_page.moc"
