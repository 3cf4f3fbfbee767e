#pragma once

#include "engine/ColorSets.h"

#include <QByteArray>
#include <QByteArrayView>
#include <span>

// Terminal output of tintwave-cli: the colour depth a terminal takes, and a gradient moving in
// place.
namespace tintwave::cli {

// --color-depth auto: 24-bit when COLORTERM is "truecolor" or "24bit", else 256 colours when
// TERM contains "256color", else 16.
engine::ColorDepth depthForTerminal(QByteArrayView colorterm, QByteArrayView term);

inline constexpr int kFramesPerSecond = 20;
// The frames of one cycle when --animate comes without --frames: one cycle in two seconds.
inline constexpr int kAnimationFrames = 2 * kFramesPerSecond;

// Whether the file descriptor is a terminal.
bool isTerminal(int fd);

// Shows frames (each one line of ANSI code, no line break) one after another, over and over,
// kFramesPerSecond a second, each drawn over the last (carriage return) on the terminal at fd.
// The cursor is hidden meanwhile. Stops after seconds (0: never), or at SIGINT, SIGTERM or
// SIGHUP, or when a write fails (the terminal went away); then resets the colours, shows the
// cursor again and ends the line. Returns the signal that stopped it, 0 when time ran out,
// -1 when a write failed.
int animate(std::span<const QByteArray> frames, double seconds, int fd);

} // namespace tintwave::cli
