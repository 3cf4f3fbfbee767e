#include "cli/CommandLine.h"
#include "palette/Palette.h"

#include <QTest>

using namespace tintwave;
using namespace Qt::StringLiterals;

namespace {

constexpr ColorValue E = palette::kEmptySlot;

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the user typed is quoted with control characters spelled out, so the message
    // stays one line.
    void parse_usageError_namesTheProblemOnOneLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const auto row = [](const QStringList& args, const QString& error) {
            QTest::newRow(qPrintable(args.join(' '))) << args << error;
        };
        row({"--colour"}, "Unknown option 'colour'.");
        row({u"\x1b\x7f"_s}, "unexpected argument '\\u001b\\u007f' (give the text with --text)");
        row({"--colors", "#000000,red"}, "--colors entry 2 'red' is not #RRGGBB or empty");
        row({"--colors", ",,,,,,,,,,#FFFFFF"}, "--colors has 11 entries; at most 10 are allowed");
        row({"--scheme", "X", "--colors", ""}, "--scheme and --colors cannot be used together");
        row({"--size", u"+1\u2028"_s}, "--size '+1\\u2028' is not one of None, +1, +2, +3, +4, -1, "
                                       "-2, -3, -4, +5, +6, +7, -5, -6, -7");
        row({"--face", "A\"B"}, "--face must not contain \", < or >: A\"B");
        row({"--background", "#000000"}, "--background needs --page");
        row({"--page", "--background", "FFFFFF"}, "--background 'FFFFFF' is not #RRGGBB");
        row({"--format", "html"}, "--format 'html' is not one of font, span, bbcode, ansi, mc-hex, "
                                  "mc-x, mc-section, minimessage, minimessage-gradient, json, "
                                  "template, discord, irc");
        row({"--merge"}, "--merge does not apply to --format font (one tag per character)");
        row({"--skip-blanks"},
            "--skip-blanks does not apply to --format font (one tag per character)");
        row({"--per-line"},
            "--per-line does not apply to --format font (its line breaks are characters)");
        row({"--format", "template"}, "--format template needs --template");
        row({"--format", "json", "--template", "{c}"}, "--template needs --format template");
        row({"--format", "template", "--template", ""}, "--template is empty");
        row({"--format", "template", "--template", "&#{hex}{C}"},
            "--template has an unknown placeholder {C}");
        row({"--format", "template", "--template", "{c}{{hex}"},
            "--template has an unmatched } at character 9");
        row({"--format", "template", "--template", "{{{h6}}}{h1"},
            "--template has an unmatched { at character 9");
        row({"--format", "ansi", "--page"}, "--page needs an HTML format (font or span), not ansi");
        row({"-o", ""}, "-o needs a file name");
        row({"--format", "ansi", "--color-depth", "24bit"},
            "--color-depth '24bit' is not one of 24, 256, 16, 8, auto");
        row({"--format", "irc", "--color-depth", "auto"}, "--color-depth needs --format ansi");
        row({"--format", "irc", "--frames", "1e3"},
            "--frames '1e3' is not a whole number from 2 to 1000");
        row({"--frames", "10"}, "--frames does not apply to --format font");
        row({"--format", "discord", "--animate", "5"}, "--animate needs --format ansi");
        row({"--from", "json"}, "--from needs --decode");
        row({"--palette"}, "--palette needs --decode");
        row({"--decode", "--scheme", "Copper"},
            "--scheme does not apply to --decode (the colours come from the code)");
        row({"--decode", "--spread", "even"},
            "--spread does not apply to --decode (the colours come from the code)");
        // Not left unsaid: the code would come out longer than asked, or standing still.
        row({"--decode", "--format", "mc-hex", "--max-length", "10"},
            "--max-length does not apply to --decode (the colours come from the code)");
        row({"--decode", "--format", "json", "--frames", "4"},
            "--frames does not apply to --decode (the colours come from the code)");
        row({"--decode", "--from", "template"},
            "--from 'template' is not one of auto, font, span, bbcode, ansi, mc-hex, mc-x, "
            "mc-section, minimessage, json, discord, irc");
        row({"--decode", "--palette", "--page"},
            "--page does not apply to --palette (it prints options, not a code)");
        row({"--format", "json", "--step", "0"}, "--step '0' is not a whole number of at least 1");
        row({"--format", "json", "--max-length", "2x"},
            "--max-length '2x' is not a whole number of at least 1");
        row({"--format", "json", "--step", "2", "--max-length", "9"},
            "--step and --max-length cannot be used together");
        row({"--max-length", "256"},
            "--max-length does not apply to --format font (one tag per character)");
        row({"--format", "span", "--obfuscated"},
            "--obfuscated needs a game format (mc-hex, mc-x, mc-section, minimessage, "
            "minimessage-gradient or json), not span");
    }
    void parse_usageError_namesTheProblemOnOneLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        QCOMPARE(cli::parseArguments(QStringList{"tintwave-cli"} + args).error, error);
    }

    // Values keep their control characters (only messages spell them out), and a text may
    // look like an option.
    void parse_everyOptionReachesItsField() {
        const cli::ParseResult result = cli::parseArguments(
            u"tintwave-cli --text --bold --scheme Copper --face Times\tNew --size -7 --bold "
            u"--italic --underline"
            u" --no-center --page --background #0008ff -o out.html --format span --blend oklch"
            u" --spread even --merge --skip-blanks --per-line --frames 1000"_s.split(' '));
        QCOMPARE(result.error, QString());
        const cli::CliOptions& o = result.options;
        QCOMPARE(QStringList({*o.text, *o.scheme, o.style.face, o.style.size, o.outputPath}),
                 QStringList({"--bold", "Copper", "Times\tNew", "-7", "out.html"}));
        QCOMPARE(std::tuple(o.style.bold, o.style.italic, o.style.underline, o.style.center, o.page,
                            o.background, o.style.output.merge, o.style.output.skipBlanks,
                            o.style.perLine, o.style.frames),
                 std::tuple(true, true, true, false, true, 0xFF0800, true, true, true, 1000));
        QVERIFY(o.style.output.format == engine::OutputFormat::Span &&
                o.style.output.blend == engine::Blend::OkLch &&
                o.style.output.spread == engine::Spread::Even);
    }

    // Entries fill slots 0, 1, ... and the rest stay empty; packed colours keep red in the
    // low byte. An entry is #RRGGBB exactly, or nothing.
    void parseColorList_fillsSlotsInOrder() {
        QVERIFY(cli::parseColorList(u",#Ff800a,,,,#FFFFFF").slotValues ==
                SlotValues({E, 0x0A80FF, E, E, E, 0xFFFFFF, E, E, E, E}));
        QVERIFY(cli::parseColorList(u"").slotValues == SlotValues({E, E, E, E, E, E, E, E, E, E}));
        const SlotValues allTen =
            cli::parseColorList(u"#000001,#000002,#000003,#000004,#000005,#000006,"
                                u"#000007,#000008,#000009,#00000A")
                .slotValues;
        QVERIFY(allTen == SlotValues({0x010000, 0x020000, 0x030000, 0x040000, 0x050000, 0x060000,
                                      0x070000, 0x080000, 0x090000, 0x0A0000}));
        for (const QString& entry : {u"x000000"_s, u"#FFFFFF0"_s, u"#00000G"_s,
                                     u"#\uFF10\uFF10\uFF10\uFF10\uFF10\uFF10"_s}) {
            QVERIFY2(!cli::parseColorList(entry).error.isEmpty(), qPrintable(entry)); // not #RRGGBB
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
