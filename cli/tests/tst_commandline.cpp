#include "cli/CommandLine.h"
#include "palette/Palette.h"

#include <QTest>

using namespace tintwave;

namespace {

cli::ParseResult parse(QStringList args) {
    args.prepend(QStringLiteral("tintwave-cli"));
    return cli::parseArguments(args);
}

const QString kSizes =
    QStringLiteral("None, +1, +2, +3, +4, -1, -2, -3, -4, +5, +6, +7, -5, -6, -7");

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the user typed is quoted with control characters spelled out, so the message
    // stays one line.
    void parse_usageError_namesTheProblemOnOneLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        // args: the arguments joined by single spaces
        const auto row = [](const char* name, const QString& args, const QString& error) {
            QTest::newRow(name) << args.split(u' ') << error;
        };
        row("unknown option", "--colour", "Unknown option 'colour'.");
        row("unknown option with CR", "--oub\rqm", "Unknown option 'oub\\u000dqm'.");
        row("missing value", "--text", "Missing value after '--text'.");
        row("positional with escape and DEL", QStringView(u"\x1b[2J\x7f").toString(),
            "unexpected argument '\\u001b[2J\\u007f' (give the text with --text)");
        row("bad colour entry", "--colors #000000,red",
            "--colors entry 2 'red' is not #RRGGBB or empty");
        row("eleven entries", "--colors ,,,,,,,,,,#FFFFFF",
            "--colors has 11 entries; at most 10 are allowed");
        row("scheme with colors", "--scheme Copper --colors #000000",
            "--scheme and --colors cannot be used together");
        row("size not in list", "--size +8", "--size '+8' is not one of " + kSizes);
        row("size is case-sensitive", "--size none", "--size 'none' is not one of " + kSizes);
        row("size with line separator", QStringView(u"--size +1\u2028").toString(),
            "--size '+1\\u2028' is not one of " + kSizes);
        row("face with quote", "--face A\"B", "--face must not contain \", < or >: A\"B");
        row("face with angle and LF", "--face a\n<b",
            "--face must not contain \", < or >: a\\u000a<b");
        row("background without page", "--background #000000", "--background needs --page");
        row("bad background", "--page --background FFFFFF", "--background 'FFFFFF' is not #RRGGBB");
        row("unknown format", "--format html",
            "--format 'html' is not one of font, span, bbcode, ansi");
        row("blend is case-sensitive", "--blend OKLab",
            "--blend 'OKLab' is not one of rgb, oklab, oklch");
        row("unknown spread", "--spread wide", "--spread 'wide' is not one of classic, even");
        row("merge with font tags", "--merge",
            "--merge does not apply to --format font (one tag per character)");
        row("page with ansi", "--format ansi --page",
            "--page needs an HTML format (font or span), not ansi");
        QTest::newRow("empty output name") << QStringList{"-o", ""} << "-o needs a file name";
    }
    void parse_usageError_namesTheProblemOnOneLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const cli::ParseResult result = parse(args);
        QVERIFY(!result.ok());
        QCOMPARE(result.error, error);
    }

    // Control characters in values are the user's to give; only messages spell them out.
    void parse_styleAndOutputOptions_areTakenOver() {
        const cli::ParseResult result =
            parse({"--text",   "Hi",           "--scheme",    "Orange-Yellow-Light Yellow",
                   "--face",   "Times\tNew",   "--size",      "-7",
                   "--bold",   "--italic",     "--underline", "--no-center",
                   "--page",   "--background", "#0008ff",     "-o",
                   "out.html", "--format",     "span",        "--blend",
                   "oklch",    "--spread",     "even",        "--merge"});
        QVERIFY2(result.ok(), qPrintable(result.error));
        const cli::CliOptions& o = result.options;
        QCOMPARE(o.text, QStringLiteral("Hi"));
        QCOMPARE(o.scheme, QStringLiteral("Orange-Yellow-Light Yellow"));
        QCOMPARE(o.style.face, QStringLiteral("Times\tNew"));
        QCOMPARE(o.style.size, QStringLiteral("-7"));
        QVERIFY(o.style.bold && o.style.italic && o.style.underline && !o.style.center);
        QVERIFY(o.page);
        QCOMPARE(o.background, 0x00 + 256 * 0x08 + 65536 * 0xFF);
        QCOMPARE(o.outputPath, QStringLiteral("out.html"));
        QCOMPARE(o.style.output.format, engine::OutputFormat::Span);
        QCOMPARE(o.style.output.blend, engine::Blend::OkLch);
        QCOMPARE(o.style.output.spread, engine::Spread::Even);
        QVERIFY(o.style.output.merge);
    }

    void parse_textMayStartWithDashOrBeEmpty_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("text");
        QTest::newRow("leading dash") << QStringList{"--text", "-x --bold"} << "-x --bold";
        QTest::newRow("equals form") << QStringList{"--text=a=b"} << "a=b";
        QTest::newRow("empty") << QStringList{"--text", ""} << "";
        QTest::newRow("control characters") << QStringList{"--text", "a\r\nb\x01"} << "a\r\nb\x01";
    }
    void parse_textMayStartWithDashOrBeEmpty() {
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        const cli::ParseResult result = parse(args);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.options.text, text);
        QVERIFY(!result.options.style.bold);
    }

    void parseColorList_fillsSlotsInOrder_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("filled"); // slot, value pairs; every other slot empty
        QTest::newRow("worked example") << "#000000,,,,,#FFFFFF" << QList<int>{0, 0, 5, 0xFFFFFF};
        QTest::newRow("red low byte, either case") << "#Ff8000" << QList<int>{0, 0xFF + 256 * 0x80};
        QTest::newRow("leading empty entries") << ",,#00000a" << QList<int>{2, 0x0A0000};
        QTest::newRow("empty list") << "" << QList<int>{};
        QTest::newRow("all ten") << "#000001,#000002,#000003,#000004,#000005,#000006,#000007,"
                                    "#000008,#000009,#00000A"
                                 << QList<int>{0, 0x010000, 1, 0x020000, 2, 0x030000, 3, 0x040000,
                                               4, 0x050000, 5, 0x060000, 6, 0x070000, 7, 0x080000,
                                               8, 0x090000, 9, 0x0A0000};
    }
    void parseColorList_fillsSlotsInOrder() {
        QFETCH(QString, list);
        QFETCH(QList<int>, filled);
        SlotValues expected = palette::Palette::empty().slots;
        for (qsizetype i = 0; i < filled.size(); i += 2)
            expected[std::size_t(filled[i])] = filled[i + 1];
        const cli::ColorListResult result = cli::parseColorList(list);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.slotValues, expected);
    }

    void parseColor_rejectsAnythingButHashAndSixHexDigits_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("no hash") << "FFFFFF";
        QTest::newRow("short") << "#FFF";
        QTest::newRow("long") << "#FFFFFF0";
        QTest::newRow("non-hex") << "#GG0000";
        QTest::newRow("blank around") << " #FFFFFF";
        QTest::newRow("full-width digit") << "#\uFF10\uFF10\uFF10\uFF10\uFF10\uFF10";
    }
    void parseColor_rejectsAnythingButHashAndSixHexDigits() {
        QFETCH(QString, entry);
        QCOMPARE(cli::parseColor(entry), std::nullopt);
        QVERIFY(!cli::parseColorList(entry).error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
