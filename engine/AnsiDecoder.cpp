// The decoders of terminal escape sequences.
#include "color/ColorProcs.h"
#include "engine/DecodeSupport.h"

#include <algorithm>
#include <array>

namespace tintwave::engine::decoding {

namespace {

// 38;2;R;G;B alone, the writer's sequence before every character or run: the colour.
std::optional<ColorValue> trueColor(QStringView parameters) {
    if (parameters.size() < 10 || !holdsAt(parameters, 0, u"38;2;")) {
        return std::nullopt;
    }
    std::array<int, 3> rgb{};
    int count = 0;
    for (qsizetype i = 5; i < parameters.size(); ++i) {
        const char16_t c = parameters[i].unicode();
        if (c == u';' && count < 2) {
            ++count;
        } else if (c >= u'0' && c <= u'9' && rgb[std::size_t(count)] < 256) {
            rgb[std::size_t(count)] = rgb[std::size_t(count)] * 10 + (c - u'0');
        } else {
            return std::nullopt;
        }
    }
    if (count != 2 || rgb[0] > 255 || rgb[1] > 255 || rgb[2] > 255) {
        return std::nullopt;
    }
    return color::rgb(rgb[0], rgb[1], rgb[2]);
}

// Applies the SGR parameters of one ESC[...m to look.
void applySgr(QStringView parameters, Look& look) {
    const SgrParameters sgr = sgrParameters(parameters);
    const auto& values = sgr.values;
    const int count = sgr.count;
    for (int k = 0; k < count; ++k) {
        const int v = values[std::size_t(k)];
        const auto at = [&](int offset) {
            return k + offset < count ? values[std::size_t(k + offset)] : 0;
        };
        if (v == 0) {
            look = {};
        } else if (v == 1 || v == 3 || v == 4 || v == 9) {
            look = styled(look,
                          v == 1   ? kBold
                          : v == 3 ? kItalic
                          : v == 4 ? kUnderline
                                   : kStrikethrough,
                          true);
        } else if (v == 22 || v == 23 || v == 24 || v == 29) {
            look = styled(look,
                          v == 22   ? kBold
                          : v == 23 ? kItalic
                          : v == 24 ? kUnderline
                                    : kStrikethrough,
                          false);
        } else if (v >= 30 && v <= 37) {
            look.color = xtermColor(v - 30);
        } else if (v >= 90 && v <= 97) {
            look.color = xtermColor(v - 90 + 8);
        } else if (v == 39) {
            look.color = kNoColor;
        } else if ((v == 38 || v == 48) && at(1) == 5) {
            if (v == 38) {
                look.color = xtermColor(std::clamp(at(2), 0, 255));
            }
            k += 2;
        } else if ((v == 38 || v == 48) && at(1) == 2) {
            if (v == 38) {
                look.color =
                    color::rgb(std::min(at(2), 255), std::min(at(3), 255), std::min(at(4), 255));
            }
            k += 4;
        }
    }
}

} // namespace

// SGR sequences: 24-bit, 256 and 16 colours by xterm's values, bold, italic, underline,
// strikethrough and their ends, reset. Other escape sequences move the cursor or set a title
// and are skipped; one cut off by the end of the input cannot be read.
std::optional<Failure> decodeAnsi(QStringView code, DecodedText& decoded) {
    TextBuilder out(code.size());
    Look look;
    const qsizetype n = code.size();
    const QString cutOff = QStringLiteral("escape sequence cut off by the end");
    for (qsizetype i = 0; i < n;) {
        if (code[i] != u'\x1b') {
            out.add(code[i++], look);
            continue;
        }
        if (i + 1 == n) {
            return Failure{i, cutOff};
        }
        const QChar kind = code[i + 1];
        if (kind == u'[') {
            const qsizetype j = controlSequenceEnd(code, i, n);
            if (j == n) {
                return Failure{i, cutOff};
            }
            const QStringView parameters = code.sliced(i + 2, j - i - 2);
            if (code[j] == u'm' && (parameters.isEmpty() || parameters[0].unicode() < u'<')) {
                if (const std::optional<ColorValue> color = trueColor(parameters)) {
                    look.color = *color;
                } else {
                    applySgr(parameters, look);
                }
            }
            i = j + 1;
        } else if (kind == u']' || kind == u'P' || kind == u'X' || kind == u'^' || kind == u'_') {
            // A string ended by BEL or ESC backslash.
            qsizetype j = i + 2;
            while (j < n && code[j] != u'\a' &&
                   !(code[j] == u'\x1b' && j + 1 < n && code[j + 1] == u'\\')) {
                ++j;
            }
            if (j == n) {
                return Failure{i, cutOff};
            }
            i = j + (code[j] == u'\a' ? 1 : 2);
        } else {
            i += 2;
        }
    }
    decoded = out.take(OutputFormat::Ansi);
    return std::nullopt;
}

} // namespace tintwave::engine::decoding
