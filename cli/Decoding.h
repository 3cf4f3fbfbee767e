#pragma once

#include "engine/ColorizeOptions.h"
#include "engine/Decode.h"

#include <QString>
#include <optional>

// Reading a code for --decode: the format named or told apart, the decoded text, and the
// palette line of --palette.
namespace tintwave::cli {

struct DecodedInput {
    std::optional<engine::DecodedText> decoded; // nothing when error is set
    QString notice; // the format chosen, when the code also has marks of another
    QString error;  // the code cannot be read: why, in one line
};

// Decodes code in from, or in the format its syntax shows when from is nothing.
DecodedInput decodeInput(QStringView code, std::optional<engine::OutputFormat> from);

struct PaletteLine {
    QString options; // --colors '#RRGGBB,...' --blend B --spread S
    QString notice;  // when no palette gives the colours exactly: the largest differences
};

// The options that make decoded's colours again (see engine::fitDecoded).
PaletteLine paletteLine(const engine::DecodedText& decoded);

} // namespace tintwave::cli
