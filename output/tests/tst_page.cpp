#include "output/Page.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>

using namespace tintwave;

class PageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backgroundAttribute_padsEachComponentToTwoUpperCaseDigits_data();
    void backgroundAttribute_padsEachComponentToTwoUpperCaseDigits();
    void buildPage_writesEightCrLfLinesAroundTheCode();
    void buildPage_codeThatGrowsIntoReferences_keepsTheWholeTail();
    void buildPage_resolvesSystemColourReference_data();
    void buildPage_resolvesSystemColourReference();
    void toWindows1252_mapsCodePageAndReferencesTheRest_data();
    void toWindows1252_mapsCodePageAndReferencesTheRest();
    void toWindows1252_mapsAllTwentySevenHighPunctuationCharacters();
    void savePage_writesPageBytesToThePath();
    void savePage_passesWriteFailureThrough();
    void copyHtml_emptyCode_leavesClipboardAlone();
    void copyHtml_filledCode_putsItOnTheClipboardUnchanged();
};

void PageTest::backgroundAttribute_padsEachComponentToTwoUpperCaseDigits_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("attribute");
    QTest::newRow("0,8,255") << int(0x00 + 256 * 0x08 + 65536 * 0xFF)
                             << QStringLiteral(" bgcolor=\"0008FF\"");
    QTest::newRow("white") << int(kWhite) << QStringLiteral(" bgcolor=\"FFFFFF\"");
    QTest::newRow("pure red") << 255 << QStringLiteral(" bgcolor=\"FF0000\"");
    QTest::newRow("black") << 0 << QStringLiteral(" bgcolor=\"000000\"");
    QTest::newRow("mixed a-f") << int(0xAB + 256 * 0xCD + 65536 * 0x0E)
                               << QStringLiteral(" bgcolor=\"ABCD0E\"");
}

void PageTest::backgroundAttribute_padsEachComponentToTwoUpperCaseDigits() {
    QFETCH(int, color);
    QFETCH(QString, attribute);
    QCOMPARE(output::backgroundAttribute(color), attribute);
}

void PageTest::buildPage_writesEightCrLfLinesAroundTheCode() {
    const platform::FixedSystemColors colors;
    const QString code = QStringLiteral("<center><font color=\"#FF0000\">H</font></center>");
    QCOMPARE(output::buildPage(code, 0x00 + 256 * 0x08 + 65536 * 0xFF, colors),
             QByteArray("<html>\r\n"
                        "<head>\r\n"
                        "<title>YOUR TITLE HERE</title>\r\n"
                        "</head>\r\n"
                        "<body bgcolor=\"0008FF\">\r\n"
                        "<center><font color=\"#FF0000\">H</font></center>\r\n"
                        "</body>\r\n"
                        "</html>\r\n"));
}

void PageTest::buildPage_codeThatGrowsIntoReferences_keepsTheWholeTail() {
    const platform::FixedSystemColors colors;
    const QString code = QString::fromUtf8("😀").repeated(40);
    const QByteArray page = output::buildPage(code, kWhite, colors);
    QCOMPARE(page, QByteArray("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
                              "<body bgcolor=\"FFFFFF\">\r\n") +
                       QByteArray("&#128512;").repeated(40) +
                       QByteArray("\r\n</body>\r\n</html>\r\n"));
}

void PageTest::buildPage_resolvesSystemColourReference_data() {
    QTest::addColumn<int>("reference");
    QTest::addColumn<QByteArray>("bodyLine");
    QTest::newRow("window background")
        << int(kWindowBackground) << QByteArray("<body bgcolor=\"123456\">\r\n");
    QTest::newRow("button face") << int(kButtonFace) << QByteArray("<body bgcolor=\"F0E0D0\">\r\n");
}

void PageTest::buildPage_resolvesSystemColourReference() {
    QFETCH(int, reference);
    QFETCH(QByteArray, bodyLine);
    platform::FixedSystemColors colors;
    colors.windowBackground = 0x12 + 256 * 0x34 + 65536 * 0x56;
    colors.buttonFace = 0xF0 + 256 * 0xE0 + 65536 * 0xD0;
    const QByteArray page = output::buildPage(QStringLiteral("x"), reference, colors);
    QVERIFY2(page.contains("\r\n" + bodyLine), page.constData());
}

