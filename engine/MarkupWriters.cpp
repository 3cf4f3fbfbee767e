#include "engine/MarkupWriters.h"

#include <QStringList>
#include <array>

namespace tintwave::engine {

namespace {

constexpr std::array<const char16_t*, 7> kSizeKeywords = {
    u"x-small", u"small", u"medium", u"large", u"x-large", u"xx-large", u"xxx-large"};

bool isGenericFamily(const QString& face) {
    static const QStringList generic = {QStringLiteral("serif"),     QStringLiteral("sans-serif"),
                                        QStringLiteral("monospace"), QStringLiteral("cursive"),
                                        QStringLiteral("fantasy"),   QStringLiteral("system-ui")};
    return generic.contains(face, Qt::CaseInsensitive);
}

// face as a CSS string in single quotes: backslash and quote escaped, control characters
// as hex escapes, so no face can end the string or the declaration.
QString cssString(const QString& face) {
    QString css = QStringLiteral("'");
    for (QChar c : face) {
        if (c == u'\\' || c == u'\'') {
            css += u'\\';
            css += c;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            css += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        } else {
            css += c;
        }
    }
    return css + u'\'';
}

// text as it may stand in a double-quoted HTML attribute.
QString attributeEscaped(const QString& text) {
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'"', QStringLiteral("&quot;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
    return escaped;
}

// The face as [font=...] can carry it.
QString bbcodeFace(const QString& face) {
    QString kept;
    for (QChar c : face) {
        if (c != u'[' && c != u']' && c.unicode() >= 0x20 && c.unicode() != 0x7F) {
            kept += c;
        }
    }
    return kept;
}

} // namespace

QString SpanWriter::wrapperStyle(const ColorizeOptions& options) {
    QStringList declarations;
    if (options.face != kNone) {
        declarations << QStringLiteral("font-family:") +
                            attributeEscaped(isGenericFamily(options.face)
                                                 ? options.face.toLower()
                                                 : cssString(options.face));
    }
    if (options.size != kNone) {
        if (const std::optional<int> size = legacyFontSize(options.size)) {
            declarations << QStringLiteral("font-size:") +
                                QString::fromUtf16(kSizeKeywords[std::size_t(*size - 1)]);
        }
    }
    if (options.bold) {
        declarations << QStringLiteral("font-weight:bold");
    }
    if (options.italic) {
        declarations << QStringLiteral("font-style:italic");
    }
    QStringList lines;
    if (options.underline) {
        lines << QStringLiteral("underline");
    }
    if (options.output.strikethrough) {
        lines << QStringLiteral("line-through");
    }
    if (!lines.isEmpty()) {
        declarations << QStringLiteral("text-decoration:") + lines.join(u' ');
    }
    return declarations.join(u';');
}

SpanWriter::SpanWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : ColorTagWriter(options, out) {
    if (options.center) {
        wrappers_.open(QStringLiteral("<div style=\"text-align:center\">"), u"</div>");
    }
    if (const QString style = wrapperStyle(options); !style.isEmpty()) {
        wrappers_.open(QStringLiteral("<span style=\"%1\">").arg(style), u"</span>");
    }
}

void SpanWriter::putEscaped(QStringView text) {
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out_.put(u"&amp;");
            break;
        case u'<':
            out_.put(u"&lt;");
            break;
        case u'>':
            out_.put(u"&gt;");
            break;
        case u'"':
            out_.put(u"&quot;");
            break;
        default:
            out_.put(c.unicode());
        }
    }
}

BBCodeWriter::BBCodeWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : ColorTagWriter(options, out) {
    if (options.center) {
        wrappers_.open(QStringLiteral("[center]"), u"[/center]");
    }
    if (options.bold) {
        wrappers_.open(QStringLiteral("[b]"), u"[/b]");
    }
    if (options.italic) {
        wrappers_.open(QStringLiteral("[i]"), u"[/i]");
    }
    if (options.underline) {
        wrappers_.open(QStringLiteral("[u]"), u"[/u]");
    }
    if (options.output.strikethrough) {
        wrappers_.open(QStringLiteral("[s]"), u"[/s]");
    }
    if (const QString face = bbcodeFace(options.face); options.face != kNone && !face.isEmpty()) {
        wrappers_.open(QStringLiteral("[font=%1]").arg(face), u"[/font]");
    }
    if (options.size != kNone) {
        if (const std::optional<int> size = legacyFontSize(options.size)) {
            wrappers_.open(QStringLiteral("[size=%1]").arg(*size), u"[/size]");
        }
    }
}

AnsiWriter::AnsiWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , runs_(options) {
    if (const std::optional<ColorSet> set = colorSetOf(options.output.colorDepth)) {
        nearest_.emplace(*set);
        xterm256_ = *set == ColorSet::Xterm256;
    }
    QStringList codes;
    if (options.bold) {
        codes << QStringLiteral("1");
    }
    if (options.italic) {
        codes << QStringLiteral("3");
    }
    if (options.underline) {
        codes << QStringLiteral("4");
    }
    if (options.output.strikethrough) {
        codes << QStringLiteral("9");
    }
    if (!codes.isEmpty()) {
        styles_ = QStringLiteral("\x1b[") + codes.join(u';') + u'm';
    }
}

void AnsiWriter::character(QStringView cluster, colorspace::Srgb8 c) {
    if (!active_) {
        out_.put(styles_);
    }
    if (nearest_) {
        // A run goes on while the nearest colour stays the same.
        const SetColor& shown = (*nearest_)(c);
        if (runs_.startsRun(shown.color)) {
            if (xterm256_) {
                out_.put(kColor256);
            } else {
                out_.put(u"\x1b[");
            }
            out_.putDecimal(shown.number);
            out_.put(u'm');
            runs_.open(shown.color);
        }
    } else if (runs_.startsRun(c)) {
        out_.put(kColor);
        out_.putDecimal(c.red);
        out_.put(u';');
        out_.putDecimal(c.green);
        out_.put(u';');
        out_.putDecimal(c.blue);
        out_.put(u'm');
        runs_.open(c);
    }
    active_ = true;
    putVisible(cluster);
}

// The styles still apply to a blank (an underline shows under it).
void AnsiWriter::blank(QStringView cluster) {
    if (!active_ && !styles_.isEmpty()) {
        out_.put(styles_);
        active_ = true;
    }
    putVisible(cluster);
}

void AnsiWriter::lineBreak() {
    finish();
    out_.put(u'\n');
    active_ = false;
    runs_.close();
}

void AnsiWriter::putVisible(QStringView text) {
    for (QChar c : text) {
        out_.put(withoutControls(c.unicode()));
    }
}

void AnsiWriter::finish() {
    if (active_) {
        out_.put(kReset);
    }
}

} // namespace tintwave::engine
