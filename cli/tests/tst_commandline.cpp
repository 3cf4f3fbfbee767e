#include "cli/CommandLine.h"
#include "palette/Palette.h"

#include <QTest>

using namespace tintwave;
using cli::Action;

namespace {

cli::ParseResult parse(QStringList args) {
    args.prepend(QStringLiteral("tintwave-cli"));
    return cli::parseArguments(args);
}

SlotValues emptySlots() {
    return palette::Palette::empty().slots;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_usageError_namesTheProblem_data();
    void parse_usageError_namesTheProblem();
    void parse_noArguments_givesStartUpDefaults();
    void parse_styleAndOutputOptions_areTakenOver();
    void parse_textMayStartWithDashOrBeEmpty_data();
    void parse_textMayStartWithDashOrBeEmpty();
    void parse_helpAndVersionAndList_selectTheirAction_data();
    void parse_helpAndVersionAndList_selectTheirAction();
    void parse_everySizeOfTheList_isAccepted();
    void parseColorList_fillsSlotsInOrder_data();
    void parseColorList_fillsSlotsInOrder();
    void parseColor_rejectsAnythingButHashAndSixHexDigits_data();
    void parseColor_rejectsAnythingButHashAndSixHexDigits();
};

void CommandLineTest::parse_usageError_namesTheProblem_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option")
        << QStringList{"--colour", "#000000"} << "Unknown option 'colour'.";
    QTest::newRow("missing value") << QStringList{"--text"} << "Missing value after '--text'.";
    QTest::newRow("positional argument")
        << QStringList{"hello"} << "unexpected argument 'hello' (give the text with --text)";
    QTest::newRow("bad colour entry") << QStringList{"--colors", "#000000,red"}
                                      << "--colors entry 2 'red' is not #RRGGBB or empty";
    QTest::newRow("eleven entries") << QStringList{"--colors", ",,,,,,,,,,#FFFFFF"}
                                    << "--colors has 11 entries; at most 10 are allowed";
    QTest::newRow("scheme with colors") << QStringList{"--scheme", "Copper", "--colors", "#000000"}
                                        << "--scheme and --colors cannot be used together";
    QTest::newRow("size not in list")
        << QStringList{"--size", "+8"}
        << "--size '+8' is not one of None, +1, +2, +3, +4, -1, -2, -3, -4, +5, +6, +7, -5, -6, -7";
    QTest::newRow("size is case-sensitive") << QStringList{"--size", "none"}
                                            << "--size 'none' is not one of None, +1, +2, +3, "
                                               "+4, -1, -2, -3, -4, +5, +6, +7, -5, -6, -7";
    QTest::newRow("face with quote")
        << QStringList{"--face", "A\"B"} << "--face must not contain \", < or >: A\"B";
    QTest::newRow("face with angle")
        << QStringList{"--face", "x><script"} << "--face must not contain \", < or >: x><script";
    QTest::newRow("background without page")
        << QStringList{"--background", "#000000"} << "--background needs --page";
    QTest::newRow("bad background") << QStringList{"--page", "--background", "FFFFFF"}
                                    << "--background 'FFFFFF' is not #RRGGBB";
    QTest::newRow("empty output name") << QStringList{"-o", ""} << "-o needs a file name";
    QTest::newRow("unknown format") << QStringList{"--format", "html"}
                                    << "--format 'html' is not one of font, span, bbcode, ansi";
    QTest::newRow("blend is case-sensitive")
        << QStringList{"--blend", "OKLab"} << "--blend 'OKLab' is not one of rgb, oklab, oklch";
    QTest::newRow("unknown spread")
        << QStringList{"--spread", "wide"} << "--spread 'wide' is not one of classic, even";
    QTest::newRow("merge with font tags")
        << QStringList{"--merge"}
        << "--merge does not apply to --format font (one tag per character)";
    QTest::newRow("page with ansi") << QStringList{"--format", "ansi", "--page"}
                                    << "--page needs an HTML format (font or span), not ansi";
    QTest::newRow("page with bbcode") << QStringList{"--format", "bbcode", "--page"}
                                      << "--page needs an HTML format (font or span), not bbcode";
}

void CommandLineTest::parse_usageError_namesTheProblem() {
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    const cli::ParseResult result = parse(args);
    QVERIFY(!result.ok());
    QCOMPARE(result.error, error);
}

void CommandLineTest::parse_noArguments_givesStartUpDefaults() {
    const cli::ParseResult result = parse({});
    QVERIFY2(result.ok(), qPrintable(result.error));
    const cli::CliOptions& o = result.options;
    QCOMPARE(o.action, Action::Colorize);
    QVERIFY(!o.text);
    QVERIFY(!o.colors);
    QVERIFY(!o.scheme);
    QCOMPARE(o.style.face, QStringLiteral("None"));
    QCOMPARE(o.style.size, QStringLiteral("None"));
    QVERIFY(o.style.center);
    QVERIFY(!o.style.bold && !o.style.italic && !o.style.underline);
    QVERIFY(!o.page);
    QCOMPARE(o.style.format, engine::OutputFormat::Font);
    QCOMPARE(o.style.blend, engine::Blend::Rgb);
    QCOMPARE(o.style.spread, engine::Spread::Classic);
    QVERIFY(!o.style.merge);
    QCOMPARE(o.background, kWhite);
    QVERIFY(o.outputPath.isEmpty());
}

