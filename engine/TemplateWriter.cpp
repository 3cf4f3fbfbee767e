#include "engine/TemplateWriter.h"

#include <QCoreApplication>
#include <array>
#include <utility>

namespace tintwave::engine {

namespace {

using Kind = TemplatePiece::Kind;

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// The piece a placeholder's name stands for; nothing for an unknown name.
std::optional<TemplatePiece> placeholder(QStringView name) {
    static const std::array<std::pair<QStringView, Kind>, 5> named = {{
        {u"c", Kind::Text},
        {u"hex", Kind::Hex},
        {u"r", Kind::Red},
        {u"g", Kind::Green},
        {u"b", Kind::Blue},
    }};
    for (const auto& [text, kind] : named) {
        if (name == text) {
            return TemplatePiece{kind, {}, 0};
        }
    }
    if (name.size() == 2 && name[0] == u'h' && name[1] >= u'1' && name[1] <= u'6') {
        return TemplatePiece{Kind::Digit, {}, name[1].unicode() - u'1'};
    }
    return std::nullopt;
}

// The most code units a piece writes for one character (a run's text counted once).
qsizetype widest(const TemplatePiece& piece) {
    switch (piece.kind) {
    case Kind::Literal:
        return piece.literal.size();
    case Kind::Text:
    case Kind::Digit:
        return 1;
    case Kind::Hex:
        return 6;
    case Kind::Red:
    case Kind::Green:
    case Kind::Blue:
        return 3;
    }
    return 0;
}

} // namespace

ParsedTemplate parseTemplate(QStringView text) {
    ParsedTemplate parsed;
    QString literal;
    const auto fail = [&parsed](bool unknown, QStringView what, qsizetype at) {
        parsed.pieces.clear();
        parsed.error = TemplateError{unknown, what.toString(), at};
        return parsed;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool doubled = i + 1 < text.size() && text[i + 1] == c;
        if ((c == u'{' || c == u'}') && doubled) {
            literal += c;
            ++i;
        } else if (c == u'}') {
            return fail(false, u"}", i);
        } else if (c == u'{') {
            const qsizetype end = text.indexOf(u'}', i + 1);
            if (end < 0) {
                return fail(false, u"{", i);
            }
            const std::optional<TemplatePiece> piece = placeholder(text.sliced(i + 1, end - i - 1));
            if (!piece) {
                return fail(true, text.sliced(i, end - i + 1), i);
            }
            if (!literal.isEmpty()) {
                parsed.pieces.push_back({.literal = std::exchange(literal, {})});
            }
            parsed.pieces.push_back(*piece);
            i = end;
        } else {
            literal += c;
        }
    }
    if (!literal.isEmpty()) {
        parsed.pieces.push_back({.literal = literal});
    }
    return parsed;
}

// Translated only where a translator is installed, so the command line stays English.
QString describe(const TemplateError& error) {
    return error.unknownPlaceholder
               ? QCoreApplication::translate("tintwave::engine", "unknown placeholder %1")
                     .arg(error.what)
               : QCoreApplication::translate("tintwave::engine", "unmatched %1 at character %2")
                     .arg(error.what)
                     .arg(error.at + 1);
}

TemplateWriter::TemplateWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , runs_(options) {
    ParsedTemplate parsed = parseTemplate(options.output.templateText);
    pieces_ = parsed.error ? std::vector<TemplatePiece>{{.literal = options.output.templateText}}
                           : std::move(parsed.pieces);
    for (const TemplatePiece& piece : pieces_) {
        perCharacter_ += widest(piece);
    }
}

void TemplateWriter::close() {
    if (!runs_.close()) {
        return;
    }
    const colorspace::Srgb8 color = runs_.color();
    for (const TemplatePiece& piece : pieces_) {
        switch (piece.kind) {
        case Kind::Literal:
            out_.put(piece.literal);
            break;
        case Kind::Text:
            // The run is a slice of the text: the control characters left out of it are in
            // there too (each a character of its own, so a unit of its own).
            for (const QChar c : QStringView(runBegin_, runEnd_)) {
                if (!isControlCharacter(QStringView(&c, 1))) {
                    out_.put(c.unicode());
                }
            }
            break;
        case Kind::Hex:
            out_.putHexByte(color.red);
            out_.putHexByte(color.green);
            out_.putHexByte(color.blue);
            break;
        case Kind::Digit: {
            const int component = std::array{color.red, color.green, color.blue}[piece.digit / 2];
            out_.put(kHexDigits[piece.digit % 2 ? component & 15 : component >> 4]);
            break;
        }
        case Kind::Red:
            out_.putDecimal(color.red);
            break;
        case Kind::Green:
            out_.putDecimal(color.green);
            break;
        case Kind::Blue:
            out_.putDecimal(color.blue);
            break;
        }
    }
}

} // namespace tintwave::engine
