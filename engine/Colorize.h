#pragma once

#include "platform/ColorValue.h"

#include <QString>

#include <optional>
#include <vector>

namespace tintwave::engine {

// Face and size texts are written into the markup unchanged; the word "None" (exact,
// case-sensitive) means no face / no size.
struct ColorizeOptions {
    QString face = QStringLiteral("None");
    QString size = QStringLiteral("None");
    bool center = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class ColorizeError {
    EmptyText, // "You must type something."
    NoColor,   // "You must select at least one color"
};

// The message the user sees for an error, exactly as the program shows it.
QString messageFor(ColorizeError error);

// One character of the text (a grapheme cluster: an emoji, a flag, a letter with its
// combining marks) and the packed colour it was given.
struct CharColor {
    qsizetype start = 0;  // offset in UTF-16 code units
    qsizetype length = 0; // UTF-16 code units
    ColorValue color = 0;
    friend bool operator==(const CharColor&, const CharColor&) = default;
};

struct ColorizeResult {
    std::optional<ColorizeError> error; // when set, code and chars are empty
    QString code;                       // the one-line HTML
    std::vector<CharColor> chars;       // one per character, in text order
    bool ok() const { return !error; }
};

// Turns text, the ten slot values (negative = empty slot) and the options into the
// per-character gradient HTML. Pure: reads nothing else, writes nothing else.
ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options);

} // namespace tintwave::engine
