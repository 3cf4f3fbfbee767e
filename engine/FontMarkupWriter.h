#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QStringView>
#include <iterator>

namespace tintwave::engine {

// Writes the classic markup: the style tags, the optional font tag with face and size,
// one <font color="#RRGGBB">…</font> per character and the closing tags, all on one line
// and nothing escaped.
class FontMarkupWriter {
    static constexpr char16_t kColorOpen[] = u"<font color=\"#";
    static constexpr char16_t kColorEnd[] = u"\">";
    static constexpr char16_t kColorClose[] = u"</font>";

public:
    // Writes the opening tags.
    FontMarkupWriter(const ColorizeOptions& options, MarkupBuffer& out);

    // One character (a grapheme cluster) in the colour of the rounded components.
    void character(QStringView cluster, colorspace::Srgb8 c) {
        out_.put(kColorOpen);
        out_.putHexPair(c.red);
        out_.putHexPair(c.green);
        out_.putHexPair(c.blue);
        out_.put(kColorEnd);
        out_.put(cluster);
        out_.put(kColorClose);
    }

    // Appends the closing tags.
    void finish() { wrappers_.close(); }

    // The markup around one character with components of two hex digits each, and the
    // tags around all of them.
    static constexpr qsizetype kPerCharacter =
        std::size(kColorOpen) + 6 + std::size(kColorEnd) + std::size(kColorClose) - 3;
    qsizetype wrapperLength() const { return wrappers_.length(); }

private:
    MarkupBuffer& out_;
    Wrappers wrappers_;
};

} // namespace tintwave::engine
