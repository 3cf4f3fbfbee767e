#pragma once

#include "color/ColorProcs.h"
#include "engine/Colorize.h"

#include <QString>
#include <QStringView>
#include <cstring>
#include <memory>

namespace tintwave::engine {

// A fixed-size buffer the markup writers fill through a raw cursor; whenever it is full its
// contents go to the sink. Memory stays the same whatever the size of the output, and a
// piece never ends between the two halves of a surrogate pair.
class MarkupBuffer {
public:
    explicit MarkupBuffer(CodeSink& sink);

    void put(char16_t unit) {
        if (cursor_ == end_) {
            flush();
        }
        *cursor_++ = unit;
    }
    template <std::size_t N> void put(const char16_t (&literal)[N]) { put(literal, N - 1); }
    void put(QStringView text) {
        if (text.size() == 1) { // most characters: spares a call of memcpy
            put(text.front().unicode());
        } else if (!text.isEmpty()) { // an empty view may be null, which memcpy must not get
            put(text.utf16(), text.size());
        }
    }
    void put(const char16_t* units, qsizetype count) {
        if (end_ - cursor_ >= count) {
            std::memcpy(cursor_, units, sizeof(char16_t) * std::size_t(count));
            cursor_ += count;
        } else {
            putLong(units, count);
        }
    }

    // Two upper-case hex digits for 0 .. 255; a wider value keeps all its digits.
    void putHexPair(int component) {
        if (end_ - cursor_ < 8) { // the most digits writeHex gives
            flush();
        }
        cursor_ = color::writeHex(component, cursor_);
    }
    // Two upper-case hex digits of a component known to be 0 .. 255.
    void putHexByte(int component) { cursor_ = writeHexByte(component, room(2)); }
    static char16_t* writeHexByte(int component, char16_t* out) {
        *out++ = u"0123456789ABCDEF"[component >> 4];
        *out++ = u"0123456789ABCDEF"[component & 15];
        return out;
    }

    // A short code of at most count units in one go: write them at the cursor room()
    // returns, then hand their end to advance().
    char16_t* room(qsizetype count) {
        if (end_ - cursor_ < count) {
            flush();
        }
        return cursor_;
    }
    void advance(char16_t* end) { cursor_ = end; }
    // 0 .. 255 in decimal without leading zeros.
    void putDecimal(int component);

    // Hands everything still buffered to the sink.
    void flush();

private:
    void putLong(const char16_t* units, qsizetype count);

    CodeSink& sink_;
    std::unique_ptr<char16_t[]> data_;
    char16_t* cursor_ = nullptr;
    char16_t* end_ = nullptr;
};

// A UTF-16 unit as a terminal or chat may get it: a control character (other than tab) as its
// Unicode control picture (U+2400 .. U+241F, DEL as U+2421), a C1 control as U+FFFD, so none
// can start a code; anything else as it is.
constexpr char16_t withoutControls(char16_t u) {
    if (u == u'\t' || (u >= 0x20 && u < 0x7F) || u > 0x9F) {
        return u;
    }
    if (u < 0x20) {
        return char16_t(0x2400 + u);
    }
    return u == 0x7F ? char16_t(0x2421) : char16_t(0xFFFD);
}

// The markup a writer opens around the characters: each opening goes out at once and its
// closing is kept, so close() ends them in reverse order.
class Wrappers {
public:
    explicit Wrappers(MarkupBuffer& out)
        : out_(out) {}

    void open(const QString& opening, QStringView closing) {
        out_.put(opening);
        opened_ += opening.size();
        closing_.prepend(closing);
    }
    void close() { out_.put(closing_); }

    // <b>, <i> and <u> as chosen, in that order: HTML and MiniMessage spell them alike. Then
    // strikethrough, <s> in HTML and <st> in MiniMessage, and MiniMessage's <obf>.
    void openStyleTags(const ColorizeOptions& options, bool miniMessage = false) {
        if (options.bold) {
            open(QStringLiteral("<b>"), u"</b>");
        }
        if (options.italic) {
            open(QStringLiteral("<i>"), u"</i>");
        }
        if (options.underline) {
            open(QStringLiteral("<u>"), u"</u>");
        }
        if (options.output.strikethrough) {
            miniMessage ? open(QStringLiteral("<st>"), u"</st>")
                        : open(QStringLiteral("<s>"), u"</s>");
        }
        if (options.output.obfuscated && miniMessage) {
            open(QStringLiteral("<obf>"), u"</obf>");
        }
    }

    // Everything openStyleTags opens and closes.
    static qsizetype styleTagsLength(const ColorizeOptions& options, bool miniMessage) {
        const qsizetype strike = miniMessage ? 9 : 7; // <st></st> or <s></s>
        return 7 * (int(options.bold) + int(options.italic) + int(options.underline)) +
               (options.output.strikethrough ? strike : 0) +
               (options.output.obfuscated && miniMessage ? 11 : 0);
    }

    // Everything open and close write.
    qsizetype length() const { return opened_ + closing_.size(); }

private:
    MarkupBuffer& out_;
    qsizetype opened_ = 0;
    QString closing_;
};

} // namespace tintwave::engine
