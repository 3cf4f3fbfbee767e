#pragma once

namespace tintwave::app {

// The windows are designed in twips; the program shows them at 15 twips to the pixel.
inline constexpr int kTwipsPerPixel = 15;

} // namespace tintwave::app
