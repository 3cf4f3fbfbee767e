#pragma once

namespace tintwave::engine::detail {

// Nearest whole number with an exact half going to the even neighbour, independent of the
// floating-point rounding mode. Inline because the colour loop rounds three components
// per character. Expects a finite value within the range of int.
inline int roundHalfEven(double x) {
    const bool negative = x < 0;
    const double magnitude = negative ? -x : x;
    int whole = static_cast<int>(magnitude); // truncates; magnitude - whole is exact
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) {
        ++whole;
    }
    return negative ? -whole : whole;
}

} // namespace tintwave::engine::detail
