#include "engine/Colorize.h"

#include "engine/ColorProcs.h"
#include "engine/FontMarkupWriter.h"
#include "engine/Gradient.h"
#include "engine/Graphemes.h"
#include "engine/Rounding.h"

#include <algorithm>

namespace tintwave::engine {

namespace {

// No rounded gradient component exceeds the largest component of the colours it blends.
int largestComponent(const ActiveColors& colors) {
    int largest = 0;
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        largest = std::max({largest, red(c), green(c), blue(c)});
    }
    return largest;
}

ColorizeResult failure(ColorizeError error) {
    ColorizeResult result;
    result.error = error;
    return result;
}

} // namespace

QString messageFor(ColorizeError error) {
    switch (error) {
    case ColorizeError::EmptyText:
        return QStringLiteral("You must type something.");
    case ColorizeError::NoColor:
        return QStringLiteral("You must select at least one color");
    }
    return {};
}

ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options) {
    if (text.isEmpty()) {
        return failure(ColorizeError::EmptyText);
    }
    const ActiveColors active = activeColors(slotValues);
    if (active.count == 0) {
        return failure(ColorizeError::NoColor);
    }

    const std::vector<qsizetype> bounds = graphemeBoundaries(text);
    const auto count = qsizetype(bounds.size() - 1);
    const SegmentGradient gradient(active, count);
    FontMarkupWriter writer(options, count, text.size(), largestComponent(active));

    ColorizeResult result;
    result.chars.reserve(std::size_t(count));
    // The gradient works in blocks so its arithmetic stays apart from the markup
    // without a call per character.
    std::array<RealColor, 256> block;
    for (qsizetype first = 0; first < count;) {
        const qsizetype filled = gradient.fill(first, block);
        if (filled == 0) {
            break;
        }
        for (qsizetype k = 0; k < filled; ++k) {
            const RealColor& c = block[std::size_t(k)];
            const int r = detail::roundHalfEven(c.red);
            const int g = detail::roundHalfEven(c.green);
            const int b = detail::roundHalfEven(c.blue);
            const qsizetype start = bounds[std::size_t(first + k)];
            const qsizetype length = bounds[std::size_t(first + k + 1)] - start;
            writer.character(QStringView(text).sliced(start, length), r, g, b);
            result.chars.push_back({start, length, rgb(r, g, b)});
        }
        first += filled;
    }
    result.code = writer.finish();
    return result;
}

} // namespace tintwave::engine
