// Colorize throughput on ASCII text: characters per second, the median of several runs.
// A last table times every format over a million characters, whole (colorize) and
// streamed into a sink that throws the pieces away (colorizeTo, as the command line runs),
// with the streamed rate in millions of characters per second; the template format writes
// its default template. The last table sets decoding a code against writing it; given the
// argument "decode", the program prints only that one.
//
// Two passes. "fresh" uses the allocator as a program gets it: buffers above glibc's mmap
// threshold (a million characters make about 90 MB) come fresh from the kernel on every
// call, so the first-touch page faults are part of the figure. "reused" first tells glibc
// to keep freed memory, so the figure is the engine's own work.
#include "engine/Colorize.h"
#include "engine/FitLength.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <string_view>
#include <vector>

using namespace tintwave;
using namespace tintwave::engine;

// Prints decode and write times for every format that reads back (DecodeTable.cpp).
void decodeTable(const QString& text, const SlotValues& slotValues, qsizetype& sink);

namespace {

QString asciiText(qsizetype length) {
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) {
        text[i] = QChar(u' ' + char16_t(i % 95));
    }
    return text;
}

SlotValues rainbow(int colors) {
    SlotValues slotValues;
    slotValues.fill(kButtonFace);
    for (int i = 0; i < colors; ++i) {
        slotValues[std::size_t(i)] = (i * 0x3A5F17 + 0x10FF40) & 0xFFFFFF;
    }
    return slotValues;
}

// Seconds per colorize call: each sample repeats the call until it has run for at least
// 50 ms, so short texts are not lost in timer resolution.
double medianSeconds(const QString& text, const SlotValues& slotValues,
                     const ColorizeOptions& options, qsizetype& sink) {
    std::vector<double> samples;
    for (int sample = 0; sample < 7; ++sample) {
        QElapsedTimer timer;
        timer.start();
        int calls = 0;
        do {
            sink += colorize(text, slotValues, options).code.size();
            ++calls;
        } while (timer.nsecsElapsed() < 50'000'000);
        samples.push_back(double(timer.nsecsElapsed()) * 1e-9 / calls);
    }
    std::nth_element(samples.begin(), samples.begin() + 3, samples.end());
    return samples[3];
}

// Counts what it is given and keeps nothing.
class CountingSink : public CodeSink {
public:
    void write(QStringView piece) override { units += piece.size(); }
    qsizetype units = 0;
};

double medianStreamedSeconds(const QString& text, const SlotValues& slotValues,
                             const ColorizeOptions& options, qsizetype& sink) {
    std::vector<double> samples;
    for (int sample = 0; sample < 7; ++sample) {
        QElapsedTimer timer;
        timer.start();
        CountingSink counter;
        colorizeTo(text, slotValues, options, counter);
        sink += counter.units;
        samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
    }
    std::nth_element(samples.begin(), samples.begin() + 3, samples.end());
    return samples[3];
}

void formatTable(qsizetype& sink) {
    const QString text = asciiText(1'000'000);
    std::printf("\n%-11s %-6s %-6s %12s %12s %14s\n", "format", "blend", "merge", "whole ms",
                "streamed ms", "streamed M/s");
    for (const QString& format : formatNames()) {
        for (const Blend blend : {Blend::Rgb, Blend::OkLab, Blend::OkLch}) {
            for (const bool merge : {false, true}) {
                ColorizeOptions options;
                options.output.format = *parseFormat(format);
                options.output.blend = blend;
                options.output.merge = merge;
                if (merge && !hasRunOptions(options.output.format)) {
                    continue;
                }
                const double whole = medianSeconds(text, rainbow(10), options, sink);
                const double streamed = medianStreamedSeconds(text, rainbow(10), options, sink);
                std::printf("%-11s %-6s %-6s %12.1f %12.1f %14.1f\n", qPrintable(format),
                            qPrintable(blendName(blend)), merge ? "yes" : "no", whole * 1e3,
                            streamed * 1e3, double(text.size()) / streamed * 1e-6);
            }
        }
    }
}

