// The readers of the chats that show a fixed set of colours: Discord's ansi code blocks and
// mIRC colour codes.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/DecodeSupport.h"

#include <algorithm>
#include <array>

namespace tintwave::engine::decoding {

namespace {

constexpr char16_t kEscape = 0x1B;
constexpr char16_t kZeroWidthSpace = 0x200B;

// mIRC colours 16 .. 98, which most clients show alike: the table of modern.ircdocs.horse,
// "IRC Formatting", section "Colors 16-98".
constexpr std::array<int, 83> kMircExtended = {
    0x470000, 0x472100, 0x474700, 0x324700, 0x004700, 0x00472C, 0x004747, 0x002747, 0x000047,
    0x2E0047, 0x470047, 0x47002A, 0x740000, 0x743A00, 0x747400, 0x517400, 0x007400, 0x007449,
    0x007474, 0x004074, 0x000074, 0x4B0074, 0x740074, 0x740045, 0xB50000, 0xB56300, 0xB5B500,
    0x7DB500, 0x00B500, 0x00B571, 0x00B5B5, 0x0063B5, 0x0000B5, 0x7500B5, 0xB500B5, 0xB5006B,
    0xFF0000, 0xFF8C00, 0xFFFF00, 0xB2FF00, 0x00FF00, 0x00FFA0, 0x00FFFF, 0x008CFF, 0x0000FF,
    0xA500FF, 0xFF00FF, 0xFF0098, 0xFF5959, 0xFFB459, 0xFFFF71, 0xCFFF60, 0x6FFF6F, 0x65FFC9,
    0x6DFFFF, 0x59B4FF, 0x5959FF, 0xC459FF, 0xFF66FF, 0xFF59BC, 0xFF9C9C, 0xFFD39C, 0xFFFF9C,
    0xE2FF9C, 0x9CFF9C, 0x9CFFDB, 0x9CFFFF, 0x9CD3FF, 0x9C9CFF, 0xDC9CFF, 0xFF9CFF, 0xFF94D3,
    0x000000, 0x131313, 0x282828, 0x363636, 0x4D4D4D, 0x656565, 0x818181, 0x9F9F9F, 0xBCBCBC,
    0xE2E2E2, 0xFFFFFF,
};

ColorValue setColor(ColorSet set, int index) {
    const colorspace::Srgb8 c = colorsOf(set)[std::size_t(index)].color;
    return color::rgb(c.red, c.green, c.blue);
}

// An mIRC colour 0 .. 99; 99 is the reader's default.
ColorValue mircColor(int number) {
    if (number < 16) {
        return setColor(ColorSet::Mirc, number);
    }
    if (number < 99) {
        const int rgb = kMircExtended[std::size_t(number - 16)];
        return color::rgb(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
    }
    return kNoColor;
}

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The SGR parameters Discord shows: reset, bold, underline, their ends, the eight colours of
// its set and the default colour. Backgrounds and the rest are skipped, 38 / 48 with the
// colour that follows them (5;N or 2;R;G;B), so its numbers are not read as codes.
void applyDiscordSgr(QStringView parameters, Look& look) {
    const SgrParameters sgr = sgrParameters(parameters);
    const auto& values = sgr.values;
    const int count = sgr.count;
    for (int k = 0; k < count; ++k) {
        const int v = values[std::size_t(k)];
        const int mode = k + 1 < count ? values[std::size_t(k + 1)] : -1;
        if (v == 0) {
            look = {};
        } else if (v == 1 || v == 22) {
            look = styled(look, kBold, v == 1);
        } else if (v == 4 || v == 24) {
            look = styled(look, kUnderline, v == 4);
        } else if (v >= 30 && v <= 37) {
            look.color = setColor(ColorSet::Discord, v - 30);
        } else if (v == 39) {
            look.color = kNoColor;
        } else if ((v == 38 || v == 48) && (mode == 5 || mode == 2)) {
            k += mode == 5 ? 2 : 4;
        }
    }
}

// The parts of a Discord message: the block's inside [begin, end) and the text around the
// fences, which Discord shows uncoloured.
struct Block {
    QStringView before;
    qsizetype begin = 0;
    qsizetype end = 0;
    QStringView after;
};

// The block opens with "```ansi" and a line break (LF or CR LF) and ends at the next "```",
// with the line break before it. Without an opening line the code is read as the inside of a
// block; without a closing fence the block runs to the end.
Block blockOf(QStringView code) {
    const qsizetype n = code.size();
    for (qsizetype from = 0;;) {
        const qsizetype fence = code.indexOf(u"```ansi", from);
        if (fence < 0) {
            return {{}, 0, n, {}};
        }
        qsizetype begin = fence + 7;
        if (begin < n && code[begin] == u'\r') {
            ++begin;
        }
        if (begin < n && code[begin] == u'\n') {
            Block block{code.first(fence), begin + 1, n, {}};
            const qsizetype close = code.indexOf(u"```", block.begin);
            if (close >= 0) {
                block.end = close;
                if (block.end > block.begin && code[block.end - 1] == u'\n') {
                    --block.end;
                    if (block.end > block.begin && code[block.end - 1] == u'\r') {
                        --block.end;
                    }
                }
                block.after = code.sliced(close + 3);
            }
            return block;
        }
        from = fence + 1;
    }
}

void addUncoloured(QStringView outside, TextBuilder& out) {
    if (!outside.trimmed().isEmpty()) {
        out.add(outside, Look{});
    }
}

} // namespace

// SGR sequences ESC[...m inside the block; other escape sequences are skipped, one cut off by
// the end of the block cannot be read. A zero-width space between two backticks is the
// writer's, which keeps a "```" of the text from ending the block: it is not text.
std::optional<Failure> decodeDiscord(QStringView code, DecodedText& decoded) {
    const Block block = blockOf(code);
    TextBuilder out(code.size());
    addUncoloured(block.before, out);
    Look look;
    for (qsizetype i = block.begin; i < block.end;) {
        const QChar c = code[i];
        if (c.unicode() == kEscape && i + 1 < block.end && code[i + 1] == u'[') {
            const qsizetype j = controlSequenceEnd(code, i, block.end);
            if (j == block.end) {
                return Failure{i, QStringLiteral("escape sequence cut off by the end")};
            }
            const QStringView parameters = code.sliced(i + 2, j - i - 2);
            const char16_t final = code[j].unicode();
            if (final == u'm' && (parameters.isEmpty() || parameters[0].unicode() < u'<')) {
                applyDiscordSgr(parameters, look);
            }
            // A sequence without a final byte ends before what stands there.
            i = final >= 0x40 && final <= 0x7E ? j + 1 : j;
            continue;
        }
        const bool writersSpace = c.unicode() == kZeroWidthSpace && i > block.begin &&
                                  i + 1 < block.end && code[i - 1] == u'`' && code[i + 1] == u'`';
        if (c.unicode() != kEscape && !writersSpace) {
            out.add(c, look);
        }
        ++i;
    }
    addUncoloured(block.after, out);
    decoded = out.take(OutputFormat::Discord);
    return std::nullopt;
}

// \x03 and one or two digits of foreground, optionally a comma and one or two digits of
// background (not shown here); \x03 alone ends the colour. \x02, \x1D, \x1F and \x1E toggle
// bold, italic, underline and strikethrough; \x0F resets everything; reverse (\x16) and
// monospace (\x11) are skipped.
std::optional<Failure> decodeIrc(QStringView code, DecodedText& decoded) {
    TextBuilder out(code.size());
    Look look;
    const qsizetype n = code.size();
    // One or two digits at at, moved past them; -1 when there is none.
    const auto number = [&](qsizetype& at) {
        if (at >= n || !isDigit(code[at])) {
            return -1;
        }
        int value = code[at++].unicode() - u'0';
        if (at < n && isDigit(code[at])) {
            value = value * 10 + code[at++].unicode() - u'0';
        }
        return value;
    };
    for (qsizetype i = 0; i < n;) {
        const char16_t u = code[i].unicode();
        if (u == 0x03) {
            ++i;
            const int foreground = number(i);
            look.color = foreground < 0 ? kNoColor : mircColor(foreground);
            if (foreground >= 0 && i + 1 < n && code[i] == u',' && isDigit(code[i + 1])) {
                ++i;
                number(i);
            }
            continue;
        }
        switch (u) {
        case 0x02:
            look.styles ^= kBold;
            break;
        case 0x1D:
            look.styles ^= kItalic;
            break;
        case 0x1F:
            look.styles ^= kUnderline;
            break;
        case 0x1E:
            look.styles ^= kStrikethrough;
            break;
        case 0x0F:
            look = {};
            break;
        case 0x16:
        case 0x11:
            break;
        default:
            out.add(code[i], look);
        }
        ++i;
    }
    decoded = out.take(OutputFormat::Irc);
    return std::nullopt;
}

} // namespace tintwave::engine::decoding
