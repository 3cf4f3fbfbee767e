#pragma once

#include "color/ColorValue.h"
#include "engine/ColorizeOptions.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace tintwave::engine {

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

// Receives the colour of each character, in text order, as colorize writes the code.
class CharColorSink {
public:
    virtual ~CharColorSink() = default;
    // Called once before the first character with the number of characters to come.
    virtual void begin(qsizetype /*count*/) {}
    virtual void character(const CharColor& c) = 0;
};

// Receives the code in pieces, in order. Each piece is whole text: it never ends between
// the two halves of a surrogate pair.
class CodeSink {
public:
    virtual ~CodeSink() = default;
    virtual void write(QStringView piece) = 0;
};

// Appends the pieces to a string.
class StringSink : public CodeSink {
public:
    explicit StringSink(QString& out)
        : out_(out) {}
    void write(QStringView piece) override { out_.append(piece); }

private:
    QString& out_;
};

// Turns text, the ten slot values (negative = empty slot) and the options into the
// per-character gradient code in the chosen format. Pure: reads nothing else, writes
// nothing else. Two ways to get it:
//
// colorize: the whole code as one string, with the colour of every character in the result.
ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options);

// colorizeTo: the same code handed to sink in pieces of a few ten thousand characters as it
// is written, and the per-character colours to chars when given: memory stays flat whatever
// the size of the text, and a caller keeps code and colours in forms of its own. On an error
// nothing is written.
std::optional<ColorizeError> colorizeTo(const QString& text, const SlotValues& slotValues,
                                        const ColorizeOptions& options, CodeSink& sink,
                                        CharColorSink* chars = nullptr);

} // namespace tintwave::engine
