#pragma once

#include "engine/ColorizeOptions.h"

namespace tintwave::platform {
class SettingsStore;
}

namespace tintwave::schemes {

// The output choices of the Options menu, kept between runs.
struct OutputOptions {
    engine::OutputFormat format = engine::OutputFormat::Font;
    engine::Blend blend = engine::Blend::Rgb;
    engine::Spread spread = engine::Spread::Classic;
    bool merge = false;
    friend bool operator==(const OutputOptions&, const OutputOptions&) = default;
};

// Copies the choices into the options Colorize reads.
void applyTo(const OutputOptions& output, engine::ColorizeOptions& options);

// Application "tintwave", section "options": keys "format", "blend" and "spread" hold the
// engine's names ("span", "oklab", "even"), "merge" holds "1" or "0". A missing or unknown
// value reads as that choice's default, so a damaged or older store still starts.
OutputOptions loadOutputOptions(platform::SettingsStore& store);

// Writes the keys whose choice differs between before and now, and nothing else: another
// running copy's change of a different choice survives.
void saveOutputOptions(platform::SettingsStore& store, const OutputOptions& now,
                       const OutputOptions& before);

} // namespace tintwave::schemes
