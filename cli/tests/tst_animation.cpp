// tintwave-cli --animate on a pseudo-terminal, stopped by each signal, by time, and by the
// terminal closing.
#include <QTest>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The frames of --frames 2 over "AB" from red to blue, in 256 colours.
const QByteArray kFrame0 = "\x1b[38;5;196mA\x1b[38;5;21mB\x1b[0m";
const QByteArray kFrame1 = "\x1b[38;5;21mA\x1b[38;5;196mB\x1b[0m";

// What the terminal got from tintwave-cli --animate seconds, and its exit status (-1: not an
// exit). stopWith: the signal sent once both frames have shown; 0 sends none, -1 closes the
// terminal instead.
std::pair<QByteArray, int> animateOnTerminal(const char* seconds, int stopWith) {
    termios raw{};
    cfmakeraw(&raw); // the bytes as written, no LF to CR LF
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, &raw, nullptr);
    if (child == 0) {
        execl(TINTWAVE_CLI_PATH, TINTWAVE_CLI_PATH, "--text", "AB", "--colors", "#FF0000,#0000FF",
              "--format", "ansi", "--color-depth", "256", "--frames", "2", "--animate", seconds,
              static_cast<char*>(nullptr));
        _exit(127);
    }
    QByteArray shown;
    bool sent = stopWith == 0 || child < 0;
    for (pollfd wait{master, POLLIN, 0}; poll(&wait, 1, 5000) > 0;) {
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            break; // the program has closed its side
        }
        shown.append(buffer, got);
        if (!sent && shown.contains('\r' + kFrame1)) {
            sent = true;
            if (stopWith < 0) {
                break;
            }
            ::kill(child, stopWith);
        }
    }
    ::close(master);
    int status = 0;
    waitpid(child, &status, 0); // a program that never ends fails the test by its time-out
    return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace

class TestAnimation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The cursor hidden first, the frames in order over each other, and the colours reset and
    // the cursor shown again at the end, whatever stopped it; a signal's exit status. The
    // terminal going away ends it too.
    void animate_restoresTheTerminal_data() {
        QTest::addColumn<QByteArray>("seconds");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("status");
        QTest::newRow("Ctrl+C") << QByteArray("30") << SIGINT << 128 + SIGINT;
        QTest::newRow("terminated") << QByteArray("0") << SIGTERM << 128 + SIGTERM;
        QTest::newRow("hang-up") << QByteArray("0") << SIGHUP << 128 + SIGHUP;
        QTest::newRow("time runs out") << QByteArray("0.4") << 0 << 0;
        // Nothing left to restore: ends at the failed write instead of running on.
        QTest::newRow("terminal closed") << QByteArray("0") << -1 << 2;
    }
    void animate_restoresTheTerminal() {
        QFETCH(QByteArray, seconds);
        QFETCH(int, signal);
        QFETCH(int, status);
        const auto [shown, exit] = animateOnTerminal(seconds.constData(), signal);
        QCOMPARE(exit, status);
        QVERIFY(shown.startsWith("\x1b[?25l\r" + kFrame0 + '\r' + kFrame1));
        QVERIFY(signal < 0 || shown.endsWith("\x1b[0m\x1b[?25h\n"));
        if (signal == 0) {
            // 20 frames a second: eight in 0.4 s, the first at once.
            QCOMPARE(shown.count('\r'), 8);
        }
    }
};

QTEST_GUILESS_MAIN(TestAnimation)
#include "tst_animation.moc"
