// Times "Colorize!" into the preview for texts of 10,000 to 1,000,000 characters:
// colorize plus filling, laying out and painting the preview once, and the preview alone.
// Runs on the offscreen platform unless another one is chosen.
//
//   tintwave-bench-preview [--no-breaks] [chars ...]
//
// --no-breaks uses a text without spaces or line breaks, the hardest case for wrapping.
// Peak memory is that of the whole process so far; give one size to see it on its own.

#include "app/PreviewBox.h"
#include "bench/BenchUtil.h"
#include "engine/Colorize.h"
#include "platform/memory/MemoryPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace tintwave;
using bench::peakMegabytes;
using bench::sampleText;

constexpr int kRepeats = 5;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const bool breaks = !app.arguments().contains(QStringLiteral("--no-breaks"));
    std::vector<qsizetype> sizes;
    for (const QString& arg : app.arguments().mid(1)) {
        if (const qsizetype n = arg.toLongLong(); n > 0) {
            sizes.push_back(n);
        }
    }
    if (sizes.empty()) {
        sizes = {10'000, 100'000, 1'000'000};
    }

    platform::FixedSystemColors systemColors;
    app::PreviewBox preview(systemColors);
    preview.resize(471, 49); // the designed 7065 x 735 twips
    preview.show();
    QApplication::processEvents();

    SlotValues palette;
    palette.fill(-1);
    palette[0] = 0x0000FF;
    palette[4] = 0x00FF00;
    palette[9] = 0xFF0000;
    engine::ColorizeOptions options;
    options.face = QStringLiteral("Courier New");
    options.bold = true;

    std::printf("text: %s\n", breaks ? "words and spaces, no line break" : "no break at all");
    std::printf("%10s %14s %14s %16s %10s\n", "chars", "end-to-end ms", "preview ms",
                "scroll-to-end ms", "peak MB");
    for (const qsizetype length : sizes) {
        const QString text = sampleText(length, breaks);
        std::vector<double> endToEnd, previewOnly;
        engine::ColorizeResult result;
        for (int r = 0; r < kRepeats; ++r) {
            result = {}; // as in the program, one result at a time
            QElapsedTimer timer;
            timer.start();
            result = engine::colorize(text, palette, options);
            const qint64 colorized = timer.nsecsElapsed();
            preview.showColorized(text, result.chars, options.face, options.bold, options.italic,
                                  options.underline);
            preview.grab();
            const qint64 total = timer.nsecsElapsed();
            endToEnd.push_back(total / 1e6);
            previewOnly.push_back((total - colorized) / 1e6);
        }
        // Ctrl+End: the whole text wrapped, the last screen painted.
        QElapsedTimer timer;
        timer.start();
        QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(&preview, &end);
        preview.grab();
        const double scrolled = timer.nsecsElapsed() / 1e6;
        std::printf("%10lld %14.1f %14.1f %16.1f %10ld\n", static_cast<long long>(length),
                    median(endToEnd), median(previewOnly), scrolled, peakMegabytes());
    }
    return 0;
}
