#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"

#include <QStringView>
#include <algorithm>
#include <utility>

namespace tintwave::engine {

// Which characters start a new colour run, for the writers of the modern formats. With
// merging, characters of equal colour in a row share one run (one tag or code); without it
// every character starts its own. With a step of K characters per colour, the K characters
// of a step share one run, and without merging each step starts its own. A line break, or a
// character a format lets nothing follow inside its run, ends the run: the next character
// starts a new one whatever its colour.
//
// A writer asks startsRun() for each character; when it answers yes, the writer ends its old
// run's markup (color() still holds that run's colour), writes the new one's and calls open().
class ColorRuns {
public:
    explicit ColorRuns(const ColorizeOptions& options)
        : merge_(options.output.merge || options.step > 1) {}

    bool startsRun(colorspace::Srgb8 c) const { return !open_ || cut_ || !merge_ || c != color_; }
    void open(colorspace::Srgb8 c) {
        open_ = true;
        cut_ = false;
        color_ = c;
    }
    // Whether a run was open.
    bool close() { return std::exchange(open_, false); }
    // The next character starts a run whatever its colour (a new step, unmerged).
    void cut() { cut_ = true; }

    bool isOpen() const { return open_; }
    // The colour of the open run, or of the last one after close().
    colorspace::Srgb8 color() const { return color_; }

private:
    bool merge_;
    bool open_ = false;
    bool cut_ = false;
    colorspace::Srgb8 color_;
};

// Whether a character ends its run in the format, so that what follows it is a colour code,
// a blank, a line break or the end: an & of the Minecraft codes (which the game or a plugin
// could read together with a following code letter or #), a [ of BBCode (see BBCodeWriter).
inline bool endsRun(OutputFormat format, QStringView cluster) {
    switch (format) {
    case OutputFormat::McHex:
    case OutputFormat::McX:
    case OutputFormat::McSection:
        return cluster.contains(u'&');
    case OutputFormat::BBCode:
        return cluster.contains(u'[');
    default:
        return false;
    }
}

// U+0000 to U+001F but tab and the line breaks, and U+007F: characters HTML forbids and game
// servers reject, which no format but the classic font tags (byte-exact) and ANSI (which
// shows them as symbols) writes. Each is a character of its own; left out, it keeps its place
// in the gradient.
inline bool isControlCharacter(QStringView cluster) {
    if (cluster.size() != 1) {
        return false;
    }
    const char16_t u = cluster.front().unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F;
}
constexpr bool leavesOutControls(OutputFormat format) {
    return format != OutputFormat::Font && format != OutputFormat::Ansi;
}

// The text of a Minecraft code format's character: the game cannot show a section sign, and
// written before a colour code it swallows the code's first character in the common readers,
// so it is left out (the character keeps its place in the gradient).
inline bool isOnlySectionSigns(QStringView cluster) {
    return std::all_of(cluster.begin(), cluster.end(),
                       [](QChar c) { return c.unicode() == u'\u00A7'; });
}

} // namespace tintwave::engine
