#include "engine/ColorSpace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace tintwave::engine::colorspace {

namespace {

double decodeExactly(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// Where encode starts looking: the linear range 0 .. 1 in kBuckets equal steps. The steps
// are narrower than the gap between any two halfway points, so from a step's first point a
// value is at most two comparisons away from its own.
constexpr int kBuckets = 4096;

struct Tables {
    std::array<double, 256> linear;
    // The linear value at which encoding reaches n + 0.5, for n = 0 .. 254: the rounding
    // boundaries between neighbouring 8-bit values.
    std::array<double, 255> halfway;
    // For each step, how many halfway points lie below its lower edge.
    std::array<std::uint8_t, kBuckets> below;
};

// A pow() per component would cost more than the rest of a character.
const Tables& tables() {
    static const Tables t = [] {
        Tables t{};
        for (std::size_t n = 0; n < t.linear.size(); ++n) {
            t.linear[n] = decodeExactly(double(n) / 255);
        }
        for (std::size_t n = 0; n < t.halfway.size(); ++n) {
            t.halfway[n] = decodeExactly((double(n) + 0.5) / 255);
        }
        for (std::size_t b = 0; b < t.below.size(); ++b) {
            const double edge = double(b) / kBuckets; // exact: kBuckets is a power of two
            t.below[b] = std::uint8_t(std::lower_bound(t.halfway.begin(), t.halfway.end(), edge) -
                                      t.halfway.begin());
        }
        return t;
    }();
    return t;
}

int encode(const Tables& t, double linear) {
    if (!(linear > 0)) {
        return 0; // also NaN
    }
    if (linear >= 1) {
        return 255;
    }
    // The first halfway point not below linear: linear lies between n - 0.5 and n + 0.5.
    // Scaling by a power of two is exact, so the step's edge is never above linear.
    std::size_t n = t.below[std::size_t(linear * kBuckets)];
    while (n < t.halfway.size() && t.halfway[n] < linear) {
        ++n;
    }
    if (n < t.halfway.size() && t.halfway[n] == linear) {
        return int(n + (n & 1)); // exactly half way between n and n + 1: the even one
    }
    return int(n);
}

} // namespace

double decode(int component) {
    return tables().linear[std::size_t(component)];
}

int encode(double linear) {
    return encode(tables(), linear);
}

LinearRgb toLinear(Srgb8 color) {
    return {decode(color.red), decode(color.green), decode(color.blue)};
}

Srgb8 toSrgb8(LinearRgb color) {
    const Tables& t = tables();
    return {encode(t, color.red), encode(t, color.green), encode(t, color.blue)};
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

Srgb8 toSrgb8(OkLab color) {
    return toSrgb8(toLinear(color));
}

OkLch toOkLch(OkLab c) {
    return {c.l, std::hypot(c.a, c.b), std::atan2(c.b, c.a)};
}

OkLab toOkLab(OkLch c) {
    return {c.l, c.c * std::cos(c.h), c.c * std::sin(c.h)};
}

OkLabPath path(OkLab x, OkLab y) {
    return {x, {y.l - x.l, y.a - x.a, y.b - x.b}};
}

OkLchPath path(OkLch x, OkLch y) {
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
    return {x, {y.l - x.l, y.c - x.c, turn}};
}

} // namespace tintwave::engine::colorspace
