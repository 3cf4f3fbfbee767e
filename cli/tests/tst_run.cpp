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
    QByteArray readInput() override { return {}; }
    bool writeOutput(const QByteArray& bytes) override {
        blocks << bytes;
        return !stdoutBroken;
    }
    void writeError(const QString& line) override { err << line; }
    platform::SettingsStore& settings() override { return store; }
    platform::FileWriter& files() override { return writer; }

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

        MemoryIo broken;
        broken.stdoutBroken = true;
        o.outputPath.clear();
        QCOMPARE(cli::run(o, broken), cli::kExitUsage);
        QCOMPARE(broken.err, QStringList{"tintwave-cli: cannot write to standard output"});
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
};

QTEST_GUILESS_MAIN(RunTest)
#include "tst_run.moc"
