// Runs the built tintwave-cli as a separate process, as scripts use it: exit codes, which
// stream gets what, the file written with -o, settings read from the real file.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class CliProcessTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_; // the settings folder of every run

    // Exit code, standard output and standard error of one run.
    QList<QByteArray> runCli(const QStringList& args, const QByteArray& input = {}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        process.setProcessEnvironment(env);
        process.start(TINTWAVE_CLI_PATH, args);
        process.write(input);
        process.closeWriteChannel();
        const bool exited =
            process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
        return {QByteArray::number(exited ? process.exitCode() : -1),
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

private Q_SLOTS:
    // Standard input loses one final CR LF; problems go to standard error, one line each.
    void run_exitCodeAndStreams_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QList<QByteArray>>("outcome"); // exit code, stdout, stderr
        const auto row = [](const char* name, const QStringList& args, const QByteArray& input,
                            const QList<QByteArray>& outcome) {
            QTest::newRow(name) << args << input << outcome;
        };
        row("text option, centred", {"--text", "A", "--colors", "#FF0000"}, "ignored",
            {"0", "<center><font color=\"#FF0000\">A</font></center>\n", ""});
        row("stdin, CR LF", {"--colors", "#FF0000", "--no-center"}, "A\r\n",
            {"0", "<font color=\"#FF0000\">A</font>\n", ""});
        row("only a line break on stdin", {"--colors", "#000000"}, "\r\n",
            {"1", "", "You must type something.\n"});
        row("unknown option", {"--text", "A", "--shiny"}, "",
            {"2", "", "tintwave-cli: Unknown option 'shiny'.\n"});
        row("version", {"--bold", "--version"}, "", {"0", "tintwave-cli 1.0.0\n", ""});
        // Each line from black to white; the final line break goes, CR LF inside becomes LF.
        row("stdin lines, template, per line",
            {"--colors", "#000000,#FFFFFF", "--spread", "even", "--per-line", "--format",
             "template", "--template", "{r}{c}"},
            "ab\r\nc\n", {"0", "0a255b\n0c\n", ""});
        row("-o -", {"--text", "A", "--colors", "#FF0000", "--no-center", "-o", "-"}, "",
            {"0", "<font color=\"#FF0000\">A</font>\n", ""});
        // Not a terminal: the code once, at once.
        row("--animate into a pipe",
            {"--text", "A", "--colors", "#FF0000", "--format", "ansi", "--animate", "0"}, "",
            {"0", "\x1b[38;2;255;0;0mA\x1b[0m\n", ""});
        // 8 + 1 per character unmerged; merged at 2 per colour: "&#000000ab&#FFFFFFc".
        row("max-length",
            {"--text", "abc", "--colors", "#000000,#FFFFFF", "--format", "mc-hex", "--spread",
             "even", "--max-length", "19"},
            "",
            {"0", "&#000000ab&#FFFFFFc\n", "tintwave-cli: 2 characters per colour, 19 of 19\n"});
        // The runs of the shown colours: 04 red, 09 green, 12 blue, 04, one character each;
        // three per colour takes the middles a and b.
        row("max-length irc",
            {"--text", ",a,b", "--colors", "#FF0000,#00FC00,#0000FC,#FF0000", "--spread", "even",
             "--format", "irc", "--max-length", "14"},
            "",
            {"0",
             "\x03"
             "09\x02\x02,a,\x03"
             "04b\x0F\n",
             "tintwave-cli: 3 characters per colour, 13 of 14\n"});
        // One colour spares a code and costs a zero-width space (U+200B, in UTF-8) between
        // the backticks.
        row("max-length discord",
            {"--text", "``", "--colors", "#DC322F,#859900", "--spread", "even", "--format",
             "discord", "--max-length", "27"},
            "",
            {"0", "```ansi\n\x1b[0;31m`\xe2\x80\x8b`\n```\n",
             "tintwave-cli: 2 characters per colour, 22 of 27\n"});
        row("max-length too short",
            {"--text", "abc", "--colors", "#000000", "--format", "mc-hex", "--max-length", "10"},
            "",
            {"1", "", "tintwave-cli: cannot fit in 10 characters; the shortest form needs 11\n"});
    }
    void run_exitCodeAndStreams() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QList<QByteArray>, outcome);
        QCOMPARE(runCli(args, input), outcome);
    }

    // User schemes come from the settings file (titles after the presets, colours by a title
    // given in UTF-8); -o writes the code to the file and leaves nothing else behind, and
    // writes into a FIFO for its reader without putting a regular file in its place.
    void settingsAndOutput_areRealFiles() {
        QVERIFY(QDir().mkpath(home_.filePath("config/tintwave")));
        QFile ini(home_.filePath("config/tintwave/tintwave.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[general]\nnumSchemes=1\n[scheme1]\ntitle=T\xC3\xBC\nbox0=255\n");
        ini.close();
        QVERIFY(runCli({"--list-schemes"})[1].endsWith("Blue-Red\nT\xC3\xBC\n"));
        QFile out(home_.filePath("out.html"));
        QCOMPARE(runCli({"--scheme", "Tü", "--text", "A", "--no-center", "-o", out.fileName()}),
                 QList<QByteArray>({"0", "", ""}));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), "<font color=\"#FF0000\">A</font>\n");
        const QString fifo = home_.filePath("fifo");
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        runCli({"--text", "B", "--colors", "#FF0000", "--no-center", "-o", fifo});
        char got[64] = {};
        QCOMPARE(QByteArray(got, read(reader, got, sizeof got)),
                 "<font color=\"#FF0000\">B</font>\n");
        close(reader);
        QCOMPARE(QDir(home_.path()).entryList(QDir::Files), QStringList{"out.html"});
    }
};

QTEST_GUILESS_MAIN(CliProcessTest)
#include "tst_cli_process.moc"
