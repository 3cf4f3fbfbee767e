#pragma once

#include <QIcon>

namespace tintwave::app {

// The name the desktop knows the program by: its launcher entry and its icon.
inline constexpr auto kDesktopId = "example.tintwave.Tintwave";

// The program's icon, a gradient wave: the desktop's icon theme's copy when installed,
// otherwise the images built into the program.
QIcon appIcon();

} // namespace tintwave::app
