#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>

// The fixed colour sets of terminals and chats that cannot show every 24-bit colour, and the
// nearest colour of a set to any 8-bit colour by OKLab distance (on a tie the colour that
// comes first in the set).
namespace tintwave::engine {

enum class ColorSet {
    Xterm256, // xterm's 6x6x6 cube (16 .. 231: levels 0, 95, 135, 175, 215, 255) and grey
              // ramp (232 .. 255: 8 + 10 k); 0 .. 15 are left out, every terminal has its own
    Xterm16,  // xterm's default colours 0 .. 15, written as SGR 30 .. 37 and 90 .. 97
    Xterm8,   // 0 .. 7 of those, SGR 30 .. 37
    Discord,  // the colours of Discord's ansi code blocks, SGR 30 .. 37
    Mirc,     // the mIRC colours 00 .. 15 that all clients show alike
};

// The set a depth is limited to; nothing for TrueColor.
std::optional<ColorSet> colorSetOf(ColorDepth depth);
// The set the output's format shows, when it cannot show every colour: Discord, IRC, and ANSI
// below 24 bits.
std::optional<ColorSet> shownColorSet(const OutputChoices& output);

struct SetColor {
    int number; // as the target writes it: xterm colour number, SGR code or mIRC colour
    colorspace::Srgb8 color;
};

// The colours of a set in their order.
std::span<const SetColor> colorsOf(ColorSet set);

// The nearest colour of a set. Answers come from a table of all 16,777,216 colours shared by
// every Nearest of the set and filled as colours are first asked for, so a gradient pays for
// the search once per distinct colour; the table's pages are only taken from the system as
// they are written. Safe to use from several threads at once.
class Nearest {
public:
    explicit Nearest(ColorSet set);

    // Components outside 0 .. 255 are clamped.
    const SetColor& operator()(colorspace::Srgb8 c) const {
        if ((c.red | c.green | c.blue) & ~0xFF) [[unlikely]] {
            return colors_[std::size_t(search(c))];
        }
        const std::size_t key = std::size_t(c.red) << 16 | std::size_t(c.green) << 8 | c.blue;
        // 0: not yet known; otherwise the index plus one.
        std::uint8_t known = std::atomic_ref(table_[key]).load(std::memory_order_relaxed);
        if (known == 0) [[unlikely]] {
            known = std::uint8_t(search(c) + 1);
            std::atomic_ref(table_[key]).store(known, std::memory_order_relaxed);
        }
        return colors_[known - 1u];
    }

    // The index in colorsOf(set) of the nearest colour, worked out afresh without the table
    // (components clamped as above).
    int search(colorspace::Srgb8 c) const;

private:
    static colorspace::Srgb8 clamped(colorspace::Srgb8 c);

    std::span<const SetColor> colors_;
    std::span<const colorspace::OkLab> labs_;
    std::uint8_t* table_;
};

} // namespace tintwave::engine
