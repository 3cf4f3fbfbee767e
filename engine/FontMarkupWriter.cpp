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

} // namespace

FontMarkupWriter::FontMarkupWriter(const ColorizeOptions& options, qsizetype characters,
                                   qsizetype textLength, int maxComponent) {
    const bool hasFace = options.face != kNone;
    const bool hasSize = options.size != kNone;

    QString opening;
    if (options.center) {
        opening += u"<center>";
    }
    if (options.bold) {
        opening += u"<b>";
    }
    if (options.italic) {
        opening += u"<i>";
    }
    if (options.underline) {
        opening += u"<u>";
    }
    if (hasFace) {
        opening += u"<font face=\"";
        opening += options.face;
        opening += u'"';
    } else if (hasSize) {
        opening += u"<font";
    }
    if (hasSize) {
        opening += u" size=";
        opening += options.size;
    }
    if (hasFace || hasSize) {
        opening += u'>';
        closing_ += u"</font>";
    }
    if (options.underline) {
        closing_ += u"</u>";
    }
    if (options.italic) {
        closing_ += u"</i>";
    }
    if (options.bold) {
        closing_ += u"</b>";
    }
    if (options.center) {
        closing_ += u"</center>";
    }

    const int hexWidth = std::max(2, hexDigits(std::uint32_t(std::max(0, maxComponent))));
    const qsizetype capacity =
        opening.size() + closing_.size() + textLength + characters * (kTagOverhead + 3 * hexWidth);
    out_ = QString(capacity, Qt::Uninitialized);
    cursor_ = reinterpret_cast<char16_t*>(out_.data());
    put(opening);
}

void FontMarkupWriter::put(QStringView text) {
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
