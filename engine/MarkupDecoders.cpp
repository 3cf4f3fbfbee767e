// The decoders of HTML (font tags and spans) and BBCode.
#include "color/ColorProcs.h"
#include "engine/DecodeSupport.h"

#include <array>

namespace tintwave::engine::decoding {

namespace {

bool startsWithAt(QStringView code, qsizetype at, QStringView prefix,
                  Qt::CaseSensitivity cs = Qt::CaseSensitive) {
    return code.size() - at >= prefix.size() &&
           code.sliced(at, prefix.size()).compare(prefix, cs) == 0;
}

// Elements kept open by a decoder, each with the look inside it, closed as HTML and BBCode
// close them: a closing tag ends the innermost open element of its kind and those inside it;
// one with nothing to close is dropped. Counting the open ones of each kind keeps that linear.
template <int Kinds> class OpenElements {
public:
    Look current() const { return open_.empty() ? Look{} : open_.back().second; }
    void open(int kind, Look look) {
        open_.emplace_back(kind, look);
        ++counts_[std::size_t(kind)];
    }
    void close(int kind) {
        if (counts_[std::size_t(kind)] == 0) {
            return;
        }
        int top = -1;
        while (top != kind) {
            top = open_.back().first;
            --counts_[std::size_t(top)];
            open_.pop_back();
        }
    }

private:
    std::vector<std::pair<int, Look>> open_;
    std::array<int, Kinds> counts_{};
};

enum HtmlElement {
    kFontElement,
    kSpanElement,
    kBlockElement,
    kCenterElement,
    kBoldElement,
    kItalicElement,
    kUnderlineElement,
    kStrikeElement,
    kHtmlElements
};

std::optional<HtmlElement> htmlElement(QStringView name) {
    static const std::array<std::pair<QStringView, HtmlElement>, 14> names = {{
        {u"font", kFontElement},
        {u"span", kSpanElement},
        {u"div", kBlockElement},
        {u"p", kBlockElement},
        {u"center", kCenterElement},
        {u"b", kBoldElement},
        {u"strong", kBoldElement},
        {u"i", kItalicElement},
        {u"em", kItalicElement},
        {u"u", kUnderlineElement},
        {u"ins", kUnderlineElement},
        {u"s", kStrikeElement},
        {u"strike", kStrikeElement},
        {u"del", kStrikeElement},
    }};
    for (const auto& [n, element] : names) {
        if (name.compare(n, Qt::CaseInsensitive) == 0) {
            return element;
        }
    }
    return std::nullopt;
}

QString entitiesDecoded(QStringView value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const qsizetype length = value[i] == u'&' ? readEntity(value, i, out) : 0;
        if (length > 0) {
            i += length - 1;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The attributes of a tag, names in lower case, values with their entities decoded.
std::vector<std::pair<QString, QString>> attributesOf(QStringView inside) {
    std::vector<std::pair<QString, QString>> attributes;
    qsizetype i = 0;
    const qsizetype n = inside.size();
    while (i < n) {
        while (i < n && (inside[i].isSpace() || inside[i] == u'/')) {
            ++i;
        }
        const qsizetype nameStart = i;
        while (i < n && !inside[i].isSpace() && inside[i] != u'=' && inside[i] != u'/') {
            ++i;
        }
        QString name = inside.sliced(nameStart, i - nameStart).toString().toLower();
        while (i < n && inside[i].isSpace()) {
            ++i;
        }
        QString value;
        if (i < n && inside[i] == u'=') {
            ++i;
            while (i < n && inside[i].isSpace()) {
                ++i;
            }
            qsizetype valueStart = i;
            qsizetype valueEnd;
            if (i < n && (inside[i] == u'"' || inside[i] == u'\'')) {
                const qsizetype close = inside.indexOf(inside[i], i + 1);
                valueStart = i + 1;
                valueEnd = close < 0 ? n : close;
                i = close < 0 ? n : close + 1;
            } else {
                while (i < n && !inside[i].isSpace()) {
                    ++i;
                }
                valueEnd = i;
            }
            value = entitiesDecoded(inside.sliced(valueStart, valueEnd - valueStart));
        }
        if (!name.isEmpty()) {
            attributes.emplace_back(std::move(name), std::move(value));
        }
    }
    return attributes;
}

// A CSS string or bare family name: the first family of a font-family value.
QString cssFamily(QStringView value) {
    value = value.trimmed();
    if (value.isEmpty() || (value[0] != u'\'' && value[0] != u'"')) {
        const qsizetype comma = value.indexOf(u',');
        return (comma < 0 ? value : value.first(comma)).trimmed().toString();
    }
    QString family;
    for (qsizetype i = 1; i < value.size() && value[i] != value[0]; ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            family += value[i];
            continue;
        }
        qsizetype digits = 0;
        while (digits < 6 && i + 1 + digits < value.size() &&
               hexDigit(value[i + 1 + digits]) >= 0) {
            ++digits;
        }
        if (digits == 0) {
            family += value[++i];
            continue;
        }
        const char32_t point = value.sliced(i + 1, digits).toUInt(nullptr, 16);
        family += QString::fromUcs4(&point, 1);
        i += digits;
        if (i + 1 < value.size() && value[i + 1].isSpace()) {
            ++i;
        }
    }
    return family;
}

// Splits a style attribute into its declarations, leaving ; inside quotes alone.
std::vector<std::pair<QString, QString>> declarationsOf(QStringView style) {
    std::vector<std::pair<QString, QString>> declarations;
    qsizetype start = 0;
    QChar quote;
    for (qsizetype i = 0; i <= style.size(); ++i) {
        const QChar c = i < style.size() ? style[i] : QChar(u';');
        if (!quote.isNull()) {
            if (c == u'\\') {
                ++i;
            } else if (c == quote) {
                quote = QChar();
            }
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            const QStringView declaration = style.sliced(start, std::min(i, style.size()) - start);
            const qsizetype colon = declaration.indexOf(u':');
            if (colon > 0) {
                declarations.emplace_back(declaration.first(colon).trimmed().toString().toLower(),
                                          declaration.sliced(colon + 1).trimmed().toString());
            }
            start = i + 1;
        }
    }
    return declarations;
}

class HtmlDecoder {
public:
    HtmlDecoder(QStringView code, DecodedText& decoded)
        : code_(code)
        , decoded_(decoded)
        , out_(code.size()) {}

    std::optional<Failure> run();

private:
    void add(QChar c) { out_.add(c, open_.current()); }
    qsizetype colorTag(qsizetype at);
    void applyStyle(const QString& style, Look& look);
    void openTag(QStringView name, QStringView inside);

    QStringView code_;
    DecodedText& decoded_;
    TextBuilder out_;
    OpenElements<kHtmlElements> open_;
};

void HtmlDecoder::applyStyle(const QString& style, Look& look) {
    static constexpr std::array<QStringView, 7> kSizes = {
        u"x-small", u"small", u"medium", u"large", u"x-large", u"xx-large", u"xxx-large"};
    for (const auto& [property, value] : declarationsOf(style)) {
        const QString v = value.toLower();
        if (property == u"color") {
            if (const auto color = parseHtmlColor(value)) {
                look.color = *color;
            }
        } else if (property == u"font-family" && decoded_.face == kNone) {
            decoded_.face = cssFamily(value);
        } else if (property == u"font-size" && decoded_.size == kNone) {
            const auto it = std::find(kSizes.begin(), kSizes.end(), QStringView(v));
            if (it != kSizes.end()) {
                decoded_.size = QString::number(it - kSizes.begin() + 1);
            }
        } else if (property == u"font-weight") {
            look = styled(look, kBold, v == u"bold" || v == u"bolder" || v.toInt() >= 600);
        } else if (property == u"font-style") {
            look = styled(look, kItalic, v == u"italic" || v == u"oblique");
        } else if (property == u"text-decoration" || property == u"text-decoration-line") {
            look = styled(look, kUnderline, v.contains(u"underline"));
            look = styled(look, kStrikethrough, v.contains(u"line-through"));
        } else if (property == u"text-align" && v == u"center") {
            decoded_.center = true;
        }
    }
}

void HtmlDecoder::openTag(QStringView name, QStringView inside) {
    if (name.compare(u"br", Qt::CaseInsensitive) == 0) {
        add(u'\n');
        return;
    }
    const std::optional<HtmlElement> element = htmlElement(name);
    if (!element || inside.endsWith(u'/')) {
        return;
    }
    Look look = open_.current();
    for (const auto& [attribute, value] : attributesOf(inside)) {
        if (attribute == u"style") {
            applyStyle(value, look);
        } else if (*element == kFontElement && attribute == u"color") {
            if (const auto color = parseHtmlColor(value)) {
                look.color = *color;
            }
        } else if (*element == kFontElement && attribute == u"face" && decoded_.face == kNone) {
            decoded_.face = value;
        } else if (*element == kFontElement && attribute == u"size" && decoded_.size == kNone) {
            decoded_.size = value;
        } else if (attribute == u"align" && value.compare(u"center", Qt::CaseInsensitive) == 0) {
            decoded_.center = true;
        }
    }
    switch (*element) {
    case kCenterElement:
        decoded_.center = true;
        break;
    case kBoldElement:
        look = styled(look, kBold, true);
        break;
    case kItalicElement:
        look = styled(look, kItalic, true);
        break;
    case kUnderlineElement:
        look = styled(look, kUnderline, true);
        break;
    case kStrikeElement:
        look = styled(look, kStrikethrough, true);
        break;
    default:
        break;
    }
    open_.open(*element, look);
}

// The length of the writers' own <font color="#RRGGBB"> or <span style="color:#RRGGBB"> at
// code[at], opened; 0 when there is none.
qsizetype HtmlDecoder::colorTag(qsizetype at) {
    const bool font = holdsAt(code_, at, u"<font color=\"#");
    if (!font && !holdsAt(code_, at, u"<span style=\"color:#")) {
        return 0;
    }
    const qsizetype digits = at + (font ? 14 : 20);
    if (digits + 8 > code_.size() || code_[digits + 6] != u'"' || code_[digits + 7] != u'>') {
        return 0;
    }
    const auto color = parseHex6(code_.sliced(digits, 6));
    if (!color) {
        return 0;
    }
    Look look = open_.current();
    look.color = *color;
    open_.open(font ? kFontElement : kSpanElement, look);
    return digits + 8 - at;
}

std::optional<Failure> HtmlDecoder::run() {
    const qsizetype n = code_.size();
    bool afterBreak = false; // the line break the writers put after <br> is layout only
    QString entity;
    for (qsizetype i = 0; i < n;) {
        const QChar c = code_[i];
        if (afterBreak && (c == u'\n' || c == u'\r')) {
            i += c == u'\r' && i + 1 < n && code_[i + 1] == u'\n' ? 2 : 1;
            afterBreak = false;
            continue;
        }
        afterBreak = false;
        if (c == u'&') {
            entity.clear();
            if (const qsizetype length = readEntity(code_, i, entity)) {
                out_.add(entity, open_.current());
                i += length;
            } else {
                add(c);
                ++i;
            }
            continue;
        }
        if (c != u'<' || i + 1 == n) {
            add(c);
            ++i;
            continue;
        }
        // The writers' colour tags and their ends, the bulk of a code, without a general parse.
        if (const qsizetype length = colorTag(i)) {
            i += length;
            continue;
        }
        if (holdsAt(code_, i, u"</font>") || holdsAt(code_, i, u"</span>")) {
            open_.close(code_[i + 2] == u'f' ? kFontElement : kSpanElement);
            i += 7;
            continue;
        }
        const QChar first = code_[i + 1];
        if (startsWithAt(code_, i, u"<!--")) {
            const qsizetype end = code_.indexOf(u"-->", i + 4);
            if (end < 0) {
                return Failure{i, QStringLiteral("comment not closed before the end")};
            }
            i = end + 3;
            continue;
        }
        if (!first.isLetter() && first != u'/' && first != u'!') {
            add(c); // a < that starts no tag is text
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        for (QChar quote; end < n; ++end) {
            const QChar e = code_[end];
            if (!quote.isNull()) {
                quote = e == quote ? QChar() : quote;
            } else if (e == u'"' || e == u'\'') {
                quote = code_[end - 1] == u'=' || code_[end - 1].isSpace() ? e : quote;
            } else if (e == u'>') {
                break;
            }
        }
        if (end == n) {
            return Failure{i, QStringLiteral("tag not closed before the end")};
        }
        const QStringView tag = code_.sliced(i + 1, end - i - 1);
        const bool closing = tag.startsWith(u'/');
        const QStringView body = tag.sliced(closing ? 1 : 0);
        qsizetype nameLength = 0;
        while (nameLength < body.size() && body[nameLength].isLetterOrNumber()) {
            ++nameLength;
        }
        const QStringView name = body.first(nameLength);
        if (closing) {
            if (const auto element = htmlElement(name)) {
                open_.close(*element);
            }
        } else if (!tag.startsWith(u'!')) {
            openTag(name, body.sliced(nameLength));
            afterBreak = name.compare(u"br", Qt::CaseInsensitive) == 0;
        }
        i = end + 1;
    }
    const OutputFormat format = decoded_.format;
    const QString face = decoded_.face, size = decoded_.size;
    const bool center = decoded_.center;
    decoded_ = out_.take(format);
    decoded_.face = face;
    decoded_.size = size;
    decoded_.center = center;
    return std::nullopt;
}

enum BBCodeElement {
    kColorCode,
    kBoldCode,
    kItalicCode,
    kUnderlineCode,
    kStrikeCode,
    kCenterCode,
    kFontCode,
    kSizeCode,
    kBBCodeElements
};

std::optional<BBCodeElement> bbcodeElement(QStringView name) {
    static const std::array<std::pair<QStringView, BBCodeElement>, 9> names = {{
        {u"color", kColorCode},
        {u"colour", kColorCode},
        {u"b", kBoldCode},
        {u"i", kItalicCode},
        {u"u", kUnderlineCode},
        {u"s", kStrikeCode},
        {u"center", kCenterCode},
        {u"font", kFontCode},
        {u"size", kSizeCode},
    }};
    for (const auto& [n, element] : names) {
        if (name.compare(n, Qt::CaseInsensitive) == 0) {
            return element;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Failure> decodeHtml(QStringView code, DecodedText& decoded) {
    return HtmlDecoder(code, decoded).run();
}

// [color=...], [b], [i], [u], [s], [center], [font=...] and [size=...]; any other tag, or a
// [ that starts none, is shown as text, as the forums show it.
std::optional<Failure> decodeBBCode(QStringView code, DecodedText& decoded) {
    TextBuilder out(code.size());
    OpenElements<kBBCodeElements> open;
    QString face = kNone, size = kNone;
    bool center = false;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n;) {
        if (code[i] != u'[') {
            out.add(code[i++], open.current());
            continue;
        }
        if (holdsAt(code, i, u"[color=#") && i + 15 <= n && code[i + 14] == u']') {
            if (const auto color = parseHex6(code.sliced(i + 8, 6))) {
                open.open(kColorCode, {*color, open.current().styles});
                i += 15;
                continue;
            }
        }
        if (holdsAt(code, i, u"[/color]")) {
            open.close(kColorCode);
            i += 8;
            continue;
        }
        const bool closing = i + 1 < n && code[i + 1] == u'/';
        qsizetype j = i + (closing ? 2 : 1);
        while (j < n && code[j].isLetter()) {
            ++j;
        }
        const qsizetype nameStart = i + (closing ? 2 : 1);
        const std::optional<BBCodeElement> element =
            bbcodeElement(code.sliced(nameStart, j - nameStart));
        qsizetype end = -1;
        if (element && j < n && code[j] == u']') {
            end = j;
        } else if (element && !closing && j < n && code[j] == u'=') {
            end = code.indexOf(u']', j);
        }
        if (element && end < 0 && (j == n || code[j] == u'=')) {
            return Failure{i, QStringLiteral("tag not closed before the end")};
        }
        if (end < 0) {
            out.add(code[i++], open.current());
            continue;
        }
        QStringView value = code.sliced(j, end - j);
        value = value.isEmpty() ? value : value.sliced(1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front()) {
            value = value.sliced(1, value.size() - 2);
        }
        i = end + 1;
        if (closing) {
            open.close(*element);
            continue;
        }
        Look look = open.current();
        switch (*element) {
        case kColorCode:
            look.color = parseHtmlColor(value).value_or(look.color);
            break;
        case kBoldCode:
        case kItalicCode:
        case kUnderlineCode:
        case kStrikeCode:
            look = styled(look, quint8(1 << (*element - kBoldCode)), true);
            break;
        case kCenterCode:
            center = true;
            break;
        case kFontCode:
            face = face == kNone ? value.toString() : face;
            break;
        case kSizeCode:
            size = size == kNone ? value.toString() : size;
            break;
        default:
            break;
        }
        open.open(*element, look);
    }
    decoded = out.take(OutputFormat::BBCode);
    decoded.face = face;
    decoded.size = size;
    decoded.center = center;
    return std::nullopt;
}

} // namespace tintwave::engine::decoding