void PageTest::toWindows1252_mapsCodePageAndReferencesTheRest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii with markup")
        << QStringLiteral("<a href=\"x\">&</a>") << QByteArray("<a href=\"x\">&</a>");
    QTest::newRow("euro") << QStringLiteral("5\u20AC") << QByteArray("5\x80");
    QTest::newRow("latin-1 letters")
        << QStringLiteral("caf\u00E9 \u00FF\u00A0") << QByteArray("caf\xE9 \xFF\xA0");
    QTest::newRow("greek") << QStringLiteral("\u03B1") << QByteArray("&#945;");
    QTest::newRow("c1 control has no byte") << QStringLiteral("\u0081") << QByteArray("&#129;");
    QTest::newRow("emoji is one reference")
        << QString::fromUtf8("a\xF0\x9F\x98\x80z") << QByteArray("a&#128512;z");
    QTest::newRow("lone high surrogate")
        << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b")) << QByteArray("a&#65533;b");
    QTest::newRow("lone low surrogate at end")
        << (QStringLiteral("a") + QChar(0xDE00)) << QByteArray("a&#65533;");
    QTest::newRow("high surrogate before high surrogate pair")
        << (QString(QChar(0xD83D)) + QString::fromUtf8("\xF0\x9F\x98\x80"))
        << QByteArray("&#65533;&#128512;");
    QTest::newRow("non-ascii at every offset of a long run")
        << QString::fromUtf8("abcdefg€hijk😀lmnopqr\u00e9stuvwxy\u03b1z")
        << QByteArray("abcdefg\x80hijk&#128512;lmnopqr\xE9stuvwxy&#945;z");
    QTest::newRow("references outgrow the text")
        << QString::fromUtf8("😀😀😀😀😀😀😀😀😀😀\u03b1\u03b1")
        << QByteArray("&#128512;&#128512;&#128512;&#128512;&#128512;&#128512;&#128512;&#128512;"
                      "&#128512;&#128512;&#945;&#945;");
    QTest::newRow("nul kept") << QString(QChar(0)) << QByteArray(1, '\0');
}

void PageTest::toWindows1252_mapsCodePageAndReferencesTheRest() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(output::toWindows1252(text), bytes);
}

void PageTest::toWindows1252_mapsAllTwentySevenHighPunctuationCharacters() {
    // In code page order, 0x80 .. 0x9F without the five undefined bytes.
    const QString punctuation = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    QCOMPARE(punctuation.size(), 27);
    const QByteArray expected("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                              "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    QCOMPARE(output::toWindows1252(punctuation), expected);
}

void PageTest::savePage_writesPageBytesToThePath() {
    platform::MemoryFileWriter writer;
    const platform::FixedSystemColors colors;
    const QString code = QStringLiteral("<font color=\"#000000\">\u00E9</font>");
    QCOMPARE(output::savePage(writer, QStringLiteral("/tmp/index.html"), code, kWhite, colors),
             platform::WriteError());
    QCOMPARE(writer.files.keys(), QStringList{QStringLiteral("/tmp/index.html")});
    QCOMPARE(writer.files.first(), output::buildPage(code, kWhite, colors));
    QVERIFY(writer.files.first().contains("<font color=\"#000000\">\xE9</font>\r\n</body>"));
}

void PageTest::savePage_passesWriteFailureThrough() {
    platform::MemoryFileWriter writer;
    writer.failWith = QStringLiteral("Permission denied");
    const platform::FixedSystemColors colors;
    QCOMPARE(output::savePage(writer, QStringLiteral("/ro/index.html"), QStringLiteral("x"), kWhite,
                              colors),
             platform::WriteError(QStringLiteral("Permission denied")));
    QVERIFY(writer.files.isEmpty());
}

void PageTest::copyHtml_emptyCode_leavesClipboardAlone() {
    platform::MemoryClipboard clipboard;
    clipboard.text = QStringLiteral("earlier");
    QVERIFY(!output::copyHtml(clipboard, QString()));
    QCOMPARE(clipboard.setCount, 0);
    QCOMPARE(clipboard.text, QStringLiteral("earlier"));
}

void PageTest::copyHtml_filledCode_putsItOnTheClipboardUnchanged() {
    platform::MemoryClipboard clipboard;
    const QString code = QStringLiteral("<b>edited\nby hand \u20AC</b>");
    QVERIFY(output::copyHtml(clipboard, code));
    QCOMPARE(clipboard.setCount, 1);
    QCOMPARE(clipboard.text, code);
}

QTEST_GUILESS_MAIN(PageTest)
#include "tst_page.moc"
