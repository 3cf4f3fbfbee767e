#pragma once

#include "engine/Colorize.h"

#include <QString>
#include <memory>
#include <optional>

// Fitting the code to a length: the fewer colours, the shorter the code. With a step of K
// characters per colour and runs merged, the code of every K is counted without writing it,
// from the colours of one ordinary run, and the smallest K whose code fits is taken.
namespace tintwave::engine {

// The lengths of the code of one text, slots and options for every step, runs merged.
class CodeLengths {
public:
    // Writes the code once (with a step of 1) to learn the colours; nothing is kept of it.
    CodeLengths(const QString& text, const SlotValues& slotValues, const ColorizeOptions& options);
    ~CodeLengths();
    CodeLengths(const CodeLengths&) = delete;
    CodeLengths& operator=(const CodeLengths&) = delete;

    // Why there is no code, if there is none.
    std::optional<ColorizeError> error() const;
    // The counted length (countedLength) of the code with step characters per colour,
    // without a final line break: what colorize writes with that step and merging.
    qsizetype lengthAt(int step) const;
    // The characters of the longest line: every larger step writes what this one writes.
    int longestStep() const;

    // No step writes less than this.
    qsizetype lowerBound() const;

private:
    struct Model;
    std::unique_ptr<Model> model_;
};

struct FitResult {
    std::optional<ColorizeError> error;
    bool fits = false;
    int step = 1;         // when it fits: the smallest step that does
    qsizetype length = 0; // the length of the code at that step, or the least length of any
};

// The length of code as its target counts it, the length fitting keeps to a limit: UTF-8
// bytes for IRC (a server cuts a line by bytes), UTF-16 code units for the others (as
// Minecraft and Discord count).
qsizetype countedLength(QStringView code, OutputFormat format);
constexpr bool countsBytes(OutputFormat format) {
    return format == OutputFormat::Irc;
}

// The smallest step whose code, runs merged, is at most maxLength long as countedLength
// counts. Not for Font.
FitResult fitToLength(const QString& text, const SlotValues& slotValues,
                      const ColorizeOptions& options, qsizetype maxLength);

// What fitting to limit chose ("3 characters per colour, 251 of 256"), or why nothing fits
// ("cannot fit in 50 characters; the shortest form needs 57"); translated where a
// translator is installed.
QString fitMessage(const FitResult& fit, qsizetype limit);

// The options that write the code fitToLength chose: runs merged, that step.
ColorizeOptions withStep(ColorizeOptions options, int step);

} // namespace tintwave::engine
