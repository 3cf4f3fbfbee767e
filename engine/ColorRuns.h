#pragma once

#include "engine/ColorSpace.h"

#include <utility>

namespace tintwave::engine {

// Which characters start a new colour run, for the writers of the modern formats. With
// merging, characters of equal colour in a row share one run (one tag or code); without it
// every character starts its own. A line break, or a character a format lets nothing follow
// inside its run, ends the run: the next character starts a new one whatever its colour.
//
// A writer asks startsRun() for each character; when it answers yes, the writer ends its old
// run's markup (color() still holds that run's colour), writes the new one's and calls open().
class ColorRuns {
public:
    explicit ColorRuns(bool merge)
        : merge_(merge) {}

    bool startsRun(colorspace::Srgb8 c) const { return !open_ || !merge_ || c != color_; }
    void open(colorspace::Srgb8 c) {
        open_ = true;
        color_ = c;
    }
    // Whether a run was open.
    bool close() { return std::exchange(open_, false); }

    bool isOpen() const { return open_; }
    // The colour of the open run, or of the last one after close().
    colorspace::Srgb8 color() const { return color_; }

private:
    bool merge_;
    bool open_ = false;
    colorspace::Srgb8 color_;
};

} // namespace tintwave::engine
