#include "output/Page.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>

using namespace tintwave;

namespace {
const QByteArray kHead("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n");
const QByteArray kTail("\r\n</body>\r\n</html>\r\n");
} // namespace

class PageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buildPage_writesEightCrLfLinesAroundTheCode();
    void buildPage_bodyCarriesBackgroundAsSixUpperCaseDigits_data();
    void buildPage_bodyCarriesBackgroundAsSixUpperCaseDigits();
    void toWindows1252_mapsCodePageAndReferencesTheRest_data();
    void toWindows1252_mapsCodePageAndReferencesTheRest();
    void savePage_writesThePageOrPassesTheFailureThrough();
    void copyHtml_copiesOnlyFilledCodeUnchanged();
};

void PageTest::buildPage_writesEightCrLfLinesAroundTheCode() {
    // The emoji grow into references longer than the code: the tail must survive that.
    const QString code = QStringLiteral("<center><font color=\"#FF0000\">H</font></center>") +
                         QString::fromUtf8("😀").repeated(40);
    QCOMPARE(
        output::buildPage(code, 0x00 + 256 * 0x08 + 65536 * 0xFF, platform::FixedSystemColors()),
        QByteArray("<html>\r\n"
                   "<head>\r\n"
                   "<title>YOUR TITLE HERE</title>\r\n"
                   "</head>\r\n"
                   "<body bgcolor=\"0008FF\">\r\n"
                   "<center><font color=\"#FF0000\">H</font></center>") +
            QByteArray("&#128512;").repeated(40) + QByteArray("\r\n</body>\r\n</html>\r\n"));
}

void PageTest::buildPage_bodyCarriesBackgroundAsSixUpperCaseDigits_data() {
    QTest::addColumn<int>("background");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("mixed a-f") << int(0xAB + 256 * 0xCD + 65536 * 0x0E)
                               << QByteArray("<body bgcolor=\"ABCD0E\">\r\n");
    QTest::newRow("system window background")
        << int(kWindowBackground) << QByteArray("<body bgcolor=\"123456\">\r\n");
    QTest::newRow("system button face")
        << int(kButtonFace) << QByteArray("<body bgcolor=\"F0E0D0\">\r\n");
}

void PageTest::buildPage_bodyCarriesBackgroundAsSixUpperCaseDigits() {
    QFETCH(int, background);
    QFETCH(QByteArray, body);
    platform::FixedSystemColors colors;
    colors.windowBackground = 0x12 + 256 * 0x34 + 65536 * 0x56;
    colors.buttonFace = 0xF0 + 256 * 0xE0 + 65536 * 0xD0;
    QCOMPARE(output::buildPage(QStringLiteral("x"), background, colors),
             kHead + body + "x" + kTail);
}

void PageTest::toWindows1252_mapsCodePageAndReferencesTheRest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("latin-1 letters")
        << QStringLiteral("caf\u00E9 \u00FF\u00A0") << QByteArray("caf\xE9 \xFF\xA0");
    // In code page order, 0x80 .. 0x9F without the five undefined bytes.
    QTest::newRow("all 27 high punctuation characters")
        << QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")
        << QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                      "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    QTest::newRow("c1 control has no byte") << QStringLiteral("\u0081") << QByteArray("&#129;");
    QTest::newRow("lone high surrogate")
        << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b")) << QByteArray("a&#65533;b");
    QTest::newRow("lone low surrogate at end")
        << (QStringLiteral("a") + QChar(0xDE00)) << QByteArray("a&#65533;");
    QTest::newRow("high surrogate before a pair")
        << (QString(QChar(0xD83D)) + QString::fromUtf8("\xF0\x9F\x98\x80"))
        << QByteArray("&#65533;&#128512;");
    QTest::newRow("non-ascii at every offset of a long run")
        << QString::fromUtf8("abcdefg€hijk😀lmnopqr\u00e9stuvwxy\u03b1z")
        << QByteArray("abcdefg\x80hijk&#128512;lmnopqr\xE9stuvwxy&#945;z");
}

void PageTest::toWindows1252_mapsCodePageAndReferencesTheRest() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(output::toWindows1252(text), bytes);
}

void PageTest::savePage_writesThePageOrPassesTheFailureThrough() {
    const platform::FixedSystemColors colors;
    const QString code = QStringLiteral("<font color=\"#000000\">\u00E9</font>");
    platform::MemoryFileWriter writer;
    QCOMPARE(output::savePage(writer, QStringLiteral("/tmp/index.html"), code, kWhite, colors),
             platform::WriteError());
    QCOMPARE(writer.files.keys(), QStringList{QStringLiteral("/tmp/index.html")});
    QCOMPARE(writer.files.first(), kHead +
                                       "<body bgcolor=\"FFFFFF\">\r\n"
                                       "<font color=\"#000000\">\xE9</font>" +
                                       kTail);

    platform::MemoryFileWriter failing;
    failing.failWith = QStringLiteral("Permission denied");
    QCOMPARE(output::savePage(failing, QStringLiteral("/ro/index.html"), code, kWhite, colors),
             platform::WriteError(QStringLiteral("Permission denied")));
    QVERIFY(failing.files.isEmpty());
}

void PageTest::copyHtml_copiesOnlyFilledCodeUnchanged() {
    platform::MemoryClipboard clipboard;
    clipboard.text = QStringLiteral("earlier");
    QVERIFY(!output::copyHtml(clipboard, QString()));
    QCOMPARE(clipboard.setCount, 0);
    QCOMPARE(clipboard.text, QStringLiteral("earlier"));

    const QString code = QStringLiteral("<b>edited\nby hand \u20AC</b>");
    QVERIFY(output::copyHtml(clipboard, code));
    QCOMPARE(clipboard.setCount, 1);
    QCOMPARE(clipboard.text, code);
}

QTEST_GUILESS_MAIN(PageTest)
#include "tst_page.moc"
