#pragma once

#include "platform/ColorValue.h"

#include <QString>

// The colour arithmetic of the Colorize command, as small free functions over values.
//
// Contract:
//  - red/green/blue split a packed ColorValue. red = c AND 255; green = (c / 256) AND 255
//    with division truncating toward zero; blue = c / 65536 with no mask, which is the
//    blue byte for plain colours 0 .. 0xFFFFFF (and nonsense for negative references,
//    which callers resolve first).
//  - inc(s, e, length) is the per-character step (e - s) / length in double precision,
//    and exactly 0 when s == e.
//  - Components written as hex or packed for display are rounded to the nearest whole
//    number with an exact half going to the even neighbour (42.5 -> 42, 127.5 -> 128),
//    the rounding the classic program's runtime used and which stored output relies on.
namespace tintwave::engine {

constexpr int red(ColorValue c) { return c & 255; }
constexpr int green(ColorValue c) { return (c / 256) & 255; }
constexpr int blue(ColorValue c) { return c / 65536; }

// red + 256 * green + 65536 * blue.
constexpr ColorValue rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

double inc(int sColor, int eColor, double length);

// Nearest whole number, halves to even. Expects a finite value.
int roundHalfEven(double component);

// The component rounded half to even, as two upper-case hex digits ("00" .. "FF" for
// 0 .. 255; a leading "0" is added to a single digit, wider values keep all digits).
QString hexPair(double component);

// "#RRGGBB" from three real components, each written with hexPair.
QString colorCode(double r, double g, double b);

// The packed colour of three real components, each rounded half to even.
ColorValue packRounded(double r, double g, double b);

} // namespace tintwave::engine