void CommandLineTest::parse_styleAndOutputOptions_areTakenOver() {
    const cli::ParseResult result = parse({"--text",      "Hi",
                                           "--scheme",    "Orange-Yellow-Light Yellow",
                                           "--face",      "Times New Roman",
                                           "--size",      "-7",
                                           "--bold",      "--italic",
                                           "--underline", "--no-center",
                                           "--page",      "--background",
                                           "#0008ff",     "-o",
                                           "out.html",    "--format",
                                           "span",        "--blend",
                                           "oklch",       "--spread",
                                           "even",        "--merge"});
    QVERIFY2(result.ok(), qPrintable(result.error));
    const cli::CliOptions& o = result.options;
    QCOMPARE(o.text, QStringLiteral("Hi"));
    QCOMPARE(o.scheme, QStringLiteral("Orange-Yellow-Light Yellow"));
    QCOMPARE(o.style.face, QStringLiteral("Times New Roman"));
    QCOMPARE(o.style.size, QStringLiteral("-7"));
    QVERIFY(o.style.bold && o.style.italic && o.style.underline);
    QVERIFY(!o.style.center);
    QVERIFY(o.page);
    QCOMPARE(o.background, 0x00 + 256 * 0x08 + 65536 * 0xFF);
    QCOMPARE(o.outputPath, QStringLiteral("out.html"));
    QCOMPARE(o.style.format, engine::OutputFormat::Span);
    QCOMPARE(o.style.blend, engine::Blend::OkLch);
    QCOMPARE(o.style.spread, engine::Spread::Even);
    QVERIFY(o.style.merge);
}

void CommandLineTest::parse_textMayStartWithDashOrBeEmpty_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("text");
    QTest::newRow("leading dash") << QStringList{"--text", "-x --bold"} << "-x --bold";
    QTest::newRow("equals form") << QStringList{"--text=a=b"} << "a=b";
    QTest::newRow("empty") << QStringList{"--text", ""} << "";
    QTest::newRow("non-ascii") << QStringList{"--text", "Grüße €"} << "Grüße €";
}

void CommandLineTest::parse_textMayStartWithDashOrBeEmpty() {
    QFETCH(QStringList, args);
    QFETCH(QString, text);
    const cli::ParseResult result = parse(args);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.options.text, text);
    QVERIFY(!result.options.style.bold);
}

void CommandLineTest::parse_helpAndVersionAndList_selectTheirAction_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Action>("action");
    QTest::newRow("--help") << QStringList{"--help"} << Action::Help;
    QTest::newRow("-h wins over other options") << QStringList{"--bold", "-h"} << Action::Help;
    QTest::newRow("--version") << QStringList{"--version"} << Action::Version;
    QTest::newRow("--list-schemes") << QStringList{"--list-schemes"} << Action::ListSchemes;
}

void CommandLineTest::parse_helpAndVersionAndList_selectTheirAction() {
    QFETCH(QStringList, args);
    QFETCH(Action, action);
    const cli::ParseResult result = parse(args);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.options.action, action);
}

void CommandLineTest::parse_everySizeOfTheList_isAccepted() {
    QCOMPARE(cli::sizeList().size(), 15);
    for (const QString& size : cli::sizeList()) {
        const cli::ParseResult result = parse({"--size", size});
        QVERIFY2(result.ok(), qPrintable(size));
        QCOMPARE(result.options.style.size, size);
    }
}

void CommandLineTest::parseColorList_fillsSlotsInOrder_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<int>>("filled"); // slot, value pairs; every other slot empty
    QTest::newRow("worked example") << "#000000,,,,,#FFFFFF" << QList<int>{0, 0, 5, 0xFFFFFF};
    QTest::newRow("red low byte, either case") << "#Ff8000" << QList<int>{0, 0xFF + 256 * 0x80};
    QTest::newRow("leading empty entries") << ",,#00000a" << QList<int>{2, 0x0A0000};
    QTest::newRow("trailing comma")
        << "#010203," << QList<int>{0, 0x01 + 256 * 0x02 + 65536 * 0x03};
    QTest::newRow("empty list") << "" << QList<int>{};
    QTest::newRow("all ten") << "#000001,#000002,#000003,#000004,#000005,#000006,#000007,#000008,"
                                "#000009,#00000A"
                             << QList<int>{0, 0x010000, 1, 0x020000, 2, 0x030000, 3, 0x040000,
                                           4, 0x050000, 5, 0x060000, 6, 0x070000, 7, 0x080000,
                                           8, 0x090000, 9, 0x0A0000};
}

void CommandLineTest::parseColorList_fillsSlotsInOrder() {
    QFETCH(QString, list);
    QFETCH(QList<int>, filled);
    SlotValues expected = emptySlots();
    for (qsizetype i = 0; i < filled.size(); i += 2)
        expected[std::size_t(filled[i])] = filled[i + 1];
    const cli::ColorListResult result = cli::parseColorList(list);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.slotValues, expected);
}

void CommandLineTest::parseColor_rejectsAnythingButHashAndSixHexDigits_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("no hash") << "FFFFFF";
    QTest::newRow("short") << "#FFF";
    QTest::newRow("long") << "#FFFFFF0";
    QTest::newRow("non-hex") << "#GG0000";
    QTest::newRow("blank around") << " #FFFFFF";
    QTest::newRow("sign") << "#+FFFFF";
    QTest::newRow("full-width digit") << "#\uFF10\uFF10\uFF10\uFF10\uFF10\uFF10";
}

void CommandLineTest::parseColor_rejectsAnythingButHashAndSixHexDigits() {
    QFETCH(QString, entry);
    QCOMPARE(cli::parseColor(entry), std::nullopt);
    QVERIFY(!cli::parseColorList(entry).error.isEmpty());
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
