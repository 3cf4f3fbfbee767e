// Steps, fitting to a length and the gradient segments on arbitrary text and options. The
// leading bytes choose the format (never font), blend, spread, merging, skipping, per-line
// gradients, styles, the ANSI colour depth, the palette and the limit; the rest is the text
// as UTF-8. Beyond not crashing, the counted length of every step up to a few must be the
// written one, and the fit must be the smallest step whose code is at most the limit.
#include "engine/FitLength.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace tintwave;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    engine::ColorizeOptions o;
    const QStringList formats = engine::formatNames();
    o.output.format =
        *engine::parseFormat(formats[in.ConsumeIntegralInRange<qsizetype>(1, formats.size() - 1)]);
    o.output.blend = engine::Blend(in.ConsumeIntegralInRange(0, 2));
    o.output.spread = engine::Spread(in.ConsumeIntegralInRange(0, 1));
    const auto flags = in.ConsumeIntegral<std::uint8_t>();
    o.output.skipBlanks = flags & 1;
    o.perLine = flags & 2;
    o.bold = flags & 4;
    o.output.strikethrough = flags & 8;
    o.output.obfuscated = (flags & 16) && engine::hasObfuscated(o.output.format);
    o.output.colorDepth = engine::ColorDepth(flags >> 5 & 3); // ansi's colour set
    o.underline = flags & 128;
    o.italic = flags & 128;
    SlotValues palette;
    palette.fill(kButtonFace);
    for (int i = in.ConsumeIntegralInRange(1, 10) - 1; i >= 0; --i) {
        palette[std::size_t(i)] = in.ConsumeIntegralInRange<ColorValue>(0, kWhite);
    }
    const auto limit = in.ConsumeIntegralInRange<qsizetype>(0, 4000);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(rest.data(), qsizetype(rest.size()));

    const engine::CodeLengths lengths(text, palette, o);
    if (lengths.error()) {
        return 0;
    }
    QList<qsizetype> written{0};
    for (int step = 1; step <= std::min(lengths.longestStep(), 6); ++step) {
        const QString code = engine::colorize(text, palette, engine::withStep(o, step)).code;
        written << (engine::countsBytes(o.output.format) ? code.toUtf8().size() : code.size());
        FUZZ_CHECK(lengths.lengthAt(step) == written.back());
    }
    const engine::FitResult fit = engine::fitToLength(text, palette, o, limit);
    if (fit.fits) {
        FUZZ_CHECK(fit.length <= limit && fit.length == lengths.lengthAt(fit.step));
        for (int step = 1; step < fit.step; ++step) {
            FUZZ_CHECK(lengths.lengthAt(step) > limit);
        }
    } else {
        FUZZ_CHECK(fit.length > limit && lengths.lengthAt(1) > limit);
    }
    return 0;
}
