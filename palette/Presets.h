#pragma once

#include "palette/Palette.h"

#include <QStringView>
#include <span>

// The fixed gradient schemes of the Schemes menu: one table that the windows build
// their menu from and the command line looks names up in.
namespace tintwave::palette {

struct PresetSubmenu {
    const char* caption; // e.g. "Photoshop Gradients"
};

struct Preset {
    const char* caption; // menu caption, with "&" marking the access key
    int submenu;         // index into presetSubmenus(), or -1 directly in the Schemes menu
    int colorCount;      // 1 .. 10
    SlotValues colors;   // slots 0 .. colorCount-1 are used
};

// The submenus in menu order.
std::span<const PresetSubmenu> presetSubmenus();
// All presets in menu order (within each submenu, in the order of its items).
std::span<const Preset> presets();

// The palette a preset gives: its colours from slot 0, every later slot empty.
Palette applyPreset(const Preset& preset);

// The caption as shown, without the "&" access-key marker ("&Spectrum" -> "Spectrum").
QString displayCaption(const Preset& preset);

// The preset whose display caption is exactly name, or nullptr.
const Preset* findPreset(QStringView name);

} // namespace tintwave::palette
