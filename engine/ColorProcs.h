#pragma once

#include "color/ColorValue.h"

#include <QString>

// Components written as hex or packed for display are rounded to the nearest whole
//    number with an exact half going to the even neighbour (42.5 -> 42, 127.5 -> 128),
//    the rounding the classic program's runtime used and which stored output relies on.
namespace tintwave::engine {

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
