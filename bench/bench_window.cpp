// Times "Colorize!" in the main window for one text size: the text box filled, the Spectrum
// preset applied, then colorize() plus laying out and painting the whole window once
// (grab), as the user waits for it. Runs on the offscreen platform unless another is chosen.
//
//   tintwave-bench-window [--no-breaks] [--type] [--idle] [--mixed] [--paste | --wait-paste]
//                        chars
//
// One size per process, so the peak memory printed is that size's own: the largest resident
// set so far (getrusage). --no-breaks uses a text without spaces, the hardest case for
// wrapping. --type then times keystrokes typed into the code box, each until it is painted.
// --mixed uses words, emoji with skin tones, flags and Arabic.
// --idle measures the processor time the window takes while the caret blinks in the text
// box, before and after Colorize, the keystrokes at the end of the text and the time the
// window takes to close. --paste fills the text box by Ctrl+V from the clipboard rather than
// setting it; --wait-paste waits for someone else to paste chars characters into it (see
// bench_window_paste.sh, which pastes with xdotool under Xvfb).

#include "app/InputLine.h"
#include "app/MainWindow.h"
#include "app/tests/ScriptedPlatform.h"
#include "bench/BenchUtil.h"
#include "palette/Presets.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using namespace tintwave;
using bench::peakMegabytes;
using bench::sampleText;

constexpr int kRepeats = 5;

double milliseconds(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

// The processor time the process has used, which other programs on the machine don't inflate.
double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Types letters at the end of the code and prints the time from each key press until the
// box and the size line are painted again, on the clock and in processor time.
void timeTyping(QWidget& window) {
    auto* edit = window.findChild<QPlainTextEdit*>();
    if (!edit->isVisible()) {
        std::printf("code not editable: typing not timed\n");
        return;
    }
    const qsizetype size = edit->toPlainText().size();
    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    std::vector<double> keys, cpu;
    QElapsedTimer timer;
    for (int i = 0; i < 21; ++i) {
        timer.restart();
        const double cpuStart = cpuMilliseconds();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
        QApplication::processEvents(); // the posted repaints
        keys.push_back(milliseconds(timer));
        cpu.push_back(cpuMilliseconds() - cpuStart);
    }
    std::sort(keys.begin(), keys.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("typing into %lld characters of code: keystroke median %.1f ms, max %.1f ms "
                "(processor time median %.1f ms, max %.1f ms)\n",
                static_cast<long long>(size), keys[keys.size() / 2], keys.back(),
                cpu[cpu.size() / 2], cpu.back());
}

// Lets the event loop run for a while and returns the share of one core the process used.
double idleShare(int ms) {
    const double start = cpuMilliseconds();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuMilliseconds() - start) / ms * 100;
}

void sendKey(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(to, &press);
    QApplication::sendEvent(to, &release);
}

// Types letters at the end of the text box, each until painted.
void timeTypingAtEnd(app::InputLine* input) {
    input->setFocus();
    sendKey(input, Qt::Key_End, Qt::NoModifier);
    QApplication::processEvents();
    std::vector<double> keys;
    QElapsedTimer timer;
    for (int i = 0; i < 21; ++i) {
        timer.restart();
        sendKey(input, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        input->repaint();
        keys.push_back(milliseconds(timer));
    }
    std::sort(keys.begin(), keys.end());
    std::printf("typing at the end of %lld characters of text: keystroke median %.1f ms, "
                "max %.1f ms\n",
                static_cast<long long>(input->text().size()), keys[keys.size() / 2], keys.back());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const bool breaks = !app.arguments().contains(QStringLiteral("--no-breaks"));
    qsizetype length = 0;
    for (const QString& arg : app.arguments().mid(1)) {
        length = std::max<qsizetype>(length, arg.toLongLong());
    }
    if (length <= 0) {
        std::fprintf(stderr, "usage: tintwave-bench-window [--no-breaks] [--type] [--idle] "
                             "[--mixed] [--paste | --wait-paste] chars\n");
        return 2;
    }

    const bool idle = app.arguments().contains(QStringLiteral("--idle"));
    const bool paste = app.arguments().contains(QStringLiteral("--paste"));
    const bool waitPaste = app.arguments().contains(QStringLiteral("--wait-paste"));
    app::testing::ScriptedPlatform fake;
    auto* window = new app::MainWindow(fake.services());
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    window->applyPreset(palette::presets().front()); // Spectrum

    auto* input = window->findChild<app::InputLine*>(QStringLiteral("textEdit"));
    input->setFocus();
    QElapsedTimer timer;
    if (waitPaste) {
        std::printf("waiting for a paste of %lld characters\n", static_cast<long long>(length));
        std::fflush(stdout);
        while (input->text().size() < length) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        timer.start();
    } else {
        const QString text = app.arguments().contains(QStringLiteral("--mixed"))
                                 ? bench::mixedText(length)
                                 : sampleText(length, breaks);
        timer.start();
        if (paste) {
            QGuiApplication::clipboard()->setText(text);
            sendKey(input, Qt::Key_V, Qt::ControlModifier);
        } else {
            input->setText(text);
        }
    }
    window->grab();
    const double pasted = milliseconds(timer);
    const qsizetype kept = input->text().size();
    const long pastedPeak = peakMegabytes();
    if (idle) {
        std::printf("idle with the caret in the text box: %.1f%% of a core\n", idleShare(5000));
    }

    std::vector<double> runs;
    long firstPeak = 0;
    for (int r = 0; r < kRepeats; ++r) {
        timer.restart();
        window->colorize();
        window->grab();
        runs.push_back(milliseconds(timer));
        if (r == 0) {
            firstPeak = peakMegabytes();
        }
    }
    std::sort(runs.begin(), runs.end());
    std::printf("%s, %lld chars (%lld kept): paste %.1f ms, colorize median %.1f ms "
                "(min %.1f, max %.1f), peak %ld MB (%ld after the paste, %ld after one colorize)\n",
                breaks ? "words" : "no breaks", static_cast<long long>(length),
                static_cast<long long>(kept), pasted, runs[runs.size() / 2], runs.front(),
                runs.back(), peakMegabytes(), pastedPeak, firstPeak);
    if (idle) {
        input->setFocus();
        std::printf("idle with the caret in the text box after Colorize: %.1f%% of a core\n",
                    idleShare(5000));
        timeTypingAtEnd(input);
    }
    if (app.arguments().contains(QStringLiteral("--type"))) {
        timeTyping(*window);
    }
    timer.restart();
    window->quit();
    delete window;
    std::printf("quit: window closed and freed in %.1f ms; peak %ld MB\n", milliseconds(timer),
                peakMegabytes());
    return 0;
}
