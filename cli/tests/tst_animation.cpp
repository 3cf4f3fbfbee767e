// Terminal output: the depth --color-depth auto picks, and the animation on a pseudo-terminal
// stopped by each signal, by time, and by a reader that went away.
#include "cli/Animation.h"

#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace tintwave;

Q_DECLARE_METATYPE(tintwave::engine::ColorDepth)

namespace {

const std::vector<QByteArray> kFrames = {"\x1b[38;5;196mAB\x1b[0m", "\x1b[38;5;21mAB\x1b[0m",
                                         "\x1b[38;5;46mAB\x1b[0m"};

// What the terminal got from a child running animate, and how the child ended: its exit
// status is animate's result + 1 (so -1 fits). stopWith: the signal sent once two frames
// have shown; 0 sends none.
struct Outcome {
    QByteArray shown;
    int result = -2;
};

Outcome animateOnTerminal(double seconds, int stopWith) {
    int master = -1, slave = -1;
    termios raw{};
    cfmakeraw(&raw); // the bytes as written, no LF to CR LF
    if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        ::close(master);
        _exit(cli::animate(kFrames, seconds, slave) + 1);
    }
    ::close(slave);
    Outcome outcome;
    bool sent = stopWith == 0;
    for (;;) {
        pollfd wait{master, POLLIN, 0};
        if (poll(&wait, 1, 5000) <= 0) {
            break; // hung: the row fails on what it has
        }
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            break; // the child has closed its side
        }
        outcome.shown.append(buffer, got);
        if (!sent && outcome.shown.contains('\r' + kFrames[1])) {
            ::kill(child, stopWith);
            sent = true;
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ::close(master);
    outcome.result = WIFEXITED(status) ? WEXITSTATUS(status) - 1 : -2;
    return outcome;
}

} // namespace

class TestAnimation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void depth_data() {
        QTest::addColumn<QByteArray>("colorterm");
        QTest::addColumn<QByteArray>("term");
        QTest::addColumn<engine::ColorDepth>("depth");
        QTest::newRow("truecolor")
            << QByteArray("truecolor") << QByteArray("xterm") << engine::ColorDepth::TrueColor;
        QTest::newRow("24bit") << QByteArray("24bit") << QByteArray("")
                               << engine::ColorDepth::TrueColor;
        QTest::newRow("256color") << QByteArray("") << QByteArray("xterm-256color")
                                  << engine::ColorDepth::Xterm256;
        QTest::newRow("screen 256") << QByteArray("yes") << QByteArray("screen.xterm-256color")
                                    << engine::ColorDepth::Xterm256;
        QTest::newRow("xterm") << QByteArray("") << QByteArray("xterm")
                               << engine::ColorDepth::Xterm16;
        QTest::newRow("linux console")
            << QByteArray() << QByteArray("linux") << engine::ColorDepth::Xterm16;
        QTest::newRow("case counts") << QByteArray("TrueColor") << QByteArray("XTERM-256COLOR")
                                     << engine::ColorDepth::Xterm16;
    }
    void depth() {
        QFETCH(QByteArray, colorterm);
        QFETCH(QByteArray, term);
        QFETCH(engine::ColorDepth, depth);
        QCOMPARE(cli::depthForTerminal(colorterm, term), depth);
    }

    // The cursor hidden first, the frames in order over each other, and the colours reset and
    // the cursor shown again at the end, whatever stopped it.
    void animate_restoresTheTerminal_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("result");
        QTest::newRow("Ctrl+C") << 0.0 << SIGINT << SIGINT;
        QTest::newRow("terminated") << 0.0 << SIGTERM << SIGTERM;
        QTest::newRow("hang-up") << 0.0 << SIGHUP << SIGHUP;
        QTest::newRow("time runs out") << 0.4 << 0 << 0;
        QTest::newRow("signal before the time") << 30.0 << SIGINT << SIGINT;
    }
    void animate_restoresTheTerminal() {
        QFETCH(double, seconds);
        QFETCH(int, signal);
        QFETCH(int, result);
        QElapsedTimer timer;
        timer.start();
        const Outcome outcome = animateOnTerminal(seconds, signal);
        QCOMPARE(outcome.result, result);
        QVERIFY(outcome.shown.startsWith("\x1b[?25l\r" + kFrames[0] + '\r' + kFrames[1]));
        QVERIFY(outcome.shown.endsWith("\x1b[0m\x1b[?25h\n"));
        if (signal == 0) {
            // 20 frames a second: eight in 0.4 s, the first at once.
            QCOMPARE(outcome.shown.count('\r'), 8);
            QVERIFY(timer.elapsed() >= 350);
        } else {
            QVERIFY(timer.elapsed() < 5000);
        }
    }

    // Standard output closed under it: no death by SIGPIPE, no endless loop.
    void animate_stopsWhenTheReaderGoes() {
        int ends[2];
        QCOMPARE(pipe(ends), 0);
        ::close(ends[0]);
        QCOMPARE(cli::animate(kFrames, 0, ends[1]), -1);
        ::close(ends[1]);
    }
};

QTEST_GUILESS_MAIN(TestAnimation)
#include "tst_animation.moc"
