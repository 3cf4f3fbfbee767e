#pragma once

#include "engine/ColorizeOptions.h"

namespace tintwave::platform {
class SettingsStore;
}

namespace tintwave::engine {

// Section "options" of the program's settings: keys "format", "blend" and "spread" hold the
// names above ("span", "oklab", "even"), "merge" and "skipblanks" hold "1" or "0",
// "template" the template text. A missing or unknown value (or a template that does not
// parse) reads as that choice's default, so a damaged or older store still starts.
OutputChoices loadOutputChoices(platform::SettingsStore& store);

// Writes the keys whose choice differs between before and now, and nothing else: another
// running copy's change of a different choice survives.
void saveOutputChoices(platform::SettingsStore& store, const OutputChoices& now,
                       const OutputChoices& before);

} // namespace tintwave::engine
