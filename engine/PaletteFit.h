#pragma once

#include "color/ColorValue.h"
#include "engine/ColorizeOptions.h"

#include <QString>
#include <array>
#include <vector>

// Finding the palette, blend and spread that give a row of colours.
namespace tintwave::engine {

struct PaletteFit {
    std::vector<ColorValue> colors; // 1 .. kSlotCount
    Blend blend = Blend::Rgb;
    Spread spread = Spread::Even;
    // Whether colorize with these gives every known colour exactly.
    bool exact = false;
    // The largest difference of a known colour from the one these give: red, green, blue.
    std::array<int, 3> largestDifference{};
};

// samples: the colour of each place in the gradient, kNoColor (-1) where it is not known.
// Tries the fewest colours first, every blend and spread, each colour taken from where the
// gradient puts it exactly or worked back from the colours toward it; the first choice that
// colorize turns into the same colours wins. Without one, the best fit with at most
// kSlotCount colours over the even spread. Needs at least one known colour.
PaletteFit fitPalette(const std::vector<ColorValue>& samples);

// The command-line options that choose the fit: --colors '#RRGGBB,...' --blend B --spread S.
QString paletteOptions(const PaletteFit& fit);

} // namespace tintwave::engine
