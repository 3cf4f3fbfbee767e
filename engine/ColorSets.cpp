#include "engine/ColorSets.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace tintwave::engine {

namespace {

using colorspace::OkLab;
using colorspace::Srgb8;

constexpr Srgb8 hex(std::uint32_t rgb) {
    return {int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
}

constexpr std::array<std::uint32_t, 16> kXterm = {
    0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD, 0x00CDCD, 0xE5E5E5,
    0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00, 0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

constexpr std::array<std::uint32_t, 8> kDiscord = {0x4F545C, 0xDC322F, 0x859900, 0xB58900,
                                                   0x268BD2, 0xD33682, 0x2AA198, 0xFFFFFF};

constexpr std::array<std::uint32_t, 16> kMirc = {
    0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00,
    0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2};

std::vector<SetColor> makeColors(ColorSet set) {
    std::vector<SetColor> colors;
    switch (set) {
    case ColorSet::Xterm256: {
        constexpr std::array<int, 6> levels = {0, 95, 135, 175, 215, 255};
        for (int n = 16; n < 232; ++n) {
            const int cube = n - 16;
            colors.push_back({n,
                              {levels[std::size_t(cube / 36)], levels[std::size_t(cube / 6 % 6)],
                               levels[std::size_t(cube % 6)]}});
        }
        for (int n = 232; n < 256; ++n) {
            const int grey = 8 + 10 * (n - 232);
            colors.push_back({n, {grey, grey, grey}});
        }
        break;
    }
    case ColorSet::Xterm16:
    case ColorSet::Xterm8:
        for (int n = 0; n < (set == ColorSet::Xterm8 ? 8 : 16); ++n) {
            colors.push_back({n < 8 ? 30 + n : 90 + n - 8, hex(kXterm[std::size_t(n)])});
        }
        break;
    case ColorSet::Discord:
        for (int n = 0; n < 8; ++n) {
            colors.push_back({30 + n, hex(kDiscord[std::size_t(n)])});
        }
        break;
    case ColorSet::Mirc:
        for (int n = 0; n < 16; ++n) {
            colors.push_back({n, hex(kMirc[std::size_t(n)])});
        }
        break;
    }
    return colors;
}

OkLab labOf(Srgb8 c) {
    return colorspace::toOkLab(colorspace::toLinear(c));
}

struct FreeTable {
    void operator()(std::uint8_t* table) const { std::free(table); }
};

// A set's colours, their OKLab coordinates and its table of nearest colours. calloc hands a
// table this size over as untouched zero pages, so only the parts written take memory.
struct SetData {
    std::vector<SetColor> colors;
    std::vector<OkLab> labs;
    std::unique_ptr<std::uint8_t, FreeTable> table;

    explicit SetData(ColorSet set)
        : colors(makeColors(set))
        , table(static_cast<std::uint8_t*>(std::calloc(std::size_t(1) << 24, 1))) {
        if (!table) {
            throw std::bad_alloc();
        }
        for (const SetColor& c : colors) {
            labs.push_back(labOf(c.color));
        }
    }
};

const SetData& dataOf(ColorSet set) {
    static const std::array<SetData, 5> data = {
        SetData(ColorSet::Xterm256), SetData(ColorSet::Xterm16), SetData(ColorSet::Xterm8),
        SetData(ColorSet::Discord), SetData(ColorSet::Mirc)};
    return data[std::size_t(set)];
}

} // namespace

std::optional<ColorSet> colorSetOf(ColorDepth depth) {
    switch (depth) {
    case ColorDepth::TrueColor:
        break;
    case ColorDepth::Xterm256:
        return ColorSet::Xterm256;
    case ColorDepth::Xterm16:
        return ColorSet::Xterm16;
    case ColorDepth::Xterm8:
        return ColorSet::Xterm8;
    }
    return std::nullopt;
}

std::optional<ColorSet> shownColorSet(const OutputChoices& output) {
    switch (output.format) {
    case OutputFormat::Ansi:
        return colorSetOf(output.colorDepth);
    case OutputFormat::Discord:
        return ColorSet::Discord;
    case OutputFormat::Irc:
        return ColorSet::Mirc;
    default:
        return std::nullopt;
    }
}

std::span<const SetColor> colorsOf(ColorSet set) {
    return dataOf(set).colors;
}

Nearest::Nearest(ColorSet set)
    : colors_(dataOf(set).colors)
    , labs_(dataOf(set).labs)
    , table_(dataOf(set).table.get()) {
}

Srgb8 Nearest::clamped(Srgb8 c) {
    return {std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255)};
}

int Nearest::search(Srgb8 c) const {
    const OkLab lab = labOf(clamped(c));
    int best = 0;
    double least = 0;
    for (std::size_t i = 0; i < labs_.size(); ++i) {
        const double dl = lab.l - labs_[i].l;
        const double da = lab.a - labs_[i].a;
        const double db = lab.b - labs_[i].b;
        const double distance = dl * dl + da * da + db * db;
        // Strictly nearer: a tie keeps the colour that comes first.
        if (i == 0 || distance < least) {
            best = int(i);
            least = distance;
        }
    }
    return best;
}

} // namespace tintwave::engine
