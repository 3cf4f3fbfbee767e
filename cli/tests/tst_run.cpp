#include "cli/Run.h"
#include "output/Page.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"

#include <QTest>

using namespace tintwave;
using namespace Qt::StringLiterals;

namespace {

// Standard streams, settings and files of one run, all in memory.
class MemoryIo : public cli::CliIo {
public:
    QByteArray readInput() override { return input; }
    bool writeOutput(const QByteArray& bytes) override {
        blocks << bytes;
        return !stdoutBroken;
    }
    void writeError(const QString& line) override { err << line; }
    platform::SettingsStore& settings() override { return store; }
    platform::FileWriter& files() override { return writer; }
    QByteArray environment(const char* name) override {
        return term.split('/').value(qstrcmp(name, "TERM") ? 0 : 1);
    }

    QByteArray term;  // COLORTERM/TERM
    QByteArray input; // standard input
    bool stdoutBroken = false;
    QByteArrayList blocks; // written to standard output
    QStringList err;
    platform::MemorySettingsStore store;
    platform::MemoryFileWriter writer;
};

// Stores user scheme number, titled title, with only slot 0 filled.
void addUserScheme(MemoryIo& io, int number, const QString& title, ColorValue slot0) {
    io.store.setValue("general", "numSchemes", QString::number(number));
    io.store.setValue("scheme" + QString::number(number), "title", title);
    io.store.setValue("scheme" + QString::number(number), "box0", QString::number(slot0));
}

// The text in the listed colours ("#RRGGBB,..."), not centred.
cli::CliOptions options(const QString& text, QStringView colors) {
    cli::CliOptions o;
    o.text = text;
    o.colors = cli::parseColorList(colors).slotValues;
    o.style.center = false;
    return o;
}

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One final LF or CR LF goes, a bare CR or a second break stays; bytes that are not
    // UTF-8 become U+FFFD.
    void textFromInput_dropsOneFinalLineBreakAndDecodesUtf8() {
        QStringList texts;
        for (const char* bytes :
             {"ab\n", "ab\r\n", "a\r\n\r\n", "ab\r", "Gr\xC3\xBC\xE2\x82\xAC\xFF\n"}) {
            texts << cli::textFromInput(bytes);
        }
        QCOMPARE(texts, QStringList({"ab", "ab", "a\r\n", "ab\r", u"Grü€\uFFFD"_s}));
    }

    // A preset wins over a user scheme of that title, the first of two user schemes wins,
    // names match exactly.
    void run_schemeName_findsPresetThenFirstUserSchemeOfThatTitle() {
        MemoryIo io;
        addUserScheme(io, 1, "Blue-Red", 0x000000);
        addUserScheme(io, 2, "Mine", 0x00FF00);
        addUserScheme(io, 3, "Mine", 0xFFFFFF);
        QStringList shown;
        for (const QString name : {"Spectrum", "Blue-Red", "Mine", "&Spectrum", "mine"}) {
            cli::CliOptions o = options("A", {});
            o.colors.reset(); // colours come from the scheme
            o.scheme = name;
            io.blocks.clear();
            const int exit = cli::run(o, io);
            shown << name + ": " + QString::number(exit) + ' ' + io.blocks.join();
        }
        QCOMPARE(shown, QStringList({"Spectrum: 0 <font color=\"#FF0000\">A</font>\n",
                                     "Blue-Red: 0 <font color=\"#0000FF\">A</font>\n",
                                     "Mine: 0 <font color=\"#00FF00\">A</font>\n", "&Spectrum: 2 ",
                                     "mine: 2 "}));
        QCOMPARE(io.err,
                 QStringList({"tintwave-cli: unknown scheme '&Spectrum' (see --list-schemes)",
                              "tintwave-cli: unknown scheme 'mine' (see --list-schemes)"}));
    }

    void run_writeFailure_isUsageErrorNamingFileAndReason() {
        MemoryIo io;
        io.writer.failWith = "Permission denied";
        cli::CliOptions o = options("A", u"#000000");
        o.outputPath = "/ro/out.html";
        QCOMPARE(cli::run(o, io), cli::kExitUsage);
        QCOMPARE(io.err,
                 QStringList{"tintwave-cli: cannot write '/ro/out.html': Permission denied"});

        // Code, help, version and the scheme list alike.
        o.outputPath.clear();
        for (const auto action : {cli::Action::Colorize, cli::Action::Help, cli::Action::Version,
                                  cli::Action::ListSchemes}) {
            MemoryIo broken;
            broken.stdoutBroken = true;
            o.action = action;
            QCOMPARE(cli::run(o, broken), cli::kExitUsage);
            QCOMPARE(broken.err, QStringList{"tintwave-cli: cannot write to standard output"});
        }
    }

