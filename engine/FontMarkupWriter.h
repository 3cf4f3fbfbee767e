#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QString>
#include <QStringView>

namespace tintwave::engine {

// Writes the classic markup: the style tags, the optional font tag with face and size,
// one <font color="#RRGGBB">…</font> per character and the closing tags, all on one line
// and nothing escaped.
class FontMarkupWriter {
public:
    // Writes the opening tags.
    FontMarkupWriter(const ColorizeOptions& options, MarkupBuffer& out);

    // One character (a grapheme cluster) in the colour of the rounded components.
    void character(QStringView cluster, colorspace::Srgb8 c) {
        out_.put(u"<font color=\"#");
        out_.putHexPair(c.red);
        out_.putHexPair(c.green);
        out_.putHexPair(c.blue);
        out_.put(u"\">");
        out_.put(cluster);
        out_.put(u"</font>");
    }

    // Appends the closing tags.
    void finish();

    // The exact length of the code: characters tags whose components have at most
    // hexWidth digits each, around textLength units of text.
    static qsizetype codeLength(const ColorizeOptions& options, qsizetype characters,
                                qsizetype textLength, int hexWidth);

private:
    const ColorizeOptions& options_;
    MarkupBuffer& out_;
};

} // namespace tintwave::engine
