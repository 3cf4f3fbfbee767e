// Decoding against writing, a million characters in every format that reads back: the median
// of seven runs each of colorize (the whole code as one string), colorizeTo (streamed into a
// sink that keeps nothing) and decode of the code colorize wrote.
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/Decode.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tintwave;
using namespace tintwave::engine;

namespace {

class DroppingSink : public CodeSink {
public:
    void write(QStringView piece) override { units += piece.size(); }
    qsizetype units = 0;
};

double medianSeconds(const std::function<void()>& work) {
    std::vector<double> samples;
    for (int sample = 0; sample < 7; ++sample) {
        QElapsedTimer timer;
        timer.start();
        work();
        samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
    }
    std::nth_element(samples.begin(), samples.begin() + 3, samples.end());
    return samples[3];
}

} // namespace

void decodeTable(const QString& text, const SlotValues& slotValues, qsizetype& sink);
void decodeTable(const QString& text, const SlotValues& slotValues, qsizetype& sink) {
    std::printf("\n%-11s %-6s %10s %12s %10s %14s %14s\n", "format", "merge", "write ms",
                "streamed ms", "decode ms", "decode/write", "decode/stream");
    for (const QString& name : decodableFormatNames()) {
        for (const bool merge : {false, true}) {
            ColorizeOptions options;
            options.bold = true;
            options.output.format = *parseFormat(name);
            options.output.merge = merge;
            // Font never merges; Discord and IRC always do.
            if ((merge && !hasRunOptions(options.output.format)) ||
                (!merge && shownColorSet(options.output))) {
                continue;
            }
            QString code;
            const double write =
                medianSeconds([&] { code = colorize(text, slotValues, options).code; });
            const double streamed = medianSeconds([&] {
                DroppingSink dropping;
                colorizeTo(text, slotValues, options, dropping);
                sink += dropping.units;
            });
            const double read = medianSeconds(
                [&] { sink += decode(code, options.output.format).decoded.text.size(); });
            std::printf("%-11s %-6s %10.1f %12.1f %10.1f %14.2f %14.2f\n", qPrintable(name),
                        merge ? "yes" : "no", write * 1e3, streamed * 1e3, read * 1e3, read / write,
                        read / streamed);
        }
    }
}
