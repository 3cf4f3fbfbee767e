#pragma once

#include "engine/ColorRuns.h"
#include "engine/ColorSets.h"
#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QString>
#include <QStringView>
#include <iterator>
#include <optional>

// The writers of the modern formats. Each writes its opening markup when constructed, then
// takes one character (a grapheme cluster, kept whole) with its colour at a time and ends
// with finish(). With merging, a run of characters of equal colour shares one tag or escape
// sequence; without it every character gets its own. Components are 0 .. 255.
//
// blank() takes a white-space character that gets no colour of its own: it joins the tag or
// run open before it (and, with merging, the run goes on after it), or stands bare when none
// is. lineBreak() writes the format's line break for an LF, CR LF or CR of the text; the
// next character opens a new tag or run.
namespace tintwave::engine {

// What HTML spans and BBCode share: a colour tag opened before each run and closed at its
// end, inside wrappers around everything. Tags holds the literals kOpen (before the six hex
// digits), kEnd (after them) and kClose.
template <typename Tags> class ColorTagWriter {
public:
    void finish() {
        closeRun();
        wrappers_.close();
    }
    void cutRun() { runs_.cut(); }

    // The markup around one unmerged, unescaped character, and the wrappers around all.
    static constexpr qsizetype kPerCharacter =
        std::size(Tags::kOpen) + 6 + std::size(Tags::kEnd) + std::size(Tags::kClose) - 3;
    qsizetype wrapperLength() const { return wrappers_.length(); }

protected:
    ColorTagWriter(const ColorizeOptions& options, MarkupBuffer& out)
        : out_(out)
        , wrappers_(out)
        , runs_(options) {}

    // Closes the tag before and opens one in c when c starts a run.
    void tagFor(colorspace::Srgb8 c) {
        if (!runs_.startsRun(c)) {
            return;
        }
        closeRun();
        out_.put(Tags::kOpen);
        out_.putHexPair(c.red);
        out_.putHexPair(c.green);
        out_.putHexPair(c.blue);
        out_.put(Tags::kEnd);
        runs_.open(c);
    }
    void closeRun() {
        if (runs_.close()) {
            out_.put(Tags::kClose);
        }
    }

    MarkupBuffer& out_;
    Wrappers wrappers_;
    ColorRuns runs_;
};

struct SpanColorTag {
    static constexpr char16_t kOpen[] = u"<span style=\"color:#";
    static constexpr char16_t kEnd[] = u"\">";
    static constexpr char16_t kClose[] = u"</span>";
};

// HTML5. The text is escaped (& < > "), every character or run is a
// <span style="color:#RRGGBB">, and the options become CSS on wrapping elements: centre as
// <div style="text-align:center">, the rest in one <span style="..."> inside it (see
// wrapperStyle). A line break is <br> and LF, outside the colour spans.
class SpanWriter : public ColorTagWriter<SpanColorTag> {
public:
    SpanWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        tagFor(c);
        putEscaped(cluster);
    }
    void blank(QStringView cluster) { putEscaped(cluster); }
    void lineBreak() {
        closeRun();
        out_.put(u"<br>\n");
    }

    // The declarations of the wrapping span, ';'-separated, as they go into its style
    // attribute (already escaped for it): font-family (a quoted CSS string, or one of the
    // generic family keywords bare), font-size (the keyword of the legacy size 1 .. 7:
    // x-small, small, medium, large, x-large, xx-large, xxx-large; an unreadable size is left
    // out), font-weight:bold, font-style:italic, text-decoration with underline and
    // line-through as chosen. Empty when none applies.
    static QString wrapperStyle(const ColorizeOptions& options);

private:
    void putEscaped(QStringView text);
};

struct BBCodeColorTag {
    static constexpr char16_t kOpen[] = u"[color=#";
    static constexpr char16_t kEnd[] = u"]";
    static constexpr char16_t kClose[] = u"[/color]";
};

// Forum markup: [color=#RRGGBB] per character or run inside [center], [b], [i], [u], [s],
// [font=FACE] and [size=N], in that order. N is the legacy size 1 .. 7 (as vBulletin,
// XenForo, MyBB and SMF read it; phpBB reads it as a percentage). Brackets and control
// characters cannot be part of a face there and are left out of it.
//
// Text is written as it is: BBCode has no escape every forum understands ([noparse] and
// [plain] are not universal, and many forums show &#91; literally). Instead a "[" from the
// text always closes its colour tag, even inside a merged run, so the next thing after it
// is "[/color]": the "[" can never be followed by a tag name, and no parser, scanning or
// regular-expression based, reads it as the start of a tag.
class BBCodeWriter : public ColorTagWriter<BBCodeColorTag> {
public:
    BBCodeWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        tagFor(c);
        out_.put(cluster);
        if (cluster.contains(u'[')) {
            closeRun();
        }
    }
    void blank(QStringView cluster) { out_.put(cluster); }
    void lineBreak() {
        closeRun();
        out_.put(u'\n');
    }
};

// Terminal colour: ESC[38;2;R;G;Bm before every character or run in 24-bit colour; with a
// smaller colour depth the nearest colour of xterm's as ESC[38;5;Nm (256 colours) or
// ESC[30..37m / ESC[90..97m (16 or 8), a run going on while that stays the same. Bold /
// italic / underline / strikethrough as one SGR sequence (ESC[1;3;4;9m, the ones chosen) at
// the start and again after every reset, ESC[0m before each line break (written as LF) and at
// the end; nothing is
// written around a line break when nothing is set. Centre, face and size have no terminal
// form and are ignored. Control characters in the text would drive the terminal, so they are shown
// as their Unicode control pictures (ESC as U+241B; C1 controls as U+FFFD); tab stays.
class AnsiWriter {
    static constexpr char16_t kColor[] = u"\x1b[38;2;";
    static constexpr char16_t kColor256[] = u"\x1b[38;5;";
    static constexpr char16_t kReset[] = u"\x1b[0m";

public:
    AnsiWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c);
    void blank(QStringView cluster);
    void lineBreak();
    void finish();
    void cutRun() { runs_.cut(); }

    // The sequence before one unmerged character at most (three-digit components), and the
    // styles and reset around a line.
    static constexpr qsizetype kPerCharacter = std::size(kColor) - 1 + 3 * 3 + 2 + 1;
    qsizetype wrapperLength() const { return styles_.size() + qsizetype(std::size(kReset)) - 1; }

private:
    void putVisible(QStringView text);

    MarkupBuffer& out_;
    QString styles_;
    ColorRuns runs_;                 // a run is open while its colour is set
    bool active_ = false;            // something set since the last reset
    std::optional<Nearest> nearest_; // for a depth below 24 bits
    bool xterm256_ = false;
};

} // namespace tintwave::engine
