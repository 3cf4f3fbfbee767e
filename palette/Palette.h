#pragma once

#include "color/ColorValue.h"

namespace tintwave::platform {
class RandomSource;
}

// The ten colour slots and the operations on them. A slot is filled when its value is
// 0 or more and empty when it is negative; emptying a slot writes kEmptySlot into it.
// Every operation takes a palette and returns the changed one.
namespace tintwave::palette {

// The empty-slot marker: the button-face system colour reference. Stored user schemes
// hold it for their empty slots, so it is the same in every run.
inline constexpr ColorValue kEmptySlot = kButtonFace;

struct Palette {
    SlotValues slots;

    constexpr SlotValues& values() { return slots; }
    constexpr const SlotValues& values() const { return slots; }
    constexpr ColorValue& operator[](int slot) { return slots[slot]; }
    constexpr ColorValue operator[](int slot) const { return slots[slot]; }

    // All ten slots empty, as at start-up.
    static constexpr Palette empty() {
        Palette p{};
        p.slots.fill(kEmptySlot);
        return p;
    }
    friend bool operator==(const Palette&, const Palette&) = default;
};

constexpr bool isFilled(ColorValue slotValue) {
    return slotValue >= 0;
}

// One slot (0 .. 9; any other index leaves the palette unchanged).
Palette clearSlot(Palette p, int slot);
Palette invertSlot(Palette p, int slot); // empty slots stay empty
// Three draws, red, green, blue, each int(next() * 256).
Palette randomSlot(Palette p, int slot, platform::RandomSource& rnd);

// The whole palette.
Palette clearColors(Palette p);
Palette invertColors(Palette p);
// Filled slots in reverse order, packed into the first slots; the rest empty.
Palette reverseOrder(Palette p);
// All ten slots filled, 30 draws in slot order.
Palette randomColors(Palette p, platform::RandomSource& rnd);
enum class Rotation {
    Left,  // slot 0 goes to slot 9, every other one slot down ("<")
    Right, // slot 9 goes to slot 0, every other one slot up (">")
};
Palette rotate(Palette p, Rotation rotation);

} // namespace tintwave::palette
