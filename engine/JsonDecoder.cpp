// Minecraft's JSON text components, each component's style inherited by its children. Read
// in one pass straight into the text when every object names its text and style before its
// children (as the writer and most people write them); otherwise parsed into a small tree,
// then walked in reading order.
#include "engine/DecodeSupport.h"

#include <array>

namespace tintwave::engine::decoding {

namespace {

// Deeper nesting than any chat message has; the limit keeps the recursion off the stack's end.
constexpr int kMaxDepth = 256;

struct Component {
    qsizetype textBegin = 0; // its own text, in the pool
    qsizetype textEnd = 0;
    ColorValue color = kNoColor; // kNoColor: inherited
    quint8 stylesSet = 0;        // the styles it names, on or off
    quint8 stylesOn = 0;
    qsizetype firstChild = -1;
    qsizetype lastChild = -1;
    qsizetype next = -1;
};

class JsonReader {
public:
    explicit JsonReader(QStringView code)
        : code_(code) {}

    std::optional<Failure> read(TextBuilder& out);

private:
    bool fail(const char* what) {
        if (!failure_) {
            failure_ = Failure{at_, QString::fromLatin1(what)};
        }
        return false;
    }
    void skipSpace() {
        while (at_ < code_.size()) {
            const char16_t c = code_[at_].unicode();
            if (c != u' ' && c != u'\n' && c != u'\r' && c != u'\t') {
                break;
            }
            ++at_;
        }
    }
    bool take(char16_t c) {
        skipSpace();
        if (at_ < code_.size() && code_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    // A string at at_ into target; view is set instead when it holds no escape.
    bool string(QString& target, QStringView* view);
    bool literal(QStringView word) {
        if (code_.sliced(at_).startsWith(word)) {
            at_ += word.size();
            return true;
        }
        return fail("expected a value");
    }
    bool number();
    // true, false, null or a number starting with c, read; the text it shows (nothing for
    // null), or nothing when it is none of them.
    std::optional<QStringView> scalar(QChar c);
    bool skipValue(int depth);
    qsizetype component(int depth);
    bool object(qsizetype node, int depth);
    void append(qsizetype parent, qsizetype child);
    void walk(qsizetype node, Look look, TextBuilder& out) const;
    // The one-pass reading: the component's look when it has been read, nothing on failure or
    // when an object names its text or style after its children (disordered_).
    std::optional<Look> stream(int depth, Look parent, TextBuilder& out);
    std::optional<Look> streamObject(int depth, Look look, TextBuilder& out);
    std::optional<Look> writersObject(Look look, TextBuilder& out);
    bool disordered_ = false;

    QStringView code_;
    qsizetype at_ = 0;
    QString pool_;
    QString scratch_;
    std::vector<Component> components_;
    std::optional<Failure> failure_;
};

bool JsonReader::string(QString& target, QStringView* view) {
    skipSpace();
    if (at_ >= code_.size() || code_[at_] != u'"') {
        return fail("expected a string");
    }
    const qsizetype start = ++at_;
    const qsizetype n = code_.size();
    while (at_ < n && code_[at_] != u'"' && code_[at_] != u'\\' && code_[at_].unicode() >= 0x20) {
        ++at_;
    }
    if (view && at_ < n && code_[at_] == u'"') {
        *view = code_.sliced(start, at_++ - start);
        return true;
    }
    target.append(code_.sliced(start, at_ - start));
    while (at_ < n) {
        const char16_t c = code_[at_].unicode();
        if (c == u'"') {
            ++at_;
            if (view) {
                *view = target;
            }
            return true;
        }
        if (c < 0x20) {
            return fail("control character in a string");
        }
        if (c != u'\\') {
            target.append(QChar(c));
            ++at_;
            continue;
        }
        if (at_ + 1 >= n) {
            break;
        }
        const char16_t e = code_[at_ + 1].unicode();
        static constexpr QStringView kEscapes = u"\"\\/bfnrt";
        static constexpr char16_t kMeanings[] = u"\"\\/\b\f\n\r\t";
        if (const qsizetype k = kEscapes.indexOf(QChar(e)); k >= 0) {
            target.append(QChar(kMeanings[k]));
            at_ += 2;
        } else if (e == u'u' && at_ + 6 <= n) {
            int value = 0;
            for (qsizetype d = at_ + 2; d < at_ + 6; ++d) {
                const int digit = hexDigit(code_[d]);
                if (digit < 0) {
                    return fail("bad \\u escape");
                }
                value = value * 16 + digit;
            }
            target.append(QChar(char16_t(value)));
            at_ += 6;
        } else {
            return fail(e == u'u' ? "string not closed before the end" : "bad escape");
        }
    }
    return fail("string not closed before the end");
}

bool JsonReader::number() {
    const qsizetype start = at_;
    const auto digits = [this] {
        const qsizetype from = at_;
        while (at_ < code_.size() && code_[at_].isDigit() && code_[at_].unicode() < 0x80) {
            ++at_;
        }
        return at_ > from;
    };
    take(u'-');
    if (!digits()) {
        at_ = start;
        return fail("expected a value");
    }
    if (at_ < code_.size() && code_[at_] == u'.' && (++at_, !digits())) {
        return fail("expected a digit");
    }
    if (at_ < code_.size() && (code_[at_] == u'e' || code_[at_] == u'E')) {
        ++at_;
        if (at_ < code_.size() && (code_[at_] == u'+' || code_[at_] == u'-')) {
            ++at_;
        }
        if (!digits()) {
            return fail("expected a digit");
        }
    }
    return true;
}

std::optional<QStringView> JsonReader::scalar(QChar c) {
    const qsizetype start = at_;
    const bool ok = c == u't'   ? literal(u"true")
                    : c == u'f' ? literal(u"false")
                    : c == u'n' ? literal(u"null")
                                : number();
    if (!ok) {
        return std::nullopt;
    }
    return c == u'n' ? QStringView() : QStringView(code_).sliced(start, at_ - start);
}

bool JsonReader::skipValue(int depth) {
    if (depth > kMaxDepth) {
        return fail("nested too deeply");
    }
    skipSpace();
    if (at_ >= code_.size()) {
        return fail("expected a value");
    }
    const QChar c = code_[at_];
    if (c == u'"') {
        scratch_.clear();
        return string(scratch_, nullptr);
    }
    if (c == u'{' || c == u'[') {
        const char16_t close = c == u'{' ? u'}' : u']';
        ++at_;
        if (take(close)) {
            return true;
        }
        do {
            if (c == u'{') {
                scratch_.clear();
                if (!string(scratch_, nullptr) || (!take(u':') && !fail("expected :"))) {
                    return false;
                }
            }
            if (!skipValue(depth + 1)) {
                return false;
            }
        } while (take(u','));
        return take(close) || fail(c == u'{' ? "expected , or }" : "expected , or ]");
    }
    if (c == u't') {
        return literal(u"true");
    }
    if (c == u'f') {
        return literal(u"false");
    }
    if (c == u'n') {
        return literal(u"null");
    }
    return number();
}

void JsonReader::append(qsizetype parent, qsizetype child) {
    Component& p = components_[std::size_t(parent)];
    if (p.lastChild < 0) {
        p.firstChild = child;
    } else {
        components_[std::size_t(p.lastChild)].next = child;
    }
    p.lastChild = child;
}

// A component: a string, a primitive shown as its text, an object, or an array whose first
// element takes the others as children. -1 on failure.
qsizetype JsonReader::component(int depth) {
    if (depth > kMaxDepth) {
        fail("nested too deeply");
        return -1;
    }
    skipSpace();
    const auto node = qsizetype(components_.size());
    components_.push_back({pool_.size(), pool_.size()});
    if (at_ >= code_.size()) {
        fail("expected a value");
        return -1;
    }
    const QChar c = code_[at_];
    if (c == u'"') {
        if (!string(pool_, nullptr)) {
            return -1;
        }
    } else if (c == u'{') {
        ++at_;
        return object(node, depth) ? node : -1;
    } else if (c == u'[') {
        ++at_;
        if (take(u']')) {
            return node;
        }
        qsizetype parent = -1;
        do {
            const qsizetype element = component(depth + 1);
            if (element < 0) {
                return -1;
            }
            if (parent < 0) {
                parent = element;
            } else {
                append(parent, element);
            }
        } while (take(u','));
        if (!take(u']')) {
            fail("expected , or ]");
            return -1;
        }
        append(node, parent);
        return node;
    } else {
        const std::optional<QStringView> shown = scalar(c);
        if (!shown) {
            return -1;
        }
        pool_.append(*shown);
    }
    components_[std::size_t(node)].textEnd = pool_.size();
    return node;
}

bool JsonReader::object(qsizetype node, int depth) {
    if (take(u'}')) {
        return true;
    }
    static constexpr std::array<QStringView, 5> kStyles = {u"bold", u"italic", u"underlined",
                                                           u"strikethrough", u"obfuscated"};
    do {
        QString keyText;
        QStringView key;
        if (!string(keyText, &key)) {
            return false;
        }
        if (!take(u':')) {
            return fail("expected :");
        }
        skipSpace();
        const char16_t first = at_ < code_.size() ? code_[at_].unicode() : 0;
        if (key == u"text" && first == u'"') {
            const qsizetype begin = pool_.size();
            if (!string(pool_, nullptr)) {
                return false;
            }
            // The text may come after "extra": it is moved to the end of the pool either way.
            components_[std::size_t(node)].textBegin = begin;
            components_[std::size_t(node)].textEnd = pool_.size();
        } else if (key == u"color" && first == u'"') {
            QString valueText;
            QStringView value;
            if (!string(valueText, &value)) {
                return false;
            }
            const auto color =
                value.startsWith(u'#') ? parseHex6(value.sliced(1)) : chatColorNamed(value);
            components_[std::size_t(node)].color =
                color.value_or(components_[std::size_t(node)].color);
        } else if (key == u"extra" && first == u'[') {
            ++at_;
            if (!take(u']')) {
                do {
                    const qsizetype child = component(depth + 1);
                    if (child < 0) {
                        return false;
                    }
                    append(node, child);
                } while (take(u','));
                if (!take(u']')) {
                    return fail("expected , or ]");
                }
            }
        } else if (const auto style = std::find(kStyles.begin(), kStyles.end(), key);
                   style != kStyles.end() && (first == u't' || first == u'f')) {
            const auto bit = quint8(1 << (style - kStyles.begin()));
            const bool on = first == u't';
            if (!literal(on ? u"true" : u"false")) {
                return false;
            }
            Component& c = components_[std::size_t(node)];
            c.stylesSet |= bit;
            c.stylesOn = on ? quint8(c.stylesOn | bit) : quint8(c.stylesOn & ~bit);
        } else if (!skipValue(depth + 1)) {
            return false;
        }
    } while (take(u','));
    return take(u'}') || fail("expected , or }");
}

void JsonReader::walk(qsizetype node, Look look, TextBuilder& out) const {
    const Component& c = components_[std::size_t(node)];
    look.color = c.color == kNoColor ? look.color : c.color;
    look.styles = quint8((look.styles & ~c.stylesSet) | c.stylesOn);
    if (c.textEnd > c.textBegin) {
        out.add(QStringView(pool_).sliced(c.textBegin, c.textEnd - c.textBegin), look);
    }
    for (qsizetype child = c.firstChild; child >= 0; child = components_[std::size_t(child)].next) {
        walk(child, look, out);
    }
}

std::optional<Look> JsonReader::stream(int depth, Look parent, TextBuilder& out) {
    if (depth > kMaxDepth) {
        fail("nested too deeply");
        return std::nullopt;
    }
    skipSpace();
    if (at_ >= code_.size()) {
        fail("expected a value");
        return std::nullopt;
    }
    const QChar c = code_[at_];
    if (c == u'"') {
        scratch_.clear();
        QStringView text;
        if (!string(scratch_, &text)) {
            return std::nullopt;
        }
        out.add(text, parent);
        return parent;
    }
    if (c == u'{') {
        if (const std::optional<Look> look = writersObject(parent, out)) {
            return look;
        }
        ++at_;
        return streamObject(depth, parent, out);
    }
    if (c == u'[') {
        ++at_;
        if (take(u']')) {
            return parent;
        }
        std::optional<Look> first;
        do {
            const std::optional<Look> element = stream(depth + 1, first.value_or(parent), out);
            if (!element) {
                return std::nullopt;
            }
            first = first.value_or(*element);
        } while (take(u','));
        if (!take(u']')) {
            fail("expected , or ]");
            return std::nullopt;
        }
        return first;
    }
    const std::optional<QStringView> shown = scalar(c);
    if (!shown) {
        return std::nullopt;
    }
    if (!shown->isEmpty()) {
        out.add(*shown, parent);
    }
    return parent;
}

// The object as the writer puts one per character or run, {"text":"...","color":"#RRGGBB"}
// with "bold", "italic" and "underlined" true after it, read without the general parse;
// nothing (and nothing read) for any other object.
std::optional<Look> JsonReader::writersObject(Look look, TextBuilder& out) {
    if (!holdsAt(code_, at_, u"{\"text\":\"")) {
        return std::nullopt;
    }
    const qsizetype textStart = at_ + 9;
    qsizetype i = textStart;
    const qsizetype n = code_.size();
    while (i < n && code_[i] != u'"' && code_[i] != u'\\' && code_[i].unicode() >= 0x20) {
        ++i;
    }
    const qsizetype textEnd = i;
    if (holdsAt(code_, i, u"\",\"color\":\"#") && i + 19 <= n && code_[i + 18] == u'"') {
        const std::optional<ColorValue> color = parseHex6(code_.sliced(i + 12, 6));
        if (!color) {
            return std::nullopt;
        }
        look.color = *color;
        i += 19;
    } else if (i < n && code_[i] == u'"') {
        ++i;
    } else {
        return std::nullopt;
    }
    if (holdsAt(code_, i, u",\"bold\":true")) {
        look.styles |= kBold;
        i += 12;
    }
    if (holdsAt(code_, i, u",\"italic\":true")) {
        look.styles |= kItalic;
        i += 14;
    }
    if (holdsAt(code_, i, u",\"underlined\":true")) {
        look.styles |= kUnderline;
        i += 18;
    }
    if (i >= n || code_[i] != u'}') {
        return std::nullopt;
    }
    out.add(code_.sliced(textStart, textEnd - textStart), look);
    at_ = i + 1;
    return look;
}

std::optional<Look> JsonReader::streamObject(int depth, Look look, TextBuilder& out) {
    static constexpr std::array<QStringView, 5> kStyles = {u"bold", u"italic", u"underlined",
                                                           u"strikethrough", u"obfuscated"};
    const qsizetype textStart = out.size();
    qsizetype textEnd = textStart;
    bool children = false;
    if (take(u'}')) {
        return look;
    }
    do {
        QString keyText;
        QStringView key;
        if (!string(keyText, &key)) {
            return std::nullopt;
        }
        if (!take(u':')) {
            fail("expected :");
            return std::nullopt;
        }
        skipSpace();
        const char16_t first = at_ < code_.size() ? code_[at_].unicode() : 0;
        const auto style = std::find(kStyles.begin(), kStyles.end(), key);
        const bool shaping = (key == u"text" && first == u'"') ||
                             (key == u"color" && first == u'"') ||
                             (style != kStyles.end() && (first == u't' || first == u'f'));
        if (shaping && children) {
            disordered_ = true;
            return std::nullopt;
        }
        if (key == u"text" && first == u'"') {
            scratch_.clear();
            QStringView text;
            if (!string(scratch_, &text)) {
                return std::nullopt;
            }
            out.add(text, look);
            textEnd = out.size();
        } else if (key == u"color" && first == u'"') {
            QString valueText;
            QStringView value;
            if (!string(valueText, &value)) {
                return std::nullopt;
            }
            const auto color =
                value.startsWith(u'#') ? parseHex6(value.sliced(1)) : chatColorNamed(value);
            look.color = color.value_or(look.color);
        } else if (style != kStyles.end() && (first == u't' || first == u'f')) {
            const auto bit = quint8(1 << (style - kStyles.begin()));
            const bool on = first == u't';
            if (!literal(on ? u"true" : u"false")) {
                return std::nullopt;
            }
            look.styles = on ? quint8(look.styles | bit) : quint8(look.styles & ~bit);
        } else if (key == u"extra" && first == u'[') {
            children = true;
            ++at_;
            if (!take(u']')) {
                do {
                    if (!stream(depth + 1, look, out)) {
                        return std::nullopt;
                    }
                } while (take(u','));
                if (!take(u']')) {
                    fail("expected , or ]");
                    return std::nullopt;
                }
            }
        } else if (!skipValue(depth + 1)) {
            return std::nullopt;
        }
    } while (take(u','));
    if (!take(u'}')) {
        fail("expected , or }");
        return std::nullopt;
    }
    // The text came before the style that follows it in the object.
    for (qsizetype i = textStart; i < textEnd; ++i) {
        out.look(i) = look;
    }
    return look;
}

std::optional<Failure> JsonReader::read(TextBuilder& out) {
    {
        TextBuilder streamed(code_.size());
        if (stream(0, {}, streamed)) {
            skipSpace();
            if (at_ < code_.size()) {
                fail("text after the end");
                return failure_;
            }
            out = std::move(streamed);
            return std::nullopt;
        }
        if (!disordered_) {
            return failure_;
        }
        at_ = 0;
        failure_.reset();
    }
    const qsizetype root = component(0);
    if (root >= 0) {
        skipSpace();
        if (at_ < code_.size()) {
            fail("text after the end");
        }
    }
    if (failure_) {
        return failure_;
    }
    walk(root, {}, out);
    return std::nullopt;
}

} // namespace

std::optional<Failure> decodeJson(QStringView code, DecodedText& decoded) {
    TextBuilder out(code.size());
    if (auto failure = JsonReader(code).read(out)) {
        return failure;
    }
    decoded = out.take(OutputFormat::Json);
    return std::nullopt;
}

} // namespace tintwave::engine::decoding
