#include "palette/Palette.h"

#include "color/ColorProcs.h"
#include "platform/RandomSource.h"

#include <algorithm>

namespace tintwave::palette {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

ColorValue inverted(ColorValue c) {
    using namespace color;
    return rgb(255 - red(c), 255 - green(c), 255 - blue(c));
}

// Int(Rnd * 256): a whole component 0 .. 255.
int randomComponent(platform::RandomSource& rnd) {
    return int(rnd.next() * 256);
}

ColorValue randomColor(platform::RandomSource& rnd) {
    // Separate statements keep the draws in the order red, green, blue.
    const int r = randomComponent(rnd);
    const int g = randomComponent(rnd);
    const int b = randomComponent(rnd);
    return color::rgb(r, g, b);
}

} // namespace

Palette clearSlot(Palette p, int slot) {
    if (validSlot(slot)) {
        p[slot] = kEmptySlot;
    }
    return p;
}

Palette invertSlot(Palette p, int slot) {
    if (validSlot(slot) && isFilled(p[slot])) {
        p[slot] = inverted(p[slot]);
    }
    return p;
}

Palette randomSlot(Palette p, int slot, platform::RandomSource& rnd) {
    if (validSlot(slot)) {
        p[slot] = randomColor(rnd);
    }
    return p;
}

Palette clearColors(Palette) {
    return Palette::empty();
}

Palette invertColors(Palette p) {
    for (int i = 0; i < kSlotCount; ++i) {
        p = invertSlot(p, i);
    }
    return p;
}

Palette reverseOrder(Palette p) {
    // The work row fills from its right end with the filled slots taken right to left,
    // then is read back mirrored, so the colours come out reversed and packed at slot 0.
    SlotValues work;
    work.fill(kEmptySlot);
    for (int i = kSlotCount - 1; i >= 0; --i) {
        if (!isFilled(p[i])) {
            continue;
        }
        for (int j = kSlotCount - 1; j >= 0; --j) {
            if (work[j] == kEmptySlot) {
                work[j] = p[i];
                break;
            }
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        p[i] = work[kSlotCount - 1 - i];
    }
    return p;
}

Palette randomColors(Palette p, platform::RandomSource& rnd) {
    for (ColorValue& slot : p.values()) {
        slot = randomColor(rnd);
    }
    return p;
}

Palette rotate(Palette p, Rotation rotation) {
    if (rotation == Rotation::Left) {
        std::rotate(p.values().begin(), p.values().begin() + 1, p.values().end());
    } else {
        std::rotate(p.values().rbegin(), p.values().rbegin() + 1, p.values().rend());
    }
    return p;
}

} // namespace tintwave::palette
