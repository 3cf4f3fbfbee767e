// Runs the built desktop program on its own X server, as a user's script starts it, and
// quits it from the keyboard after a Copy HTML, when it owns the clipboard.

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class QuitProcessTest : public QObject {
    Q_OBJECT

    QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();

    // Runs xdotool on the test's display; its output, trimmed.
    QByteArray xdotool(const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start(QStringLiteral("xdotool"), args);
        return p.waitForFinished(20000) && p.exitCode() == 0 ? p.readAllStandardOutput().trimmed()
                                                             : QByteArray();
    }

private Q_SLOTS:
    // The windows go at once and the process must not outlive them: the one waiting for it
    // sees it end well within a second.
    void ctrlQ_endsTheProcessPromptly_whileOwningTheClipboard() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xdotool").isEmpty()) {
            QSKIP("Needs Xvfb and xdotool (scripts/install-deps.sh installs them).");
        }
        QProcess server;
        server.start("Xvfb",
                     {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        QVERIFY(server.waitForReadyRead(20000));
        const QTemporaryDir home;
        env_.insert("DISPLAY", ':' + server.readLine().trimmed());
        env_.insert("QT_QPA_PLATFORM", "xcb");
        env_.insert("XDG_CONFIG_HOME", home.path());
        env_.insert("XDG_RUNTIME_DIR", home.path());
        QProcess program;
        program.setProcessEnvironment(env_);
        program.start(TINTWAVE_PATH);
        QVERIFY(!xdotool({"search", "--sync", "--onlyvisible", "--class", "tintwave"}).isEmpty());
        xdotool({"mousemove", "640", "512", "click", "1"}); // the splash goes on a click
        const QByteArray window =
            xdotool({"search", "--sync", "--onlyvisible", "--name", "^Tintwave 1.0$"});
        QVERIFY(!window.isEmpty());
        xdotool({"windowfocus", "--sync", window});
        // Text, Random Colors, Colorize, Copy HTML; a button's access key clicks it 100 ms on.
        xdotool({"type", "hi"});
        for (const char* key : {"alt+n", "Return", "alt+c"}) {
            xdotool({"key", key});
            QTest::qWait(400);
        }
        QElapsedTimer quitting;
        quitting.start();
        xdotool({"key", "ctrl+q"});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(quitting.elapsed() < 1000, qPrintable(QString::number(quitting.elapsed())));
    }
};

QTEST_GUILESS_MAIN(QuitProcessTest)
#include "tst_quit_process.moc"
