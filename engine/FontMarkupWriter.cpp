#include "engine/FontMarkupWriter.h"

namespace tintwave::engine {

// The style tags, then the font tag; the face is quoted, the size never is.
FontMarkupWriter::FontMarkupWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , wrappers_(out) {
    if (options.center) {
        wrappers_.open(QStringLiteral("<center>"), u"</center>");
    }
    wrappers_.openStyleTags(options);
    const bool hasFace = options.face != kNone;
    const bool hasSize = options.size != kNone;
    if (hasFace || hasSize) {
        QString tag = QStringLiteral("<font");
        if (hasFace) {
            tag += QStringLiteral(" face=\"") + options.face + u'"';
        }
        if (hasSize) {
            tag += QStringLiteral(" size=") + options.size;
        }
        wrappers_.open(tag + u'>', u"</font>");
    }
}

} // namespace tintwave::engine
