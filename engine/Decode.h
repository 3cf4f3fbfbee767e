#pragma once

#include "color/ColorValue.h"
#include "engine/ColorizeOptions.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// Reading a coloured code back: the text with the colour and styles of every character, as
// the format's own readers show it.
namespace tintwave::engine {

// The styles a code can give a character, as bits.
enum TextStyle : quint8 {
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
    kStrikethrough = 8,
    kObfuscated = 16,
};

// No colour: the reader's default (text before any colour code, an uncoloured component).
inline constexpr ColorValue kNoColor = -1;

// How one UTF-16 unit of the text is shown.
struct Look {
    ColorValue color = kNoColor;
    quint8 styles = 0;
    friend bool operator==(const Look&, const Look&) = default;
};

struct DecodedText {
    OutputFormat format = OutputFormat::Font;
    QString text;
    std::vector<Look> looks; // one per UTF-16 unit of text
    // What the HTML and BBCode formats carry around the characters; kNone when absent.
    QString face = kNone;
    QString size = kNone;
    bool center = false;
};

// A code that cannot be read at all: JSON that does not parse, a tag or escape sequence cut
// off by the end of the input. at counts characters (code points) from 1.
struct DecodeError {
    OutputFormat format = OutputFormat::Font;
    qsizetype at = 0;
    QString what;
    // "not valid json at character 17: expected , or ]"
    QString message() const;
};

struct DecodeResult {
    DecodedText decoded;
    std::optional<DecodeError> error; // when set, decoded is empty
    bool ok() const { return !error; }
};

// Every format but Template, which is the user's own and has no fixed syntax, and the
// MiniMessage gradient segments, whose colours the server works out. Discord and IRC codes
// read back as the colours of their sets, not the gradient they were made from.
constexpr bool canDecode(OutputFormat format) {
    return format != OutputFormat::Template && format != OutputFormat::MiniMessageGradient;
}
QStringList decodableFormatNames();

// Reads code in format. Linear in the size of the code; never fails on text a format's
// readers would show as text (a broken & code, an unknown tag).
DecodeResult decode(QStringView code, OutputFormat format);

// The format code is written in, told apart by its syntax. obvious is false when the code
// also has marks of another format (the choice is then worth telling the user).
struct Detection {
    std::optional<OutputFormat> format; // nothing: no format's marks at all
    bool obvious = false;
};
Detection detectFormat(QStringView code);

} // namespace tintwave::engine
