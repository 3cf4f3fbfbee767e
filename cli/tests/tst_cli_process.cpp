// Runs the built tintwave-cli as a separate process, as scripts use it: exit codes, which
// stream gets what, bytes exactly as written, settings read from the real file.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class CliProcessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;

    // Exit code, standard output and standard error of one run.
    QList<QByteArray> runCli(const QStringList& args, const QByteArray& input = {}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home_->path());
        env.insert("XDG_CONFIG_HOME", home_->filePath("config"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home_->path());
        process.start(TINTWAVE_CLI_PATH, args);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
            return {};
        }
        return {QByteArray::number(process.exitCode()), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private Q_SLOTS:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        QVERIFY(home_->isValid());
    }

    // Standard input loses one final CR LF or LF; problems go to standard error, one line.
    void run_exitCodeAndStreams_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QList<QByteArray>>("outcome"); // exit code, stdout, stderr
        const QStringList blackToWhite{"--colors", "#000000,,,,,#FFFFFF", "--no-center"};
        const QByteArray code = "<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
                                "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
                                "<font color=\"#AAAAAA\">E</font>\n";
        QTest::newRow("text option") << blackToWhite + QStringList{"--text", "ABCDE"}
                                     << QByteArray("ignored") << QList<QByteArray>{"0", code, ""};
        QTest::newRow("stdin, CR LF")
            << blackToWhite << QByteArray("ABCDE\r\n") << QList<QByteArray>{"0", code, ""};
        QTest::newRow("only a line break on stdin")
            << QStringList{"--colors", "#000000"} << QByteArray("\r\n")
            << QList<QByteArray>{"1", "", "You must type something.\n"};
        QTest::newRow("no colour")
            << QStringList{"--text", "AB"} << QByteArray()
            << QList<QByteArray>{"1", "", "You must select at least one color\n"};
        QTest::newRow("unknown option")
            << QStringList{"--text", "A", "--shiny"} << QByteArray()
            << QList<QByteArray>{"2", "", "tintwave-cli: Unknown option 'shiny'.\n"};
        QTest::newRow("unknown scheme")
            << QStringList{"--text", "A", "--scheme", "spectrum"} << QByteArray()
            << QList<QByteArray>{"2", "",
                                 "tintwave-cli: unknown scheme 'spectrum' (see --list-schemes)\n"};
        QTest::newRow("version") << QStringList{"--bold", "--version"} << QByteArray()
                                 << QList<QByteArray>{"0", "tintwave-cli 1.0.0\n", ""};
    }
    void run_exitCodeAndStreams() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QList<QByteArray>, outcome);
        QCOMPARE(runCli(args, input), outcome);
    }

    // The file is replaced only when everything could be made, and nothing else is left.
    void outputFile_isReplacedWholeOrLeftAlone() {
        const QString out = home_->filePath("out.html");
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QCOMPARE(runCli({"--text", "A", "-o", out})[0], "1");
        QCOMPARE(runCli({"--text", "A", "--colors", "#FF0000", "--no-center", "-o", out}),
                 QList<QByteArray>({"0", "", ""}));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), "<font color=\"#FF0000\">A</font>\n");
        QCOMPARE(QDir(home_->path()).entryList(QDir::Files), QStringList{"out.html"});
    }

    // User schemes come from the settings file: titles after the presets, colours by title.
    void schemes_listAndColorizeFromPresetsAndSettingsFile() {
        QByteArray ini = "[general]\nnumSchemes=2\n[scheme2]\ntitle=Spectrum\nbox0=0\n"
                         "[scheme1]\ntitle=Two Tone \xC3\xBC\nbox0=16711680\nbox1=-2147483633\n"
                         "box2=255\n";
        for (int i = 3; i < 10; ++i) {
            ini += "box" + QByteArray::number(i) + "=-2147483633\n";
        }
        QVERIFY(QDir().mkpath(home_->filePath("config/tintwave")));
        QFile file(home_->filePath("config/tintwave/tintwave.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
        file.close();

        QVERIFY(runCli({"--list-schemes"})[1].endsWith("Blue-Red\nTwo Tone \xC3\xBC\nSpectrum\n"));
        QCOMPARE(runCli({"--scheme", "Two Tone ü", "--text", "AB", "--no-center"})[1],
                 "<font color=\"#0000FF\">A</font><font color=\"#5500AA\">B</font>\n");
    }
};

QTEST_GUILESS_MAIN(CliProcessTest)
#include "tst_cli_process.moc"
