#pragma once

#include "color/ColorValue.h"
#include "engine/Colorize.h"
#include "engine/Decode.h"
#include "engine/PaletteFit.h"

#include <optional>
#include <vector>

// Writing a decoded text again, in any format, with the colours it came with.
namespace tintwave::engine {

// The options to write decoded with: the source's face and size where it has them, else
// given's; its centring where its format has one (font, span, BBCode), else given's; the
// styles every visible character has, added to given's.
ColorizeOptions optionsFor(const DecodedText& decoded, ColorizeOptions given);

// Writes every character of decoded (a grapheme cluster) in its own colour (the colour of its
// first unit) through the writer of options.output.format, exactly as colorize writes a
// character of that colour; merging and skipping blanks apply as there. A character without
// a colour takes the one before it, or at the start the first one there is; a text without
// any colour gives NoColor and writes nothing.
std::optional<ColorizeError> writeDecoded(const DecodedText& decoded,
                                          const ColorizeOptions& options, CodeSink& sink);
QString writeDecoded(const DecodedText& decoded, const ColorizeOptions& options);

// The colour of each place in the gradient, as colorize counts them for format: every
// character, less the line breaks where they take no place (all formats but font). A
// character without a colour gives kNoColor, and so does a blank when blanks is false (a code
// written skipping blanks gives them the colour before them, not their own).
std::vector<ColorValue> gradientSamples(const DecodedText& decoded, OutputFormat format,
                                        bool blanks = true);

// The palette that makes decoded's colours (see fitPalette), with its blanks' colours taken as
// their own if that fits exactly, else without them.
PaletteFit fitDecoded(const DecodedText& decoded);

} // namespace tintwave::engine
