// Runs the built tintwave-cli as a separate process, as scripts use it.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray kWorkedExample =
    "<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font><font "
    "color=\"#555555\">C</font><font color=\"#808080\">D</font><font "
    "color=\"#AAAAAA\">E</font>\n";

} // namespace

class CliProcessTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void workedExample_givesExactCodeLine();
    void standardInput_dropsOneFinalLineBreak_data();
    void standardInput_dropsOneFinalLineBreak();
    void refusal_printsMessageExitsOneAndWritesNothing_data();
    void refusal_printsMessageExitsOneAndWritesNothing();
    void page_writesExactWindows1252Bytes();
    void outputFile_isReplacedWholeAndStdoutStaysEmpty();
    void outputFile_unwritable_isUsageError();
    void listSchemes_givesPresetsThenUserTitles();
    void scheme_findsPresetAndUserScheme_data();
    void scheme_findsPresetAndUserScheme();
    void usageError_exitsTwoWithOneLine_data();
    void usageError_exitsTwoWithOneLine();
    void helpAndVersion_goToStdoutWithExitZero();
    void format_givesExactCodeLine_data();
    void format_givesExactCodeLine();

private:
    Outcome runCli(const QStringList& args, const QByteArray& input = {});
    void writeSettings(const QByteArray& ini);

    std::unique_ptr<QTemporaryDir> home_;
};

void CliProcessTest::init() {
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
}

Outcome CliProcessTest::runCli(const QStringList& args, const QByteArray& input) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home_->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_->filePath(QStringLiteral("config")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home_->path());
    process.start(QStringLiteral(TINTWAVE_CLI_PATH), args);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void CliProcessTest::writeSettings(const QByteArray& ini) {
    const QString dir = home_->filePath(QStringLiteral("config/tintwave"));
    QVERIFY(QDir().mkpath(dir));
    QFile file(dir + QStringLiteral("/tintwave.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ini);
}

void CliProcessTest::workedExample_givesExactCodeLine() {
    const Outcome r = runCli({"--text", "ABCDE", "--colors", "#000000,,,,,#FFFFFF", "--no-center"});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, kWorkedExample);
}

void CliProcessTest::standardInput_dropsOneFinalLineBreak_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("CR LF") << QByteArray("ABCDE\r\n") << kWorkedExample;
    QTest::newRow("LF") << QByteArray("ABCDE\n") << kWorkedExample;
    QTest::newRow("none") << QByteArray("ABCDE") << kWorkedExample;
    QTest::newRow("second break kept")
        << QByteArray("A\n\n")
        << QByteArray("<font color=\"#000000\">A</font><font color=\"#555555\">\n</font>\n");
    QTest::newRow("invalid utf-8 replaced")
        << QByteArray("\xFF") << QByteArray("<font color=\"#000000\">\xEF\xBF\xBD</font>\n");
}

void CliProcessTest::standardInput_dropsOneFinalLineBreak() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, out);
    const Outcome r = runCli({"--colors", "#000000,,,,,#FFFFFF", "--no-center"}, input);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, out);
}

void CliProcessTest::refusal_printsMessageExitsOneAndWritesNothing_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("empty --text") << QStringList{"--text", "", "--colors", "#000000"}
                                  << QByteArray("ignored")
                                  << QByteArray("You must type something.\n");
    QTest::newRow("only a line break on stdin")
        << QStringList{"--colors", "#000000"} << QByteArray("\r\n")
        << QByteArray("You must type something.\n");
    QTest::newRow("no colour option") << QStringList{"--text", "AB"} << QByteArray()
                                      << QByteArray("You must select at least one color\n");
    QTest::newRow("only empty entries")
        << QStringList{"--text", "AB", "--colors", ",,,"} << QByteArray()
        << QByteArray("You must select at least one color\n");
}

