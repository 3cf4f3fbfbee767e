#!/usr/bin/env python3
"""Reference colours for the blend tests, computed independently of the C++ code.

Uses the published OKLab matrices (Bjorn Ottosson, "A perceptual color space for image
processing", 2020) and the sRGB transfer function, in plain Python floats. Prints each
case as the 8-bit sRGB result, rounded half to even (Python's round()), after clamping.
"""
import math


def decode(c8):
    c = c8 / 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def encode(x):
    x = min(max(x, 0.0), 1.0)
    c = 12.92 * x if x <= 0.0031308 else 1.055 * x ** (1 / 2.4) - 0.055
    return round(c * 255)


def to_oklab(rgb8):
    r, g, b = (decode(c) for c in rgb8)
    l = 0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b
    m = 0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b
    s = 0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b
    l, m, s = (math.copysign(abs(v) ** (1 / 3), v) for v in (l, m, s))
    return (0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s)


def from_oklab(lab):
    L, a, b = lab
    l = (L + 0.3963377774 * a + 0.2158037573 * b) ** 3
    m = (L - 0.1055613458 * a - 0.0638541728 * b) ** 3
    s = (L - 0.0894841775 * a - 1.2914855480 * b) ** 3
    return tuple(encode(v) for v in (
        +4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
        -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
        -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s))


def mix_oklab(x, y, f):
    p, q = to_oklab(x), to_oklab(y)
    return from_oklab(tuple(a + f * (b - a) for a, b in zip(p, q)))


def mix_oklch(x, y, f):
    p, q = to_oklab(x), to_oklab(y)
    (l1, c1, h1), (l2, c2, h2) = ((v[0], math.hypot(v[1], v[2]), math.atan2(v[2], v[1]))
                                  for v in (p, q))
    if c1 < 1e-4:
        h1 = h2
    if c2 < 1e-4:
        h2 = h1
    dh = h2 - h1
    if dh > math.pi:
        dh -= 2 * math.pi
    elif dh < -math.pi:
        dh += 2 * math.pi
    L, C, h = l1 + f * (l2 - l1), c1 + f * (c2 - c1), h1 + f * dh
    return from_oklab((L, C * math.cos(h), C * math.sin(h)))


def hexcode(rgb8):
    return '#%02X%02X%02X' % rgb8


RED, GREEN, BLUE, BLACK, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (0, 0, 0), (255, 255, 255)
print('OKLab of red:', to_oklab(RED))
print('OKLab of white:', to_oklab(WHITE))
print('chroma of greys up to', max(math.hypot(*to_oklab((v, v, v))[1:]) for v in range(256)))
print('least chroma of a non-grey', min(math.hypot(*to_oklab((r, g, b))[1:])
                                        for r in range(0, 256, 1) for g in (r, r + 1) for b in (r + 1,)
                                        if b < 256 and g < 256))
for name, mix in (('oklab', mix_oklab), ('oklch', mix_oklch)):
    for x, y in ((BLACK, WHITE), (RED, BLUE), (RED, GREEN), (BLUE, WHITE)):
        print(name, hexcode(x), hexcode(y), [hexcode(mix(x, y, f)) for f in (0, 0.25, 0.5, 0.75, 1)])
# The even spread, five characters over red, green, blue: t = 0, 0.5, 1, 1.5, 2.
for name, mix in (('oklab', mix_oklab), ('oklch', mix_oklch)):
    print(name, 'even RGB 5 chars', [hexcode(mix(*seg, f)) for seg, f in
                                     (((RED, GREEN), 0), ((RED, GREEN), .5), ((GREEN, BLUE), 0),
                                      ((GREEN, BLUE), .5), ((GREEN, BLUE), 1))])
# The classic spread, ABCDE black to white: L = 6, fractions j / 6.
print('oklab classic ABCDE', [hexcode(mix_oklab(BLACK, WHITE, j / 6)) for j in range(5)])
