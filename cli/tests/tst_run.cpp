#include "cli/Run.h"
#include "palette/Palette.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"

#include <QTest>

using namespace tintwave;

namespace {

// Standard streams, settings and files of one run, all in memory.
class MemoryIo : public cli::CliIo {
public:
    QByteArray readInput() override {
        ++inputReads;
        return input;
    }
    bool writeOutput(const QByteArray& bytes) override {
        out += bytes;
        return !stdoutBroken;
    }
    void writeError(const QString& line) override { err << line; }
    platform::SettingsStore& settings() override { return store; }
    platform::FileWriter& files() override { return writer; }

    QByteArray input;
    int inputReads = 0;
    bool stdoutBroken = false;
    QByteArray out;
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
    void textFromInput_dropsOneFinalLineBreakAndDecodesUtf8_data();
    void textFromInput_dropsOneFinalLineBreakAndDecodesUtf8();
    void run_standardInput_isReadOnlyWithoutText();
    void run_schemeName_findsPresetBeforeUserScheme_data();
    void run_schemeName_findsPresetBeforeUserScheme();
    void run_unknownScheme_isUsageErrorWithNothingWritten();
    void run_colorizeRefusal_printsMessageOnlyAndExitsOne_data();
    void run_colorizeRefusal_printsMessageOnlyAndExitsOne();
    void run_storeNotice_isReportedOnceAndRunCarriesOn();
    void run_listSchemes_givesPresetsThenUserTitles();
    void run_outputFile_getsTheBytesAndStdoutStaysEmpty();
    void run_writeFailure_isUsageErrorNamingFileAndReason();
    void run_page_isTheWindows1252PageWithTheBackground();
};

void RunTest::textFromInput_dropsOneFinalLineBreakAndDecodesUtf8_data() {
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

void RunTest::textFromInput_dropsOneFinalLineBreakAndDecodesUtf8() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(cli::textFromInput(bytes), text);
}

void RunTest::run_standardInput_isReadOnlyWithoutText() {
    MemoryIo io;
    io.input = "AB\r\n";
    cli::CliOptions o;
    o.colors = palette::Palette::empty().values();
    (*o.colors)[0] = 255;
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    QCOMPARE(io.inputReads, 1);
    QCOMPARE(io.out, QByteArray("<center><font color=\"#FF0000\">A</font>"
                                "<font color=\"#FF0000\">B</font></center>\n"));

    o.text = QStringLiteral("C");
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    QCOMPARE(io.inputReads, 1);
}

void RunTest::run_schemeName_findsPresetBeforeUserScheme_data() {
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

void RunTest::run_schemeName_findsPresetBeforeUserScheme() {
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

void RunTest::run_unknownScheme_isUsageErrorWithNothingWritten() {
    MemoryIo io;
    cli::CliOptions o = textOptions(QStringLiteral("AB"));
    o.scheme = QStringLiteral("Nope");
    o.outputPath = QStringLiteral("/out.html");
    QCOMPARE(cli::run(o, io), cli::kExitUsage);
    QCOMPARE(io.err, QStringList{"tintwave-cli: unknown scheme 'Nope' (see --list-schemes)"});
    QVERIFY(io.out.isEmpty());
    QVERIFY(io.writer.files.isEmpty());
}

void RunTest::run_colorizeRefusal_printsMessageOnlyAndExitsOne_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withColor");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty text") << "" << true << "You must type something.";
    QTest::newRow("empty text wins") << "" << false << "You must type something.";
    QTest::newRow("no colour given") << "AB" << false << "You must select at least one color";
}

void RunTest::run_colorizeRefusal_printsMessageOnlyAndExitsOne() {
    QFETCH(QString, text);
    QFETCH(bool, withColor);
    QFETCH(QString, message);
    for (const QString& path : {QString(), QStringLiteral("/out.html")}) {
        MemoryIo io;
        cli::CliOptions o = textOptions(text);
        if (withColor)
            o.colors = cli::parseColorList(u"#000000").slotValues;
        o.outputPath = path;
        QCOMPARE(cli::run(o, io), cli::kExitNothingToColor);
        QCOMPARE(io.err, QStringList{message});
        QVERIFY(io.out.isEmpty());
        QVERIFY(io.writer.files.isEmpty());
    }
}

void RunTest::run_storeNotice_isReportedOnceAndRunCarriesOn() {
    MemoryIo io;
    io.store.pendingNotice = QStringLiteral("settings file was unreadable; set aside as x.bad");
    addUserScheme(io.store, 1, QStringLiteral("Mine"), 0x0000FF);
    cli::CliOptions o = textOptions(QStringLiteral("A"));
    o.scheme = QStringLiteral("Mine");
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    QCOMPARE(io.err, QStringList{"tintwave-cli: settings file was unreadable; set aside as x.bad"});
    QCOMPARE(io.out, QByteArray("<center><font color=\"#FF0000\">A</font></center>\n"));
}

void RunTest::run_listSchemes_givesPresetsThenUserTitles() {
    MemoryIo io;
    addUserScheme(io.store, 1, QStringLiteral("Zeta"), 0);
    addUserScheme(io.store, 2, QStringLiteral("Alpha Ü"), 0);
    cli::CliOptions o;
    o.action = cli::Action::ListSchemes;
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    const QStringList lines = QString::fromUtf8(io.out).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 23 + 2 + 1);
    QCOMPARE(lines.first(), QStringLiteral("Spectrum"));
    QCOMPARE(lines.at(1), QStringLiteral("Red-Green"));
    QCOMPARE(lines.at(22), QStringLiteral("Blue-Red"));
    QCOMPARE(lines.mid(23), (QStringList{"Zeta", "Alpha Ü", ""}));
    QVERIFY(io.err.isEmpty());
}

