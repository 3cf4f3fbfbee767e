#pragma once

#include <array>
#include <cstdint>

namespace tintwave {

// A colour as the program stores and compares it: red + 256 * green + 65536 * blue,
// red in the low byte. 0 .. 0xFFFFFF are plain colours; negative values are references
// to a system colour of the platform (resolved through platform::SystemColors).
using ColorValue = std::int32_t;

inline constexpr int kSlotCount = 10;

// The ten slot values of the palette, slot 0 first.
using SlotValues = std::array<ColorValue, kSlotCount>;

// System colour references. Their numbers are part of stored user schemes (an empty
// slot is saved as kButtonFace), so they never change.
inline constexpr ColorValue kButtonFace = static_cast<ColorValue>(0x8000000Fu);       // -2147483633
inline constexpr ColorValue kWindowBackground = static_cast<ColorValue>(0x80000005u); // -2147483643

inline constexpr ColorValue kWhite = 0xFFFFFF;

constexpr bool isSystemColor(ColorValue c) {
    return c < 0;
}

} // namespace tintwave
