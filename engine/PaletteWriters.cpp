#include "engine/PaletteWriters.h"

namespace tintwave::engine {

namespace {

constexpr char16_t kZeroWidthSpace = 0x200B;

} // namespace

DiscordWriter::DiscordWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , opening_(QStringLiteral("\x1b[0;"))
    , runs_(alwaysMerged(options)) {
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
        const char16_t u = withoutControls(c.unicode());
        if (u == u'`' && afterBacktick_) {
            out_.put(kZeroWidthSpace);
        }
        out_.put(u);
        afterBacktick_ = u == u'`';
    }
}

IrcWriter::IrcWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , runs_(alwaysMerged(options)) {
    if (options.bold) {
        styles_ += u'\x02';
    }
    if (options.italic) {
        styles_ += u'\x1D';
    }
    if (options.underline) {
        styles_ += u'\x1F';
    }
    if (options.output.strikethrough) {
        styles_ += u'\x1E';
    }
}

} // namespace tintwave::engine