void RunTest::run_outputFile_getsTheBytesAndStdoutStaysEmpty() {
    MemoryIo io;
    cli::CliOptions o = textOptions(QStringLiteral("é"));
    o.colors = cli::parseColorList(u"#000000").slotValues;
    o.style.center = false;
    o.outputPath = QStringLiteral("/out.html");
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    QVERIFY(io.out.isEmpty());
    QCOMPARE(io.writer.files.value(o.outputPath),
             QByteArray("<font color=\"#000000\">\xC3\xA9</font>\n"));
}

void RunTest::run_writeFailure_isUsageErrorNamingFileAndReason() {
    MemoryIo io;
    io.writer.failWith = QStringLiteral("Permission denied");
    cli::CliOptions o = textOptions(QStringLiteral("A"));
    o.colors = cli::parseColorList(u"#000000").slotValues;
    o.outputPath = QStringLiteral("/ro/out.html");
    QCOMPARE(cli::run(o, io), cli::kExitUsage);
    QCOMPARE(io.err, QStringList{"tintwave-cli: cannot write '/ro/out.html': Permission denied"});

    MemoryIo broken;
    broken.stdoutBroken = true;
    o.outputPath.clear();
    QCOMPARE(cli::run(o, broken), cli::kExitUsage);
    QCOMPARE(broken.err, QStringList{"tintwave-cli: cannot write to standard output"});
}

void RunTest::run_page_isTheWindows1252PageWithTheBackground() {
    MemoryIo io;
    cli::CliOptions o = textOptions(QStringLiteral("€"));
    o.colors = cli::parseColorList(u"#FF0000").slotValues;
    o.page = true;
    o.background = 0x00 + 256 * 0x08 + 65536 * 0xFF;
    QCOMPARE(cli::run(o, io), cli::kExitOk);
    QCOMPARE(io.out, QByteArray("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
                                "<body bgcolor=\"0008FF\">\r\n"
                                "<center><font color=\"#FF0000\">\x80</font></center>\r\n"
                                "</body>\r\n</html>\r\n"));
}

QTEST_GUILESS_MAIN(RunTest)
#include "tst_run.moc"