// ANSI at every colour depth and the two chats with few colours over a million characters
// (the quantized rows against the 24-bit one), then ten frames of a 100-character text.
void screenTable(qsizetype& sink) {
    const QString text = asciiText(1'000'000);
    std::printf("\n%-8s %-6s %12s %12s\n", "format", "depth", "whole ms", "streamed ms");
    const auto row = [&](OutputFormat format, ColorDepth depth) {
        ColorizeOptions options;
        options.output.format = format;
        options.output.colorDepth = depth;
        const double whole = medianSeconds(text, rainbow(10), options, sink);
        const double streamed = medianStreamedSeconds(text, rainbow(10), options, sink);
        // The chats have a set of their own, whatever the depth.
        const QString shown = format == OutputFormat::Ansi ? depthName(depth) : QStringLiteral("-");
        std::printf("%-8s %-6s %12.1f %12.1f\n", qPrintable(formatName(format)), qPrintable(shown),
                    whole * 1e3, streamed * 1e3);
    };
    for (const QString& depth : depthNames()) {
        row(OutputFormat::Ansi, *parseDepth(depth));
    }
    row(OutputFormat::Discord, ColorDepth::TrueColor);
    row(OutputFormat::Irc, ColorDepth::TrueColor);

    std::printf("\n%-11s %8s %12s\n", "format", "frames", "us/call");
    for (const OutputFormat format : {OutputFormat::McHex, OutputFormat::Ansi, OutputFormat::Irc}) {
        ColorizeOptions options;
        options.output.format = format;
        options.frames = 10;
        const double seconds = medianSeconds(asciiText(100), rainbow(10), options, sink);
        std::printf("%-11s %8d %12.1f\n", qPrintable(formatName(format)), 10, seconds * 1e6);
    }
}

// Fitting to a length at a million characters, streamed, beside plain minimessage: the
// gradient segments, a step of 4, and --max-length as the command line runs it (the fit,
// then the code when something fits), also for mc-hex and the chats. Then the segments the gradient
// format needs for 1,000 characters of each blend and spread.
void fitTable(qsizetype& sink) {
    const QString text = asciiText(1'000'000);
    const auto timed = [&](const char* label, const ColorizeOptions& options, qsizetype limit) {
        std::vector<double> samples;
        QString chosen; // the step the fit took
        for (int sample = 0; sample < 5; ++sample) {
            QElapsedTimer timer;
            timer.start();
            ColorizeOptions written = options;
            if (limit > 0) {
                const FitResult fit = fitToLength(text, rainbow(10), options, limit);
                sink += fit.length;
                written = fit.fits ? withStep(options, fit.step) : written;
                chosen =
                    fit.fits ? QStringLiteral("step %1").arg(fit.step) : QStringLiteral("no fit");
                if (!fit.fits) {
                    samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
                    continue;
                }
            }
            CountingSink counter;
            colorizeTo(text, rainbow(10), written, counter);
            sink += counter.units;
            samples.push_back(double(timer.nsecsElapsed()) * 1e-9);
        }
        std::nth_element(samples.begin(), samples.begin() + 2, samples.end());
        std::printf("%-50s %10.1f ms  %s\n", label, samples[2] * 1e3, qPrintable(chosen));
    };
    std::printf("\n1,000,000 characters, 10 colours, streamed (median of 5)\n");
    using enum OutputFormat;
    const ColorizeOptions mini{.output = {.format = MiniMessage}};
    const ColorizeOptions gradient{.output = {.format = MiniMessageGradient}};
    timed("minimessage", mini, 0);
    timed("minimessage-gradient rgb classic", gradient, 0);
    timed("minimessage-gradient rgb even (one tag)",
          {.output = {.format = MiniMessageGradient, .spread = Spread::Even}}, 0);
    timed(
        "minimessage-gradient oklch even",
        {.output = {.format = MiniMessageGradient, .blend = Blend::OkLch, .spread = Spread::Even}},
        0);
    timed("minimessage --step 4", {.output = {.format = MiniMessage}, .step = 4}, 0);
    timed("minimessage --max-length 256 (cannot fit)", mini, 256);
    timed("minimessage --max-length 1,100,000 (a step fits)", mini, 1'100'000);
    timed("minimessage-gradient --max-length 1,050,000", gradient, 1'050'000);
    // The chats count the runs of their few shown colours, the Minecraft codes every colour;
    // the nearer the limit to one colour a line, the more steps are counted.
    const ColorizeOptions mcHex{.output = {.format = McHex}};
    const ColorizeOptions discord{.output = {.format = Discord}};
    const ColorizeOptions irc{.output = {.format = Irc}};
    timed("mc-hex --max-length 256 (cannot fit)", mcHex, 256);
    timed("mc-hex --max-length 1,095,000", mcHex, 1'095'000);
    timed("mc-hex --max-length 1,084,300 (near one colour)", mcHex, 1'084'300);
    timed("discord --max-length 2000 (cannot fit)", discord, 2000);
    timed("discord --max-length 1,000,140", discord, 1'000'140);
    timed("discord --max-length 1,000,060 (near one colour)", discord, 1'000'060);
    timed("irc --max-length 400 (cannot fit)", irc, 400);
    timed("irc --max-length 1,000,080", irc, 1'000'080);
    timed("irc --max-length 1,000,030 (near one colour)", irc, 1'000'030);

    std::printf("\nminimessage-gradient segments for 1,000 characters\n%-7s %-8s %10s %10s\n",
                "blend", "spread", "2 colours", "10 colours");
    const QString short1000 = asciiText(1000);
    for (const Blend blend : {Blend::Rgb, Blend::OkLab, Blend::OkLch}) {
        for (const Spread spread : {Spread::Classic, Spread::Even}) {
            const ColorizeOptions options{
                .output = {.format = MiniMessageGradient, .blend = blend, .spread = spread}};
            const auto segments = [&](int colors) {
                const QString code = colorize(short1000, rainbow(colors), options).code;
                return code.count(QStringLiteral("<gradient:")) + code.count(QStringLiteral("<#"));
            };
            std::printf("%-7s %-8s %10lld %10lld\n", qPrintable(blendName(blend)),
                        qPrintable(spreadName(spread)), static_cast<long long>(segments(2)),
                        static_cast<long long>(segments(10)));
        }
    }
}

} // namespace

