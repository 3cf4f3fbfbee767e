#include "cli/Run.h"
#include "output/Page.h"
#include "palette/Palette.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"

#include <QTest>

using namespace tintwave;

namespace {

// Standard streams, settings and files of one run, all in memory.
class MemoryIo : public cli::CliIo {
public:
    QByteArray readInput() override { return input; }
    bool writeOutput(const QByteArray& bytes) override {
        out += bytes;
        ++writes;
        return !stdoutBroken;
    }
    void writeError(const QString& line) override { err << line; }
    platform::SettingsStore& settings() override { return store; }
    platform::FileWriter& files() override { return writer; }

    QByteArray input;
    bool stdoutBroken = false;
    QByteArray out;
    int writes = 0;
    QStringList err;
    platform::MemorySettingsStore store;
    platform::MemoryFileWriter writer;
};

const QString app = QStringLiteral("tintwave");

void addUserScheme(platform::MemorySettingsStore& store, int number, const QString& title,
                   ColorValue slot0) {
    const QString section = QStringLiteral("scheme%1").arg(number);
    store.SaveSetting(app, QStringLiteral("general"), QStringLiteral("numSchemes"),
                      QString::number(number));
    store.SaveSetting(app, section, QStringLiteral("title"), title);
    for (int i = 0; i < kSlotCount; ++i)
        store.SaveSetting(app, section, QStringLiteral("box%1").arg(i),
                          QString::number(i == 0 ? slot0 : palette::gColor));
}

cli::CliOptions textOptions(const QString& text) {
    cli::CliOptions o;
    o.text = text;
    return o;
}

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textFromInput_dropsOneFinalLineBreakAndDecodesUtf8_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("LF") << QByteArray("ab\n") << "ab";
        QTest::newRow("CR LF") << QByteArray("ab\r\n") << "ab";
        QTest::newRow("only one of two") << QByteArray("ab\r\n\r\n") << "ab\r\n";
        QTest::newRow("bare CR kept") << QByteArray("ab\r") << "ab\r";
        QTest::newRow("inner breaks kept") << QByteArray("a\nb") << "a\nb";
        QTest::newRow("just a break") << QByteArray("\n") << "";
        QTest::newRow("utf-8") << QByteArray("Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC\n")
                               << QString::fromUtf8("Grüße €");
        QTest::newRow("invalid byte") << QByteArray("a\xFF"
                                                    "b")
                                      << QStringLiteral("a\uFFFDb");
    }

    void textFromInput_dropsOneFinalLineBreakAndDecodesUtf8() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cli::textFromInput(bytes), text);
    }

    void run_schemeName_findsPresetBeforeUserScheme_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("preset") << "Spectrum"
                                << QByteArray("<font color=\"#FF0000\">A</font>"
                                              "<font color=\"#FFFF00\">B</font>\n");
        QTest::newRow("preset wins over user title")
            << "Blue-Red"
            << QByteArray("<font color=\"#0000FF\">A</font>"
                          "<font color=\"#5500AA\">B</font>\n");
        QTest::newRow("first user scheme of that title")
            << "Mine"
            << QByteArray("<font color=\"#00FF00\">A</font><font color=\"#00FF00\">B</font>\n");
        QTest::newRow("caption with access key marker is no name") << "&Spectrum" << QByteArray();
        QTest::newRow("title is matched exactly") << "mine" << QByteArray();
    }

    void run_schemeName_findsPresetBeforeUserScheme() {
        QFETCH(QString, name);
        QFETCH(QByteArray, code);
        MemoryIo io;
        addUserScheme(io.store, 1, QStringLiteral("Blue-Red"), 0x000000);
        addUserScheme(io.store, 2, QStringLiteral("Mine"), 0x00FF00);
        addUserScheme(io.store, 3, QStringLiteral("Mine"), 0xFFFFFF);
        cli::CliOptions o = textOptions(QStringLiteral("AB"));
        o.scheme = name;
        o.style.center = false;
        QCOMPARE(cli::run(o, io), code.isEmpty() ? cli::kExitUsage : cli::kExitOk);
        QCOMPARE(io.out, code);
    }

    void run_writeFailure_isUsageErrorNamingFileAndReason() {
        MemoryIo io;
        io.writer.failWith = QStringLiteral("Permission denied");
        cli::CliOptions o = textOptions(QStringLiteral("A"));
        o.colors = cli::parseColorList(u"#000000").slotValues;
        o.outputPath = QStringLiteral("/ro/out.html");
        QCOMPARE(cli::run(o, io), cli::kExitUsage);
        QCOMPARE(io.err,
                 QStringList{"tintwave-cli: cannot write '/ro/out.html': Permission denied"});

        MemoryIo broken;
        broken.stdoutBroken = true;
        o.outputPath.clear();
        QCOMPARE(cli::run(o, broken), cli::kExitUsage);
        QCOMPARE(broken.err, QStringList{"tintwave-cli: cannot write to standard output"});
    }

    void run_longText_streamsTheSameBytesAsTheWholeCode_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("page");
        QTest::addColumn<bool>("toFile");
        QTest::newRow("ansi to stdout") << "ansi" << false << false;
        QTest::newRow("span page to stdout") << "span" << true << false;
        QTest::newRow("bbcode to file") << "bbcode" << false << true;
        QTest::newRow("font page to file") << "font" << true << true;
    }

    // Far more than one block of output, with characters that take several bytes.
    void run_longText_streamsTheSameBytesAsTheWholeCode() {
        QFETCH(QString, format);
        QFETCH(bool, page);
        QFETCH(bool, toFile);
        MemoryIo io;
        cli::CliOptions o = textOptions(QStringLiteral("Grüße € 😀 <[b]> ").repeated(20'000));
        o.colors = cli::parseColorList(u"#FF0000,#00FF00,#0000FF").slotValues;
        o.style.output.format = *engine::parseFormat(format);
        o.page = page;
        if (toFile)
            o.outputPath = QStringLiteral("/out");
        QCOMPARE(cli::run(o, io), cli::kExitOk);

        const QString code = engine::colorize(*o.text, *o.colors, o.style).code;
        const QByteArray expected =
            page ? output::buildPage(code, kWhite, platform::FixedSystemColors())
                 : code.toUtf8() + '\n';
        QCOMPARE(toFile ? io.writer.files.value(o.outputPath) : io.out, expected);
        QVERIFY(expected.size() > 4'000'000);
        QCOMPARE(io.writes > 1, !toFile); // standard output in blocks, a file whole
    }
};

QTEST_GUILESS_MAIN(RunTest)
#include "tst_run.moc"
