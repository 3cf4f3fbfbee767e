// The game chat decoders: Minecraft's colour codes and MiniMessage tags.
#include "color/ColorProcs.h"
#include "engine/DecodeSupport.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <unordered_map>

namespace tintwave::engine::decoding {

namespace {

constexpr char16_t kSection = u'\u00A7';

char16_t lower(QChar c) {
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
}

// The style a legacy code letter sets, or 0.
quint8 legacyStyle(char16_t letter) {
    switch (letter) {
    case u'k':
        return kObfuscated;
    case u'l':
        return kBold;
    case u'm':
        return kStrikethrough;
    case u'n':
        return kUnderline;
    case u'o':
        return kItalic;
    default:
        return 0;
    }
}

} // namespace

// & or § before a code: &#RRGGBB, &x&R&R&G&G&B&B, a legacy colour 0 .. f (which, as in the
// game, ends the styles), a style k l m n o, or r for the reader's default. McSection reads
// only §, as the game client does; the & dialects also read §, which the server passes on.
// Anything else after a sign is text, as the readers show it.
std::optional<Failure> decodeMinecraft(QStringView code, DecodedText& decoded) {
    const bool ampersand = decoded.format != OutputFormat::McSection;
    const auto isSign = [ampersand](QChar c) {
        return c.unicode() == kSection || (ampersand && c.unicode() == u'&');
    };
    TextBuilder out(code.size());
    Look look;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = code[i];
        if (isSign(c) && i + 1 < n) {
            const char16_t next = lower(code[i + 1]);
            if (next == u'#' && i + 8 <= n) {
                if (const auto color = parseHex6(code.sliced(i + 2, 6))) {
                    look = {*color, 0};
                    i += 8;
                    continue;
                }
            } else if (next == u'x' && i + 14 <= n) {
                char16_t digits[6];
                bool all = true;
                for (int d = 0; d < 6 && all; ++d) {
                    all = isSign(code[i + 2 + 2 * d]) && hexDigit(code[i + 3 + 2 * d]) >= 0;
                    digits[d] = code[i + 3 + 2 * d].unicode();
                }
                if (all) {
                    look = {*parseHex6(QStringView(digits, 6)), 0};
                    i += 14;
                    continue;
                }
            }
            const int legacy = next == u'#' || next == u'x' ? -1 : hexDigit(QChar(next));
            if (legacy >= 0) {
                look = {legacyChatColor(legacy), 0};
                i += 2;
                continue;
            }
            if (const quint8 style = legacyStyle(next)) {
                look.styles |= style;
                i += 2;
                continue;
            }
            if (next == u'r') {
                look = {};
                i += 2;
                continue;
            }
        }
        out.add(c, look);
        ++i;
    }
    const OutputFormat format = decoded.format;
    decoded = out.take(format);
    return std::nullopt;
}

namespace {

// MiniMessage's tags as the decoder keeps them open: an id to match the closing tag, and the
// look inside. Colours are ids 0x1000000 + RGB for <#RRGGBB>, small numbers for the rest.
enum TagId : quint32 {
    kColorTag,
    kBoldTag,
    kItalicTag,
    kUnderlineTag,
    kStrikeTag,
    kObfuscatedTag,
    kGradientTag,
    kQuietTag,      // known tags without a colour of their own: click, hover, font, ...
    kNamedColorTag, // + 0 .. 15: <red>, <dark_blue>, ...
    kHexTag = 0x1000000,
};

struct Frame {
    quint32 id;
    Look look;
};

// A <gradient> whose characters get their colours once its length is known. Until then
// they carry the colour kGradientBase - index.
constexpr ColorValue kGradientBase = -2;

struct Gradient {
    std::vector<ColorValue> colors;
    double phase = 0;
    qsizetype firstPoint = 0; // code points written before it
    // The characters waiting for a colour: unit and code point number.
    std::vector<std::pair<qsizetype, qsizetype>> waiting;
};

// A component 0 .. 255 as MiniMessage mixes it: in single precision, rounded half up.
int lerpComponent(float t, int from, int to) {
    const float v = float(from) + t * float(to - from);
    const float whole = std::floor(v);
    return int(whole) + (v - whole >= 0.5f ? 1 : 0);
}

class MiniMessageDecoder {
public:
    explicit MiniMessageDecoder(QStringView code)
        : code_(code)
        , out_(code.size()) {}