// "tintwave-bench screens" runs only the table of terminals, chats and frames.
int main(int argc, char** argv) {
    qsizetype sink = 0;
    if (argc > 1 && argv[1] == std::string_view("screens")) {
        mallopt(M_MMAP_THRESHOLD, 1 << 30); // memory as the full run has it by then
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        screenTable(sink);
        return sink > 0 ? 0 : 1;
    }
    qsizetype decoded = 0;
    if (argc > 1 && argv[1] == std::string_view("fit")) { // the fitting table alone
        fitTable(decoded);
        return decoded > 0 ? 0 : 1;
    }
    if (argc > 1 && argv[1] == std::string_view("decode")) { // only the last table
        mallopt(M_MMAP_THRESHOLD, 1 << 30); // memory as the full run has it by then
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        decodeTable(asciiText(1'000'000), rainbow(10), decoded);
        return decoded > 0 ? 0 : 1;
    }
    ColorizeOptions options;
    options.face = QStringLiteral("Arial");
    options.size = QStringLiteral("+2");
    options.center = options.bold = options.italic = options.underline = true;

    std::printf("%-7s %10s %7s %14s %10s\n", "memory", "chars", "colours", "chars/second",
                "ms/call");
    for (const char* memory : {"fresh", "reused"}) {
        if (memory == std::string_view("reused")) {
            mallopt(M_MMAP_THRESHOLD, 1 << 30);
            mallopt(M_TRIM_THRESHOLD, 1 << 30);
        }
        for (qsizetype length : {1'000, 100'000, 1'000'000}) {
            const QString text = asciiText(length);
            for (int colors : {2, 10}) {
                const double seconds = medianSeconds(text, rainbow(colors), options, sink);
                std::printf("%-7s %10lld %7d %14.0f %10.3f\n", memory,
                            static_cast<long long>(length), colors, double(length) / seconds,
                            seconds * 1e3);
            }
        }
    }
    formatTable(sink);
    screenTable(sink);
    fitTable(sink);
    decodeTable(asciiText(1'000'000), rainbow(10), sink);
    return sink > 0 ? 0 : 1;
}
