// Minecraft's JSON text components: parsed into a small tree, then walked in reading order
// with each component's style inherited by its children.
#include "engine/DecodeSupport.h"

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
        : code_(code) {
        pool_.reserve(code.size());
    }

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
    bool skipValue(int depth);
    qsizetype component(int depth);
    bool object(qsizetype node, int depth);
    void append(qsizetype parent, qsizetype child);
    void walk(qsizetype node, Look look, TextBuilder& out) const;

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
        const qsizetype start = at_;
        const bool ok = c == u't'   ? literal(u"true")
                        : c == u'f' ? literal(u"false")
                        : c == u'n' ? literal(u"null")
                                    : number();
        if (!ok) {
            return -1;
        }
        if (c != u'n') {
            pool_.append(code_.sliced(start, at_ - start));
        }
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

std::optional<Failure> JsonReader::read(TextBuilder& out) {
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
