#pragma once

// Colour spaces for perceptual blending, as small free functions over value types:
// 8-bit sRGB <-> linear-light RGB <-> OKLab <-> OKLCh.
//
// Contract:
//  - Srgb8 components are 0 .. 255 on the way in. toSrgb8 clamps each linear component to
//    0 .. 1 (so an out-of-gamut mix lands on the nearest face of the sRGB cube, component
//    by component), encodes it with the sRGB transfer function and rounds to the nearest
//    8-bit value, an exact half to the even neighbour.
//  - Linear light uses the sRGB transfer function of IEC 61966-2-1: c / 12.92 up to
//    0.04045, ((c + 0.055) / 1.055)^2.4 above, c = component / 255.
//  - OKLab uses the published matrices of Björn Ottosson (2020). L is about 0 .. 1 for
//    sRGB colours, a and b about -0.4 .. 0.4. Every 8-bit colour survives the round trip
//    sRGB -> OKLab -> sRGB unchanged.
//  - OKLCh: c = hypot(a, b) >= 0, h = atan2(b, a) in radians, -pi .. pi.
//  - mix(x, y, f), 0 <= f <= 1, is x + f * (y - x) per coordinate, so f = 0 gives x exactly.
//    For OKLCh the hue takes the shorter arc (exactly opposite hues go the positive way), and
//    the hue of an achromatic end (chroma below kAchromatic: a grey) counts as the other
//    end's hue, so a blend toward white or black keeps its hue instead of swinging round.
//    A path holds x and y - x, so a gradient mixing one pair at many fractions works them
//    out once; path(x, y).at(f) is mix(x, y, f) exactly.
#include <array>

namespace tintwave::engine::colorspace {

struct Srgb8 {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Srgb8&, const Srgb8&) = default;
};

struct LinearRgb {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct OkLab {
    double l = 0;
    double a = 0;
    double b = 0;
};

struct OkLch {
    double l = 0;
    double c = 0;
    double h = 0;
};

// Greys have an OKLab chroma below 1e-7 (rounding in the matrices); the least chroma of any
// other 8-bit colour is about 1e-3.
inline constexpr double kAchromatic = 1e-4;

// One component 0 .. 255 to linear light 0 .. 1 (from a table of all 256).
double decode(int component);
// Linear light to 0 .. 255: clamped, encoded, rounded half to even.
int encode(double linear);

LinearRgb toLinear(Srgb8 color);
Srgb8 toSrgb8(LinearRgb color);

OkLab toOkLab(LinearRgb color);
LinearRgb toLinear(OkLab color);
// toSrgb8(toLinear(color)) in one call, for the per-character path.
Srgb8 toSrgb8(OkLab color);

OkLch toOkLch(OkLab color);
OkLab toOkLab(OkLch color);

// The straight way from one colour to another, for mixing the pair at many fractions.
struct OkLabPath {
    OkLab from;
    OkLab delta;
    OkLab at(double f) const {
        return {from.l + f * delta.l, from.a + f * delta.a, from.b + f * delta.b};
    }
};
struct OkLchPath {
    OkLch from;
    OkLch delta; // the hue's along the shorter arc
    OkLch at(double f) const {
        return {from.l + f * delta.l, from.c + f * delta.c, from.h + f * delta.h};
    }
};

OkLabPath path(OkLab x, OkLab y);
OkLchPath path(OkLch x, OkLch y);

// A colour along a path, and how far the fraction may move from where it was worked out
// (either way, along the same path) with every component still rounding the same.
struct SteadyColor {
    Srgb8 color;
    double reach = 0;
};

// The 8-bit colours along a path, toSrgb8(toLinear(path.at(f))), with their reach: how far
// each linear component is from its nearest rounding boundary, over a bound on how fast it
// can change along the path, less a margin for rounding in the arithmetic.
class OkLabSweep {
public:
    OkLabSweep() = default;
    explicit OkLabSweep(const OkLabPath& path);

    SteadyColor at(double f) const;

private:
    OkLabPath path_;
    double steepness_ = 0; // no linear component changes faster with f
};

// The same for toSrgb8(toOkLab(path.at(f))), without a cosine and sine per call: they come
// from the nearest of a few hues along the path, worked out exactly once, turned the rest of
// the way by a short series. That lands the linear components within far less than 1e-12 of
// the exact ones; a component that close to a rounding boundary is worked out the exact way,
// so the colour is always the exact one.
class OkLchSweep {
public:
    OkLchSweep() = default;
    explicit OkLchSweep(const OkLchPath& path);

    SteadyColor at(double f) const;

private:
    static constexpr int kAnchors = 32;
    OkLchPath path_;
    double steepness_ = 0;
    std::array<double, kAnchors + 1> hues_{};
    std::array<double, kAnchors + 1> cos_{};
    std::array<double, kAnchors + 1> sin_{};
};

inline OkLab mix(OkLab x, OkLab y, double f) {
    return path(x, y).at(f);
}
inline OkLch mix(OkLch x, OkLch y, double f) {
    return path(x, y).at(f);
}

} // namespace tintwave::engine::colorspace