void CliProcessTest::refusal_printsMessageExitsOneAndWritesNothing() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, err);
    for (const bool toFile : {false, true}) {
        const QString file = home_->filePath(QStringLiteral("out.html"));
        const Outcome r = runCli(toFile ? args + QStringList{"-o", file} : args, input);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, err);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!QFile::exists(file));
    }
}

void CliProcessTest::page_writesExactWindows1252Bytes() {
    const Outcome r = runCli({"--page", "--background", "#0008ff", "--colors", "#FF0000", "--bold",
                              "--face", "Arial", "--text", "é€😀"});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
                               "<body bgcolor=\"0008FF\">\r\n"
                               "<center><b><font face=\"Arial\">"
                               "<font color=\"#FF0000\">\xE9</font>"
                               "<font color=\"#FF0000\">\x80</font>"
                               "<font color=\"#FF0000\">&#128512;</font>"
                               "</font></b></center>\r\n"
                               "</body>\r\n</html>\r\n"));

    const Outcome white = runCli({"--page", "--colors", "#000000", "--text", "x"});
    QVERIFY(white.out.contains("\r\n<body bgcolor=\"FFFFFF\">\r\n"));
}

void CliProcessTest::outputFile_isReplacedWholeAndStdoutStaysEmpty() {
    const QString path = home_->filePath(QStringLiteral("out.html"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    const Outcome r =
        runCli({"--text", "ABCDE", "--colors", "#000000,,,,,#FFFFFF", "--no-center", "-o", path});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), kWorkedExample);
    // Nothing but the target is left behind in the folder.
    QCOMPARE(QDir(home_->path()).entryList(QDir::Files), QStringList{"out.html"});
}

void CliProcessTest::outputFile_unwritable_isUsageError() {
    const QString path = home_->filePath(QStringLiteral("missing/out.html"));
    const Outcome r = runCli({"--text", "A", "--colors", "#000000", "-o", path});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.startsWith("tintwave-cli: cannot write '" + path.toUtf8() + "': "), r.err);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY(r.err.endsWith('\n'));
}

void CliProcessTest::listSchemes_givesPresetsThenUserTitles() {
    writeSettings("[general]\nnumSchemes=2\n"
                  "[scheme1]\ntitle=Sunset \xC3\xBC\nbox0=255\n"
                  "[scheme2]\ntitle=Spectrum\nbox0=0\n");
    const Outcome r = runCli({"--list-schemes"});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("Spectrum\nRed-Green\nViolet-Orange\nBlue-Red-Yellow\n"
                               "Blue-Yellow-Blue\nOrange-Yellow-Orange\nViolet-Green-Orange\n"
                               "Yellow-Violet-Orange-Blue\nCopper\nGray-White-Gray\n"
                               "Black-White-Black\nWhite-Black-White\nGray-Black-Gray\n"
                               "Blue-Turq-Blue\nBlue-Green-Blue\nNavy-Blue-Turq\n"
                               "Red-Orange-Yellow-White\nOrange-Yellow-Light Yellow\nFlames\n"
                               "Turq-Yellow\nYellow-Pink\nGreen-Yellow\nBlue-Red\n"
                               "Sunset \xC3\xBC\nSpectrum\n"));
}

void CliProcessTest::scheme_findsPresetAndUserScheme_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("preset") << "Orange-Yellow-Light Yellow"
                            << QByteArray("<font color=\"#FF8040\">A</font>"
                                          "<font color=\"#FFC020\">B</font>\n");
    // Slot 0 blue (16711680), slot 1 empty (-2147483633), slot 2 red.
    QTest::newRow("user") << "Two Tone"
                          << QByteArray("<font color=\"#0000FF\">A</font>"
                                        "<font color=\"#5500AA\">B</font>\n");
}

void CliProcessTest::scheme_findsPresetAndUserScheme() {
    QFETCH(QString, name);
    QFETCH(QByteArray, out);
    QByteArray ini = "[general]\nnumSchemes=1\n[scheme1]\ntitle=Two Tone\n"
                     "box0=16711680\nbox1=-2147483633\nbox2=255\n";
    for (int i = 3; i < 10; ++i)
        ini += "box" + QByteArray::number(i) + "=-2147483633\n";
    writeSettings(ini);
    const Outcome r = runCli({"--scheme", name, "--text", "AB", "--no-center"});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, out);
}

