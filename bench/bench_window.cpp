// Times "Colorize!" in the main window for one text size: the text box filled, the Spectrum
// preset applied, then Command1_Click plus laying out and painting the whole window once
// (grab), as the user waits for it. Runs on the offscreen platform unless another is chosen.
//
//   tintwave-bench-window [--no-breaks] chars
//
// One size per process, so the peak memory printed is that size's own. --no-breaks uses a
// text without spaces, the hardest case for wrapping.

#include "app/frmMain1.h"
#include "app/tests/ScriptedPlatform.h"
#include "bench/BenchUtil.h"
#include "palette/Presets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace tintwave;
using bench::peakMegabytes;
using bench::sampleText;

constexpr int kRepeats = 5;

double milliseconds(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
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
        std::fprintf(stderr, "usage: tintwave-bench-window [--no-breaks] chars\n");
        return 2;
    }

    app::testing::ScriptedPlatform fake;
    app::frmMain1 window(fake.services());
    window.show();
    QApplication::processEvents();
    window.mnuPreset_Click(palette::presets().front()); // Spectrum

    const QString text = sampleText(length, breaks);
    QElapsedTimer timer;
    timer.start();
    auto* input = window.findChild<QLineEdit*>(QStringLiteral("txtInput"));
    input->setText(text);
    window.grab();
    const double pasted = milliseconds(timer);
    const qsizetype kept = input->text().size();
    const long pastedPeak = peakMegabytes();

    std::vector<double> runs;
    long firstPeak = 0;
    for (int r = 0; r < kRepeats; ++r) {
        timer.restart();
        window.Command1_Click();
        window.grab();
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
    return 0;
}
