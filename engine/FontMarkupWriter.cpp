#include "engine/FontMarkupWriter.h"

#include <cstdint>

namespace tintwave::engine {

namespace {

const QString kNone = QStringLiteral("None");

// Markup of one character apart from the character itself and the six hex digits.
constexpr qsizetype kTagOverhead = qsizetype(sizeof(u"<font color=\"#\"></font>") / 2 - 1);

int hexDigits(std::uint32_t value) {
    int digits = 1;
    while (value >>= 4) {
        ++digits;
    }
    return digits;
}

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

FontMarkupWriter::FontMarkupWriter(const ColorizeOptions& options, qsizetype characters,
                                   qsizetype textLength, int maxComponent)
    : closing_(closingTags(options)) {
    const QString opening = openingTags(options);
    const int hexWidth = std::max(2, hexDigits(std::uint32_t(std::max(0, maxComponent))));
    const qsizetype capacity =
        opening.size() + closing_.size() + textLength + characters * (kTagOverhead + 3 * hexWidth);
    out_ = QString(capacity, Qt::Uninitialized);
    cursor_ = reinterpret_cast<char16_t*>(out_.data());
    put(opening);
}

void FontMarkupWriter::put(QStringView text) {
    if (text.isEmpty()) // no tags at all: a null view, which memcpy must not be given
        return;
    std::memcpy(cursor_, text.utf16(), sizeof(char16_t) * std::size_t(text.size()));
    cursor_ += text.size();
}

void FontMarkupWriter::putWideHex(int component) {
    const auto value = static_cast<std::uint32_t>(component);
    for (int shift = 4 * (hexDigits(value) - 1); shift >= 0; shift -= 4) {
        *cursor_++ = u"0123456789ABCDEF"[(value >> shift) & 15];
    }
}

QString FontMarkupWriter::finish() {
    put(closing_);
    const auto written = qsizetype(cursor_ - reinterpret_cast<const char16_t*>(out_.constData()));
    Q_ASSERT(written <= out_.size());
    out_.truncate(written);
    cursor_ = nullptr;
    return std::move(out_);
}

} // namespace tintwave::engine
