#pragma once

#include "color/ColorValue.h"

#include <cstdint>

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
//  - A component is written in upper-case hex with at least two digits: "00" .. "FF" for
//    0 .. 255, all the digits of a wider value.
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

// The number of hex digits writeHex gives for component (a negative value counts as its
// 32-bit pattern): 2 for 0 .. 255, up to 8.
constexpr int hexWidth(int component) {
    int digits = 2;
    for (auto v = static_cast<std::uint32_t>(component) >> 8; v != 0; v >>= 4) {
        ++digits;
    }
    return digits;
}

// Writes component's hexWidth upper-case hex digits at out and returns their end.
template <typename Char> constexpr Char* writeHex(int component, Char* out) {
    auto value = static_cast<std::uint32_t>(component);
    Char* const end = out + hexWidth(component);
    for (Char* digit = end; digit != out; value >>= 4) {
        *--digit = Char("0123456789ABCDEF"[value & 15]);
    }
    return end;
}

} // namespace tintwave::color
