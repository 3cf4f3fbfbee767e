#include "engine/ColorSpace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tintwave::engine::colorspace {

namespace {

double decodeExactly(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// The linear value at which encoding reaches n + 0.5, for n = 0 .. 254: the rounding
// boundaries between neighbouring 8-bit values. Looking a value up among them costs eight
// comparisons instead of a pow() per component, which a million characters notice.
const std::array<double, 255>& halfwayPoints() {
    static const std::array<double, 255> points = [] {
        std::array<double, 255> p{};
        for (std::size_t n = 0; n < p.size(); ++n) {
            p[n] = decodeExactly((double(n) + 0.5) / 255);
        }
        return p;
    }();
    return points;
}

} // namespace

double decode(int component) {
    return decodeExactly(component / 255.0);
}

int encode(double linear) {
    const std::array<double, 255>& points = halfwayPoints();
    const auto above = std::lower_bound(points.begin(), points.end(), linear);
    const int n = int(above - points.begin()); // linear lies between n - 0.5 and n + 0.5
    if (above != points.end() && *above == linear) {
        return n + (n & 1); // exactly half way between n and n + 1: the even one
    }
    return n;
}

LinearRgb toLinear(Srgb8 color) {
    return {decode(color.red), decode(color.green), decode(color.blue)};
}

Srgb8 toSrgb8(LinearRgb color) {
    return {encode(color.red), encode(color.green), encode(color.blue)};
}

OkLab toOkLab(LinearRgb c) {
    const double l =
        std::cbrt(0.4122214708 * c.red + 0.5363325363 * c.green + 0.0514459929 * c.blue);
    const double m =
        std::cbrt(0.2119034982 * c.red + 0.6806995451 * c.green + 0.1073969566 * c.blue);
    const double s =
        std::cbrt(0.0883024619 * c.red + 0.2817188376 * c.green + 0.6299787005 * c.blue);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb toLinear(OkLab c) {
    const double l0 = c.l + 0.3963377774 * c.a + 0.2158037573 * c.b;
    const double m0 = c.l - 0.1055613458 * c.a - 0.0638541728 * c.b;
    const double s0 = c.l - 0.0894841775 * c.a - 1.2914855480 * c.b;
    const double l = l0 * l0 * l0;
    const double m = m0 * m0 * m0;
    const double s = s0 * s0 * s0;
    return {+4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLch toOkLch(OkLab c) {
    return {c.l, std::hypot(c.a, c.b), std::atan2(c.b, c.a)};
}

OkLab toOkLab(OkLch c) {
    return {c.l, c.c * std::cos(c.h), c.c * std::sin(c.h)};
}

OkLab mix(OkLab x, OkLab y, double f) {
    return {x.l + f * (y.l - x.l), x.a + f * (y.a - x.a), x.b + f * (y.b - x.b)};
}

OkLch mix(OkLch x, OkLch y, double f) {
    if (x.c < kAchromatic) {
        x.h = y.h;
    }
    if (y.c < kAchromatic) {
        y.h = x.h;
    }
    double turn = y.h - x.h;
    if (turn > std::numbers::pi) {
        turn -= 2 * std::numbers::pi;
    } else if (turn < -std::numbers::pi) {
        turn += 2 * std::numbers::pi;
    }
    return {x.l + f * (y.l - x.l), x.c + f * (y.c - x.c), x.h + f * turn};
}

} // namespace tintwave::engine::colorspace