void CliProcessTest::usageError_exitsTwoWithOneLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("unknown option") << QStringList{"--text", "A", "--shiny"}
                                    << QByteArray("tintwave-cli: Unknown option 'shiny'.\n");
    QTest::newRow("bad colour") << QStringList{"--text", "A", "--colors", "#12345G"}
                                << QByteArray("tintwave-cli: --colors entry 1 '#12345G' is not "
                                              "#RRGGBB or empty\n");
    QTest::newRow("unknown scheme") << QStringList{"--text", "A", "--scheme", "spectrum"}
                                    << QByteArray("tintwave-cli: unknown scheme 'spectrum' (see "
                                                  "--list-schemes)\n");
    QTest::newRow("scheme and colors")
        << QStringList{"--text", "A", "--scheme", "Copper", "--colors", "#000000"}
        << QByteArray("tintwave-cli: --scheme and --colors cannot be used together\n");
    QTest::newRow("page with ansi")
        << QStringList{"--text", "A", "--colors", "#000000", "--format", "ansi", "--page"}
        << QByteArray("tintwave-cli: --page needs an HTML format (font or span), not ansi\n");
    QTest::newRow("merge with font")
        << QStringList{"--text", "A", "--colors", "#000000", "--merge"}
        << QByteArray("tintwave-cli: --merge does not apply to --format font (one tag per "
                      "character)\n");
    QTest::newRow("size") << QStringList{"--text", "A", "--size", "3"}
                          << QByteArray("tintwave-cli: --size '3' is not one of None, +1, +2, +3, "
                                        "+4, -1, -2, -3, -4, +5, +6, +7, -5, -6, -7\n");
}

void CliProcessTest::usageError_exitsTwoWithOneLine() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, err);
    const Outcome r = runCli(args);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, QByteArray());
}

void CliProcessTest::helpAndVersion_goToStdoutWithExitZero() {
    const Outcome help = runCli({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Usage: tintwave-cli [options]\n"));
    QVERIFY(help.out.contains("U+FFFD"));
    QCOMPARE(help.err, QByteArray());

    const Outcome version = runCli({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("tintwave-cli 1.0.0\n"));
}

void CliProcessTest::format_givesExactCodeLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");
    const QStringList abc{"--text", "a<[b]", "--colors", "#000000,#FFFFFF", "--no-center"};
    QTest::newRow("span, even oklab")
        << abc + QStringList{"--format", "span", "--spread", "even", "--blend", "oklab"}
        << QByteArray("<span style=\"color:#000000\">a</span><span style=\"color:#222222\">&lt;"
                      "</span><span style=\"color:#636363\">[</span><span style=\"color:#AEAEAE\">"
                      "b</span><span style=\"color:#FFFFFF\">]</span>\n");
    QTest::newRow("bbcode, centred bold")
        << QStringList{"--text",   "[b]",    "--colors", "#FF0000",
                       "--format", "bbcode", "--bold",   "--merge"}
        << QByteArray(
               "[center][b][color=#FF0000][[/color][color=#FF0000]b][/color][/b][/center]\n");
    QTest::newRow("ansi from stdin, merged")
        << QStringList{"--colors", "#FF0000", "--format", "ansi", "--merge"}
        << QByteArray("\x1b[38;2;255;0;0mab\x1b[0m\n\x1b[38;2;255;0;0mc\x1b[0m\n");
}

void CliProcessTest::format_givesExactCodeLine() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    const Outcome outcome = runCli(args, "ab\nc\n");
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, out);
    QVERIFY(outcome.err.isEmpty());
}

QTEST_GUILESS_MAIN(CliProcessTest)
#include "tst_cli_process.moc"
