#include "engine/FontMarkupWriter.h"

namespace tintwave::engine {

namespace {

// Markup of one character apart from the character itself and the six hex digits.
constexpr qsizetype kTagOverhead = qsizetype(sizeof(u"<font color=\"#\"></font>") / 2 - 1);

bool hasFace(const ColorizeOptions& o) {
    return o.face != kNone;
}
bool hasSize(const ColorizeOptions& o) {
    return o.size != kNone;
}

// The style tags, then the font tag; the face is quoted, the size never is.
QString openingTags(const ColorizeOptions& options) {
    QString tags;
    if (options.center) {
        tags += u"<center>";
    }
    if (options.bold) {
        tags += u"<b>";
    }
    if (options.italic) {
        tags += u"<i>";
    }
    if (options.underline) {
        tags += u"<u>";
    }
    if (hasFace(options)) {
        tags += u"<font face=\"";
        tags += options.face;
        tags += u'"';
    } else if (hasSize(options)) {
        tags += u"<font";
    }
    if (hasSize(options)) {
        tags += u" size=";
        tags += options.size;
    }
    if (hasFace(options) || hasSize(options)) {
        tags += u'>';
    }
    return tags;
}

QString closingTags(const ColorizeOptions& options) {
    QString tags;
    if (hasFace(options) || hasSize(options)) {
        tags += u"</font>";
    }
    if (options.underline) {
        tags += u"</u>";
    }
    if (options.italic) {
        tags += u"</i>";
    }
    if (options.bold) {
        tags += u"</b>";
    }
    if (options.center) {
        tags += u"</center>";
    }
    return tags;
}

} // namespace

FontMarkupWriter::FontMarkupWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : options_(options)
    , out_(out) {
    out_.put(openingTags(options));
}

void FontMarkupWriter::finish() {
    out_.put(closingTags(options_));
}

qsizetype FontMarkupWriter::codeLength(const ColorizeOptions& options, qsizetype characters,
                                       qsizetype textLength, int hexWidth) {
    return openingTags(options).size() + closingTags(options).size() + textLength +
           characters * (kTagOverhead + 3 * hexWidth);
}

} // namespace tintwave::engine
