#pragma once

#include "color/ColorValue.h"

// The colour arithmetic of the Colorize command, as small free functions over values.
//
// Contract:
//  - red/green/blue split a packed ColorValue. red = c AND 255; green = (c / 256) AND 255
//    with division truncating toward zero; blue = c / 65536 with no mask, which is the
//    blue byte for plain colours 0 .. 0xFFFFFF (and nonsense for negative references,
//    which callers resolve first).
//  - rgb packs red + 256 * green + 65536 * blue.
//  - inc(s, e, length) is the per-character step (e - s) / length in double precision,
//    and exactly 0 when s == e.
namespace tintwave::color {

constexpr int red(ColorValue c) {
    return c & 255;
}
constexpr int green(ColorValue c) {
    return (c / 256) & 255;
}
constexpr int blue(ColorValue c) {
    return c / 65536;
}

constexpr ColorValue rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

constexpr double inc(int sColor, int eColor, double length) {
    return sColor == eColor ? 0.0 : (eColor - sColor) / length;
}

} // namespace tintwave::color
