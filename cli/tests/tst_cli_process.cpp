// Runs the built tintwave-cli as a separate process, as scripts use it: exit codes, which
// stream gets what, bytes exactly as written, settings read from the real file.

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

const QStringList kBlackToWhite{"--colors", "#000000,,,,,#FFFFFF", "--no-center"};
const QByteArray kWorkedExample =
    "<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font><font "
    "color=\"#555555\">C</font><font color=\"#808080\">D</font><font "
    "color=\"#AAAAAA\">E</font>\n";

} // namespace

class CliProcessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;

    Outcome runCli(const QStringList& args, const QByteArray& input = {}) {
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
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    // A successful run: exactly out on standard output, nothing on standard error.
    void expectOutput(const QStringList& args, const QByteArray& out,
                      const QByteArray& input = {}) {
        const Outcome r = runCli(args, input);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, out);
    }
    QString outFile() const { return home_->filePath(QStringLiteral("out.html")); }

private Q_SLOTS:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        QVERIFY(home_->isValid());
    }

    // Standard input loses one final CR LF or LF, read as bytes.
    void workedExample_givesExactCodeLineFromTextOrStandardInput() {
        expectOutput(kBlackToWhite + QStringList{"--text", "ABCDE"}, kWorkedExample);
        expectOutput(kBlackToWhite, kWorkedExample, "ABCDE\r\n");
        expectOutput(kBlackToWhite, kWorkedExample, "ABCDE\n");
    }

    void refusal_printsMessageExitsOneAndWritesNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("err");
        const QByteArray noText = "You must type something.\n";
        const QByteArray noColor = "You must select at least one color\n";
        QTest::newRow("empty --text")
            << QStringList{"--text", "", "--colors", "#000000"} << QByteArray("ignored") << noText;
        QTest::newRow("only a line break on stdin")
            << QStringList{"--colors", "#000000"} << QByteArray("\r\n") << noText;
        QTest::newRow("no colour option") << QStringList{"--text", "AB"} << QByteArray() << noColor;
        QTest::newRow("only empty entries")
            << QStringList{"--text", "AB", "--colors", ",,,"} << QByteArray() << noColor;
    }
    void refusal_printsMessageExitsOneAndWritesNothing() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, err);
        for (const bool toFile : {false, true}) {
            const Outcome r = runCli(toFile ? args + QStringList{"-o", outFile()} : args, input);
            QCOMPARE(r.exitCode, 1);
            QCOMPARE(r.err, err);
            QCOMPARE(r.out, QByteArray());
            QVERIFY(!QFile::exists(outFile()));
        }
    }

    // From the parser, from the run, and from writing the file: one line, exit 2, no output.
    void usageError_exitsTwoWithOneLineAndWritesNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("err"); // the whole line, or its start without the LF
        QTest::newRow("unknown option") << QStringList{"--text", "A", "--shiny"}
                                        << QByteArray("tintwave-cli: Unknown option 'shiny'.\n");
        QTest::newRow("unknown scheme") << QStringList{"--text", "A", "--scheme", "spectrum"}
                                        << QByteArray("tintwave-cli: unknown scheme 'spectrum' "
                                                      "(see --list-schemes)\n");
        QTest::newRow("unwritable file")
            << QStringList{"--text", "A", "--colors", "#000000", "-o", "missing/out.html"}
            << QByteArray("tintwave-cli: cannot write 'missing/out.html': ");
    }
    void usageError_exitsTwoWithOneLineAndWritesNothing() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, err);
        const Outcome r = runCli(args.contains("-o") ? args : args + QStringList{"-o", outFile()});
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.endsWith('\n'));
        QCOMPARE(err.endsWith('\n') ? r.err : r.err.left(err.size()), err);
        QCOMPARE(QDir(home_->path()).entryList(QDir::Files), QStringList());
    }

    void page_writesExactWindows1252Bytes() {
        expectOutput({"--page", "--background", "#0008ff", "--colors", "#FF0000", "--bold",
                      "--face", "Arial", "--text", "é€😀"},
                     QByteArray("<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
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

    void outputFile_isReplacedWholeAndStdoutStaysEmpty() {
        QFile old(outFile());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();

        const Outcome r = runCli(kBlackToWhite + QStringList{"--text", "ABCDE", "-o", outFile()});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray());
        QFile written(outFile());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), kWorkedExample);
        // Nothing but the target is left behind in the folder.
        QCOMPARE(QDir(home_->path()).entryList(QDir::Files), QStringList{"out.html"});
    }

    // User schemes come from the settings file: titles after the presets, colours by title.
    void schemes_listAndColorizeFromPresetsAndSettingsFile() {
        QByteArray ini = "[general]\nnumSchemes=2\n[scheme2]\ntitle=Spectrum\nbox0=0\n"
                         "[scheme1]\ntitle=Two Tone \xC3\xBC\n";
        // Slot 0 blue (16711680), slot 1 empty (-2147483633), slot 2 red, the rest empty.
        const QList<int> boxes{16711680, -2147483633, 255};
        for (int i = 0; i < 10; ++i)
            ini += "box" + QByteArray::number(i) + "=" +
                   QByteArray::number(i < 3 ? boxes[i] : -2147483633) + "\n";
        QVERIFY(QDir().mkpath(home_->filePath(QStringLiteral("config/tintwave"))));
        QFile file(home_->filePath(QStringLiteral("config/tintwave/tintwave.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
        file.close();

        expectOutput({"--list-schemes"},
                     QByteArray("Spectrum\nRed-Green\nViolet-Orange\nBlue-Red-Yellow\n"
                                "Blue-Yellow-Blue\nOrange-Yellow-Orange\nViolet-Green-Orange\n"
                                "Yellow-Violet-Orange-Blue\nCopper\nGray-White-Gray\n"
                                "Black-White-Black\nWhite-Black-White\nGray-Black-Gray\n"
                                "Blue-Turq-Blue\nBlue-Green-Blue\nNavy-Blue-Turq\n"
                                "Red-Orange-Yellow-White\nOrange-Yellow-Light Yellow\n"
                                "Flames\nTurq-Yellow\nYellow-Pink\nGreen-Yellow\nBlue-Red\n"
                                "Two Tone \xC3\xBC\nSpectrum\n"));

        expectOutput({"--scheme", "Orange-Yellow-Light Yellow", "--text", "AB", "--no-center"},
                     "<font color=\"#FF8040\">A</font><font color=\"#FFC020\">B</font>\n");
        expectOutput({"--scheme", "Two Tone ü", "--text", "AB", "--no-center"},
                     "<font color=\"#0000FF\">A</font><font color=\"#5500AA\">B</font>\n");
    }

    // -h wins over any other option.
    void helpAndVersion_goToStdoutWithExitZero() {
        for (const QStringList& args : {QStringList{"--help"}, QStringList{"--bold", "-h"}}) {
            const Outcome help = runCli(args);
            QCOMPARE(help.exitCode, 0);
            QVERIFY(help.out.startsWith("Usage: tintwave-cli [options]\n"));
            QVERIFY(help.out.contains("U+FFFD"));
            QCOMPARE(help.err, QByteArray());
        }
        const Outcome version = runCli({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("tintwave-cli 1.0.0\n"));
    }

    void format_givesExactCodeLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("span, even oklab")
            << QStringList{"--text",      "a<[b]",    "--colors", "#000000,#FFFFFF",
                           "--no-center", "--format", "span",     "--spread",
                           "even",        "--blend",  "oklab"}
            << QByteArray("<span style=\"color:#000000\">a</span><span style=\"color:#222222\">"
                          "&lt;</span><span style=\"color:#636363\">[</span><span style=\"color:"
                          "#AEAEAE\">b</span><span style=\"color:#FFFFFF\">]</span>\n");
        QTest::newRow("bbcode, centred bold")
            << QStringList{"--text",   "[b]",    "--colors", "#FF0000",
                           "--format", "bbcode", "--bold",   "--merge"}
            << QByteArray(
                   "[center][b][color=#FF0000][[/color][color=#FF0000]b][/color][/b][/center]\n");
        QTest::newRow("ansi from stdin, merged")
            << QStringList{"--colors", "#FF0000", "--format", "ansi", "--merge"}
            << QByteArray("\x1b[38;2;255;0;0mab\x1b[0m\n\x1b[38;2;255;0;0mc\x1b[0m\n");
    }
    void format_givesExactCodeLine() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        expectOutput(args, out, "ab\nc\n");
    }
};

QTEST_GUILESS_MAIN(CliProcessTest)
#include "tst_cli_process.moc"