    // --color-depth auto by COLORTERM and TERM; a text of two lines cannot make frames.
    void run_terminalOptions_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QByteArray>("term");
        QTest::addColumn<QStringList>("outcome"); // exit, stdout, stderr
        QTest::newRow("24-bit") << "--color-depth auto" << QByteArray("24bit/xterm-256color")
                                << QStringList{"0", "\x1b[38;2;255;0;0mHi\x1b[0m\n", ""};
        QTest::newRow("256") << "--color-depth auto" << QByteArray("yes/xterm-256color")
                             << QStringList{"0", "\x1b[38;5;196mHi\x1b[0m\n", ""};
        QTest::newRow("16") << "--color-depth auto" << QByteArray("TrueColor/xterm")
                            << QStringList{"0", "\x1b[91mHi\x1b[0m\n", ""};
        // Fitted as the terminal's depth writes it: 11 units at 16 colours, 22 at 24 bits.
        QTest::newRow("16, max-length")
            << "--color-depth auto --max-length 11" << QByteArray("TrueColor/xterm")
            << QStringList{"0", "\x1b[91mHi\x1b[0m\n",
                           "tintwave-cli: 1 character per colour, 11 of 11"};
        QTest::newRow("16, max-length too short")
            << "--color-depth auto --max-length 10" << QByteArray("TrueColor/xterm")
            << QStringList{"1", "",
                           "tintwave-cli: cannot fit in 10 characters; the shortest form needs 11"};
        QTest::newRow("frames, line break")
            << "--frames 2 --text a\nb" << QByteArray()
            << QStringList{"2", "", "tintwave-cli: --frames needs a text without line breaks"};
    }
    void run_terminalOptions() {
        QFETCH(QString, args);
        QFETCH(QByteArray, term);
        QFETCH(QStringList, outcome);
        const cli::ParseResult parsed = cli::parseArguments(
            (u"tintwave-cli --text Hi --colors #FF0000 --format ansi --merge "_s + args)
                .split(u' '));
        MemoryIo io;
        io.term = term;
        const int exit = cli::run(parsed.options, io);
        QCOMPARE(QStringList({QString::number(exit), QString::fromUtf8(io.blocks.join()),
                              io.err.join(u' ')}),
                 outcome);
    }

    // Far more than one block of output, with characters that take several bytes: standard
    // output gets it in blocks, a file whole, and both get the bytes of the whole code or page.
    void run_longText_streamsTheSameBytesAsTheWholeCode() {
        for (const bool toFile : {false, true}) {
            MemoryIo io;
            cli::CliOptions o =
                options(u"Grüße € 😀 <[b]> "_s.repeated(20'000), u"#FF0000,#00FF00,#0000FF");
            o.style.output.format = engine::OutputFormat::Span;
            o.page = !toFile; // a page to standard output, the code to a file
            o.outputPath = toFile ? "/out" : "";
            QCOMPARE(cli::run(o, io), cli::kExitOk);
            const QString code = engine::colorize(*o.text, *o.colors, o.style).code;
            const QByteArray whole =
                toFile ? code.toUtf8() + '\n'
                       : output::buildPage(code, kWhite, platform::FixedSystemColors());
            QCOMPARE(toFile ? io.writer.files.value("/out") : io.blocks.join(), whole);
            QCOMPARE(io.blocks.size() > 1, !toFile);
        }
    }

    // --decode reads the code from standard input and writes what the format's readers show
    // in another format, or the palette; a code it cannot read writes nothing.
    void run_decode_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        const auto row = [](const char* name, const char* arguments, const QByteArray& input,
                            int exit, const QByteArray& out, const QString& err) {
            QTest::newRow(name) << QString::fromLatin1(arguments) << input << exit << out << err;
        };
        row("mc-hex to minimessage", "--format minimessage", "&#FF0000&lH&#0000FF&li\n", 0,
            "<b><#FF0000>H<#0000FF>i</b>\n", QString());
        row("json to centred font", "--from json --face Arial",
            R"(["",{"text":"a","color":"#102030"}])", 0,
            "<center><font face=\"Arial\"><font color=\"#102030\">a</font></font></center>\n",
            QString());
        row("palette of a colorized code", "--palette --from span",
            "<span style=\"color:#000000\">a</span><span style=\"color:#808080\">b</span>"
            "<span style=\"color:#FFFFFF\">c</span>",
            0, "--colors '#000000,#FFFFFF' --blend rgb --spread even\n", QString());
        row("palette, no gradient", "--palette",
            "<#000000>a<#FFFFFF>b<#000000>c<#FFFFFF>d<#000000>e<#FFFFFF>f<#000000>g<#FFFFFF>h"
            "<#000000>i<#FFFFFF>j<#000000>k<#FFFFFF>l",
            // Black to white over twelve places is 23 grey at the second: off by 232.
            0, "--colors '#000000,#FFFFFF' --blend rgb --spread even\n",
            "tintwave-cli: no gradient gives these colours exactly; the largest difference is "
            "232 in red, 232 in green, 232 in blue");
        row("told apart, not obvious", "--format bbcode --no-center", "&aA&lB", 0,
            "[color=#55FF55]A[/color][color=#55FF55]B[/color]\n",
            "tintwave-cli: reading the code as mc-hex (name another with --from)");
        row("cannot tell", "", "plain words", 1, "",
            "tintwave-cli: cannot tell the format of this code; name it with --from");
        row("broken json", "--from json", "[\"\",{\"text\":\"a\",}]", 1, "",
            "tintwave-cli: not valid json at character 17: expected a string");
        row("no colour", "--from mc-hex --palette", "abc", 1, "",
            "You must select at least one color");
    }
    void run_decode() {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exit);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        const cli::ParseResult parsed = cli::parseArguments(
            QStringList{"tintwave-cli", "--decode"} + arguments.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(parsed.error, QString());
        MemoryIo io;
        io.input = input;
        QCOMPARE(cli::run(parsed.options, io), exit);
        QCOMPARE(io.blocks.join(), out);
        QCOMPARE(io.err.join(u'\n'), err);
    }
};

QTEST_GUILESS_MAIN(RunTest)
#include "tst_run.moc"
