#pragma once

#include "engine/Decode.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

// What the decoders of the single formats share: the growing decoded text, colour names and
// numbers, and the entry point of each decoder.
namespace tintwave::engine::decoding {

// The text and one look per unit, grown as the decoder goes. A code takes at least a few
// units per coloured character; a fraction of its size is reserved to start with.
class TextBuilder {
public:
    explicit TextBuilder(qsizetype codeSize) {
        text_.reserve(codeSize / 4);
        looks_.reserve(std::size_t(codeSize / 4));
    }
    void add(QChar unit, Look look) {
        text_.append(unit);
        looks_.push_back(look);
    }
    void add(QStringView units, Look look) {
        if (units.size() == 1) {
            add(units.front(), look);
            return;
        }
        text_.append(units);
        looks_.insert(looks_.end(), std::size_t(units.size()), look);
    }
    qsizetype size() const { return text_.size(); }
    QChar unit(qsizetype i) const { return text_[i]; }
    Look& look(qsizetype i) { return looks_[std::size_t(i)]; }

    DecodedText take(OutputFormat format) {
        DecodedText decoded;
        decoded.format = format;
        decoded.text = std::move(text_);
        decoded.looks = std::move(looks_);
        return decoded;
    }

private:
    QString text_;
    std::vector<Look> looks_;
};

// look with one style bit set or cleared.
inline Look styled(Look look, quint8 bit, bool on) {
    look.styles = on ? quint8(look.styles | bit) : quint8(look.styles & ~bit);
    return look;
}

// A failed read at a code-unit offset of the code; decode() turns it into a DecodeError.
struct Failure {
    qsizetype offset = 0;
    QString what;
};

// Whether code holds the literal at offset at, compared unit by unit (the decoders' fast
// paths for the codes the writers put before every character).
template <std::size_t N>
bool holdsAt(QStringView code, qsizetype at, const char16_t (&literal)[N]) {
    constexpr auto length = qsizetype(N - 1);
    if (code.size() - at < length) {
        return false;
    }
    const QChar* c = code.data() + at;
    for (qsizetype i = 0; i < length; ++i) {
        if (c[i].unicode() != literal[i]) {
            return false;
        }
    }
    return true;
}

// The value of a hex digit, or -1.
inline int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Six hex digits RRGGBB as a packed colour.
std::optional<ColorValue> parseHex6(QStringView digits);
// #RRGGBB, #RGB or one of the sixteen HTML colour names, any case, spaces around allowed.
std::optional<ColorValue> parseHtmlColor(QStringView value);
// The sixteen chat colour names ("dark_red", "gray" or "grey", ...), any case.
std::optional<ColorValue> chatColorNamed(QStringView name);
// The chat colour of a legacy code 0 .. 15 (&0 .. &f).
ColorValue legacyChatColor(int code);
// A colour 0 .. 255 of the xterm palette: 16 system colours, the 6x6x6 cube, 24 greys.
ColorValue xtermColor(int index);

// The numbers of one SGR sequence's parameters (what stands between ESC[ and m), the first
// 32: ';' or ':' separates them, other characters are skipped, each is at most 65536.
struct SgrParameters {
    std::array<int, 32> values{};
    int count = 0;
};
SgrParameters sgrParameters(QStringView parameters);

// The end of the parameter and intermediate characters (0x20 .. 0x3F) of a control sequence
// whose ESC[ is at at: where its final character stands, or end when the code ends first.
qsizetype controlSequenceEnd(QStringView code, qsizetype at, qsizetype end);

// HTML entity at code[at] ('&'): &amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xH;. Writes the
// character(s) it stands for to out and returns its length, or 0 when there is none there.
qsizetype readEntity(QStringView code, qsizetype at, QString& out);

// One decoder per format family; each fills decoded or returns where it failed.
std::optional<Failure> decodeHtml(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeBBCode(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeAnsi(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeMinecraft(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeMiniMessage(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeJson(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeDiscord(QStringView code, DecodedText& decoded);
std::optional<Failure> decodeIrc(QStringView code, DecodedText& decoded);

} // namespace tintwave::engine::decoding
