#pragma once

#include "color/ColorValue.h"
#include "engine/Colorize.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The command line of tintwave-cli, turned into plain values. Parsing touches nothing
// outside its arguments, so every usage rule can be checked without running the program.
namespace tintwave::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNothingToColor = 1; // one of the two Colorize messages, or a code
                                              // that cannot be read
inline constexpr int kExitUsage = 2;          // bad arguments or output that cannot be written

enum class Action { Colorize, ListSchemes, Help, Version };

struct CliOptions {
    Action action = Action::Colorize;
    std::optional<QString> text;      // --text; nothing means standard input
    std::optional<SlotValues> colors; // --colors
    std::optional<QString> scheme;    // --scheme
    // Face, size, the four styles, format, blend, spread and merging; centred, as the main
    // window starts.
    engine::ColorizeOptions style{.center = true};
    // --color-depth auto: the depth comes from the terminal's environment at run time.
    bool depthFromTerminal = false;
    // --animate: seconds of animation on a terminal, 0 until interrupted.
    std::optional<double> animateSeconds;
    bool page = false;
    ColorValue background = kWhite;
    QString outputPath; // -o; empty means standard output
    // --decode: the text is a code to read back and write again; --from names its format
    // (nothing: told apart by its syntax); --palette prints the options that make its colours.
    bool decode = false;
    std::optional<engine::OutputFormat> from;
    bool palette = false;
};

struct ParseResult {
    CliOptions options;
    QString error; // one line naming the problem; empty when the arguments are fine
    bool ok() const { return error.isEmpty(); }
};

// arguments as QCoreApplication::arguments() gives them, the program name first.
ParseResult parseArguments(const QStringList& arguments);

// "#RRGGBB", hex digits in either case, to a packed colour; nothing for anything else.
std::optional<ColorValue> parseColor(QStringView entry);

struct ColorListResult {
    SlotValues slotValues{};
    QString error; // empty when the list is fine
};

// Up to ten comma-separated entries for slots 0, 1, ...: "#RRGGBB" or nothing for an
// empty slot. Slots after the last entry are empty.
ColorListResult parseColorList(QStringView list);

QString helpText();
QString versionText();

} // namespace tintwave::cli
