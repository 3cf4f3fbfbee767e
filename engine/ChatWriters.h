#pragma once

#include "engine/ColorRuns.h"
#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QString>
#include <QStringView>
#include <algorithm>

// The writers of game chat formats. As the other modern writers, each takes one character
// (a grapheme cluster) with its colour at a time, a blank that keeps the colour before it,
// and a line break, and ends with finish(). Hex digits are upper case; centre, face and size
// have no form here and are ignored.
namespace tintwave::engine {

// Minecraft colour codes before every character or run: &#RRGGBB (McHex),
// &x&R&R&G&G&B&B (McX) or §x§R§R§G§G§B§B (McSection), then the style codes &l / &o / &n
// (§ for McSection) and &m / &k for strikethrough and obfuscated, since a colour code resets
// the styles in the game.
//
// Nothing in the text is escaped (chat has no escape). Instead a character holding & always
// ends its run (endsRun), so what follows it is a colour code, a blank, a line break or the
// end: never a code letter or a # that the game or a plugin could read as part of a code.
// A section sign is left out: the game cannot show it, and before a colour code it would
// swallow the code's first character. A character of nothing else writes nothing, not even
// a colour code, and leaves the run open.
class MinecraftWriter {
public:
    MinecraftWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        if (cluster.contains(u'\u00A7')) {
            if (isOnlySectionSigns(cluster)) {
                return;
            }
            return putWithoutSectionSigns(cluster, c);
        }
        if (runs_.startsRun(c)) {
            putColor(c);
            runs_.open(c);
        }
        out_.put(cluster);
        if (cluster.contains(u'&')) {
            runs_.close();
        }
    }
    void cutRun() { runs_.cut(); }
    void blank(QStringView cluster) { out_.put(cluster); }
    void lineBreak() {
        out_.put(u'\n');
        runs_.close();
    }
    void finish() {}

    qsizetype perCharacter() const { return 14 + styles_.size(); }
    qsizetype wrapperLength() const { return 0; }

private:
    void putColor(colorspace::Srgb8 c);
    void putWithoutSectionSigns(QStringView cluster, colorspace::Srgb8 c);

    MarkupBuffer& out_;
    OutputFormat dialect_;
    QString styles_;
    ColorRuns runs_;
};

// MiniMessage (Adventure): <#RRGGBB> before every character or run, never closed;
// <b>, <i>, <u>, <st>, <obf> once around everything, closed at the end in reverse order. A
// backslash and < in the text are escaped with a backslash.
class MiniMessageWriter {
public:
    MiniMessageWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        if (runs_.startsRun(c)) {
            out_.put(u"<#");
            out_.putHexByte(c.red);
            out_.putHexByte(c.green);
            out_.putHexByte(c.blue);
            out_.put(u'>');
            runs_.open(c);
        }
        putEscaped(cluster);
    }
    void blank(QStringView cluster) { putEscaped(cluster); }
    void lineBreak() {
        out_.put(u'\n');
        runs_.close();
    }
    void cutRun() { runs_.cut(); }
    void finish() { wrappers_.close(); }

    qsizetype perCharacter() const { return 9; }
    qsizetype wrapperLength() const { return wrappers_.length(); }

private:
    void putEscaped(QStringView text) {
        for (QChar c : text) {
            if (c == u'\\' || c == u'<') {
                out_.put(u'\\');
            }
            out_.put(c.unicode());
        }
    }

    MarkupBuffer& out_;
    Wrappers wrappers_;
    ColorRuns runs_;
};

// Minecraft's JSON text components: an array whose first element is "" (so no style of the
// first component spreads to the rest), then one {"text":"…","color":"#RRGGBB"} per
// character or run, with "bold", "italic", "underlined", "strikethrough" and "obfuscated"
// true as chosen. A blank that
// has no colour before it gets an object without a colour; a line break is {"text":"\n"}.
// Text is escaped as JSON strings are: quote and backslash, control characters as \uXXXX.
class JsonWriter {
    static constexpr char16_t kOpen[] = u",{\"text\":\"";

public:
    JsonWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        if (runs_.startsRun(c)) {
            close();
            out_.put(kOpen);
            open_ = true;
            runs_.open(c);
        }
        putEscaped(cluster);
    }
    void blank(QStringView cluster) {
        if (!open_) {
            out_.put(kOpen);
            open_ = true;
        }
        putEscaped(cluster);
    }
    void lineBreak() {
        close();
        out_.put(u",{\"text\":\"\\n\"}");
    }
    void finish() {
        close();
        out_.put(u']');
    }
    void cutRun() { runs_.cut(); }

    qsizetype perCharacter() const { return 32 + styles_.size(); }
    qsizetype wrapperLength() const { return 4; }

private:
    void close();
    void putEscaped(QStringView text) {
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u >= 0x20 && u != u'"' && u != u'\\') {
                out_.put(u);
            } else {
                putEscapedUnit(u);
            }
        }
    }
    void putEscapedUnit(char16_t u);

    MarkupBuffer& out_;
    QString styles_;
    ColorRuns runs_;    // open while the object being written has a colour
    bool open_ = false; // an object's text is being written
};

} // namespace tintwave::engine
