#include "engine/PaletteWriters.h"

namespace tintwave::engine {

namespace {

// A control character as its picture (U+2400 .. U+2421), a C1 control as U+FFFD; anything
// else as it is.
char16_t visible(char16_t u) {
    if (u == u'\t' || (u >= 0x20 && u < 0x7F) || u > 0x9F) {
        return u;
    }
    if (u < 0x20) {
        return char16_t(0x2400 + u);
    }
    return u == 0x7F ? char16_t(0x2421) : char16_t(0xFFFD);
}

constexpr char16_t kZeroWidthSpace = 0x200B;

} // namespace

DiscordWriter::DiscordWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , opening_(QStringLiteral("\x1b[0;")) {
    if (options.bold) {
        opening_ += QStringLiteral("1;");
    }
    if (options.underline) {
        opening_ += QStringLiteral("4;");
    }
    out_.put(u"```ansi\n");
}

void DiscordWriter::putText(QStringView text) {
    for (QChar c : text) {
        const char16_t u = visible(c.unicode());
        if (u == u'`' && afterBacktick_) {
            out_.put(kZeroWidthSpace);
        }
        out_.put(u);
        afterBacktick_ = u == u'`';
    }
}

IrcWriter::IrcWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out) {
    if (options.bold) {
        styles_ += u'\x02';
    }
    if (options.italic) {
        styles_ += u'\x1D';
    }
    if (options.underline) {
        styles_ += u'\x1F';
    }
}

void IrcWriter::putVisible(QStringView text) {
    for (QChar c : text) {
        out_.put(visible(c.unicode()));
    }
}

} // namespace tintwave::engine