    std::optional<Failure> run();
    TextBuilder& out() { return out_; }

private:
    Look current() const { return frames_.empty() ? Look{} : frames_.back().look; }
    void add(QChar unit);
    void push(quint32 id, Look look);
    void close(quint32 id);
    void closeGradients(std::size_t keptFrames);
    void resolve(Gradient& g);
    // The tag text between < and >: true when it is a tag MiniMessage knows.
    bool apply(QStringView tag);
    static QStringList arguments(QStringView tag);
    static std::optional<quint32> styleTag(QStringView name);

    QStringView code_;
    TextBuilder out_;
    std::vector<Frame> frames_;
    std::array<int, kNamedColorTag + 16> openCounts_{};
    // The open <#RRGGBB> frames by colour, counted only once a closing one is seen.
    std::optional<std::unordered_map<quint32, int>> hexCounts_;
    std::vector<Gradient> gradients_;
    // The open gradients, innermost last: the frame each opened and its index in gradients_.
    std::vector<std::pair<std::size_t, std::size_t>> openGradients_;
    qsizetype points_ = 0;
};

void MiniMessageDecoder::add(QChar unit) {
    const Look look = current();
    if (look.color <= kGradientBase) {
        gradients_[std::size_t(kGradientBase - look.color)].waiting.emplace_back(out_.size(),
                                                                                 points_);
    }
    out_.add(unit, look);
    if (!unit.isHighSurrogate()) {
        ++points_;
    }
}

void MiniMessageDecoder::push(quint32 id, Look look) {
    frames_.push_back({id, look});
    if (id < kHexTag) {
        ++openCounts_[id];
    } else if (hexCounts_) {
        ++(*hexCounts_)[id];
    }
}

// Closes the innermost open tag of that id and everything opened after it; a closing tag
// with nothing open to close is dropped, as MiniMessage drops it.
void MiniMessageDecoder::close(quint32 id) {
    if (id >= kHexTag && !hexCounts_) {
        hexCounts_.emplace();
        for (const Frame& f : frames_) {
            if (f.id >= kHexTag) {
                ++(*hexCounts_)[f.id];
            }
        }
    }
    const int open = id < kHexTag ? openCounts_[id] : (*hexCounts_)[id];
    if (open == 0) {
        return;
    }
    std::size_t keep = frames_.size();
    while (frames_[keep - 1].id != id) {
        --keep;
    }
    closeGradients(keep - 1);
    while (frames_.size() >= keep) {
        const quint32 top = frames_.back().id;
        if (top < kHexTag) {
            --openCounts_[top];
        } else if (hexCounts_) {
            --(*hexCounts_)[top];
        }
        frames_.pop_back();
    }
}

// Gives the characters of every gradient opened at frame keptFrames or later their colours.
void MiniMessageDecoder::closeGradients(std::size_t keptFrames) {
    while (!openGradients_.empty() && openGradients_.back().first >= keptFrames) {
        resolve(gradients_[openGradients_.back().second]);
        openGradients_.pop_back();
    }
}

// As MiniMessage colours a gradient: code point i of size lies at i * (n - 1) / (size - 1)
// (plus the phase) along the n colours, mixed in single precision and rounded half up.
// Text inside it with a colour of its own keeps that colour but still takes its place.
void MiniMessageDecoder::resolve(Gradient& g) {
    const qsizetype size = points_ - g.firstPoint;
    const auto n = qsizetype(g.colors.size());
    const double multiplier = size <= 1 ? 0 : double(n - 1) / double(size - 1);
    const double phase = g.phase * double(n - 1);
    for (const auto& [unit, point] : g.waiting) {
        const double position = double(point - g.firstPoint) * multiplier + phase;
        const auto low = qsizetype(std::floor(position));
        const ColorValue a = g.colors[std::size_t(low % n)];
        const ColorValue b = g.colors[std::size_t(qsizetype(std::ceil(position)) % n)];
        const float t = std::clamp(float(position - double(low)), 0.0f, 1.0f);
        out_.look(unit).color = color::rgb(lerpComponent(t, color::red(a), color::red(b)),
                                           lerpComponent(t, color::green(a), color::green(b)),
                                           lerpComponent(t, color::blue(a), color::blue(b)));
    }
    g.waiting = {};
}

QStringList MiniMessageDecoder::arguments(QStringView tag) {
    // name:arg:'quoted:arg':"quoted" with \ escaping a quote inside quotes.
    QStringList parts{QString()};
    QChar quote;
    for (qsizetype i = 0; i < tag.size(); ++i) {
        const QChar c = tag[i];
        if (!quote.isNull()) {
            if (c == u'\\' && i + 1 < tag.size() && (tag[i + 1] == quote || tag[i + 1] == u'\\')) {
                parts.back() += tag[++i];
            } else if (c == quote) {
                quote = QChar();
            } else {
                parts.back() += c;
            }
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u':') {
            parts << QString();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::optional<quint32> MiniMessageDecoder::styleTag(QStringView name) {
    static const std::array<std::pair<QStringView, TagId>, 10> names = {{
        {u"b", kBoldTag},
        {u"bold", kBoldTag},
        {u"i", kItalicTag},
        {u"em", kItalicTag},
        {u"italic", kItalicTag},
        {u"u", kUnderlineTag},
        {u"underlined", kUnderlineTag},
        {u"st", kStrikeTag},
        {u"strikethrough", kStrikeTag},
        {u"obf", kObfuscatedTag},
    }};
    for (const auto& [n, id] : names) {
        if (name == n) {
            return id;
        }
    }
    return name == u"obfuscated" ? std::optional<quint32>(kObfuscatedTag) : std::nullopt;
}

bool MiniMessageDecoder::apply(QStringView tag) {
    const bool closing = tag.startsWith(u'/');
    const bool negated = !closing && tag.startsWith(u'!');
    const QStringList parts = arguments(tag.sliced(closing || negated ? 1 : 0));
    const QString name = parts.front().toLower();
    std::optional<quint32> id;
    std::optional<ColorValue> color;
    if (name.startsWith(u'#')) {
        color = parseHex6(QStringView(name).sliced(1));
        id = color ? std::optional<quint32>(kHexTag + quint32(*color)) : std::nullopt;
    } else if (name == u"color" || name == u"colour" || name == u"c") {
        id = kColorTag;
        if (!closing && parts.size() > 1) {
            color = parts[1].startsWith(u'#') ? parseHex6(QStringView(parts[1]).sliced(1))
                                              : chatColorNamed(parts[1]);
            id = color ? id : std::nullopt;
        }
    } else if (const auto named = chatColorNamed(name)) {
        color = named;
        for (int k = 0; k < 16; ++k) {
            if (legacyChatColor(k) == *named) {
                id = kNamedColorTag + quint32(k);
            }
        }
    } else if (const auto style = styleTag(name)) {
        id = style;
    } else if (name == u"gradient") {
        id = kGradientTag;
    } else if (name == u"click" || name == u"hover" || name == u"insert" || name == u"insertion" ||
               name == u"font" || name == u"shadow" || name == u"rainbow" ||
               name == u"transition") {
        id = kQuietTag;
    } else if (name == u"reset" && !closing) {
        closeGradients(0);
        for (const Frame& f : frames_) {
            if (f.id < kHexTag) {
                --openCounts_[f.id];
            }
        }
        frames_.clear();
        hexCounts_.reset();
        return true;
    } else if ((name == u"newline" || name == u"br") && !closing) {
        add(u'\n');
        return true;
    }
    if (!id) {
        return false;
    }
    if (closing) {
        close(*id);
        return true;
    }
    Look look = current();
    if (color) {
        look.color = *color;
    } else if (*id >= kBoldTag && *id <= kObfuscatedTag) {
        const quint8 bit = quint8(1 << (*id - kBoldTag));
        const bool off = negated || (parts.size() > 1 && parts[1].compare(u"false") == 0);
        look = styled(look, bit, !off);
    } else if (*id == kGradientTag) {
        Gradient g;
        for (qsizetype k = 1; k < parts.size(); ++k) {
            bool isNumber = false;
            const double phase = parts[k].toDouble(&isNumber);
            if (isNumber && k == parts.size() - 1 && k > 1) {
                if (phase < -1 || phase > 1) {
                    return false;
                }
                g.phase = phase;
                break;
            }
            const std::optional<ColorValue> c = parts[k].startsWith(u'#')
                                                    ? parseHex6(QStringView(parts[k]).sliced(1))
                                                    : chatColorNamed(parts[k]);
            if (!c) {
                return false;
            }
            g.colors.push_back(*c);
        }
        if (g.colors.size() == 1) {
            return false;
        }
        if (g.colors.empty()) {
            g.colors = {kWhite, 0};
        }
        if (g.phase < 0) {
            std::reverse(g.colors.begin(), g.colors.end());
            g.phase += 1;
        }
        g.firstPoint = points_;
        look.color = kGradientBase - ColorValue(gradients_.size());
        gradients_.push_back(std::move(g));
        openGradients_.emplace_back(frames_.size(), gradients_.size() - 1);
    }
    push(*id, look);
    return true;
}

std::optional<Failure> MiniMessageDecoder::run() {
    const qsizetype n = code_.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = code_[i];
        if (c == u'\\' && i + 1 < n && (code_[i + 1] == u'<' || code_[i + 1] == u'\\')) {
            add(code_[i + 1]);
            i += 2;
            continue;
        }
        if (c != u'<' || i + 1 == n) {
            add(c);
            ++i;
            continue;
        }
        // <#RRGGBB>, as the writer puts one before every character or run.
        if (i + 8 < n && code_[i + 1] == u'#' && code_[i + 8] == u'>') {
            if (const auto color = parseHex6(code_.sliced(i + 2, 6))) {
                push(kHexTag + quint32(*color), {*color, current().styles});
                i += 9;
                continue;
            }
        }
        const QChar first = code_[i + 1];
        if (!first.isLetter() && first != u'#' && first != u'/' && first != u'!') {
            add(c);
            ++i;
            continue;
        }
        // The tag runs to the first > outside quotes.
        qsizetype end = i + 1;
        QChar quote;
        for (; end < n; ++end) {
            const QChar e = code_[end];
            if (!quote.isNull()) {
                if (e == u'\\' && end + 1 < n) {
                    ++end;
                } else if (e == quote) {
                    quote = QChar();
                }
            } else if (e == u'\'' || e == u'"') {
                quote = e;
            } else if (e == u'>' || e == u'<') {
                break;
            }
        }
        if (end == n) {
            return Failure{i, QStringLiteral("tag not closed before the end")};
        }
        if (code_[end] == u'>' && apply(code_.sliced(i + 1, end - i - 1))) {
            i = end + 1;
        } else {
            add(c); // not a tag MiniMessage knows: shown as it is
            ++i;
        }
    }
    closeGradients(0);
    return std::nullopt;
}

} // namespace

// MiniMessage: hex, named and <color:...> colour tags, the style tags and their negations,
// <gradient>, <reset>, <newline>, the escapes \< and \\; tags of interaction (click, hover,
// ...) are dropped, unknown tags shown as text, as MiniMessage shows them.
std::optional<Failure> decodeMiniMessage(QStringView code, DecodedText& decoded) {
    MiniMessageDecoder decoder(code);
    if (auto failure = decoder.run()) {
        return failure;
    }
    decoded = decoder.out().take(OutputFormat::MiniMessage);
    return std::nullopt;
}

} // namespace tintwave::engine::decoding
