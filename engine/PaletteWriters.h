#pragma once

#include "engine/ColorRuns.h"
#include "engine/ColorSets.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QString>
#include <QStringView>

// The writers of chats that show a fixed set of colours: each character gets the nearest
// colour of the set, and a run of characters whose nearest colour is the same gets one code
// whether merging is chosen or not (these chats limit the length of a message). Centre, face
// and size have no form here and are ignored. Colorize leaves control characters out, as for
// the other chat formats; any that still come are written as their Unicode control pictures
// (C1 controls as U+FFFD), so none can start a code. Tab stays.
namespace tintwave::engine {

// The options with merging on: these writers always merge runs of one colour.
inline ColorizeOptions alwaysMerged(ColorizeOptions options) {
    options.output.merge = true;
    return options;
}

// Discord's ansi code block: a line "```ansi", the text, a line "```". Each run starts with
// ESC[0;3Xm, X the colour 0 .. 7, with 1; for bold and 4; for underline after the 0; (italic
// has no code there). Two backticks in a row get a zero-width space between them, so no
// "```" in the text can end the block early.
class DiscordWriter {
public:
    DiscordWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        const SetColor& shown = nearest_(c);
        if (runs_.startsRun(shown.color)) {
            out_.put(opening_);
            out_.putDecimal(shown.number);
            out_.put(u'm');
            runs_.open(shown.color);
            afterBacktick_ = false;
        }
        putText(cluster);
    }
    void blank(QStringView cluster) { putText(cluster); }
    void lineBreak() {
        out_.put(u'\n');
        runs_.close();
        afterBacktick_ = false;
    }
    void finish() { out_.put(u"\n```"); }
    // Steps of one colour share their code too.
    void cutRun() {}

    // "ESC[0;1;4;37m" at most before a character; the fence lines.
    qsizetype perCharacter() const { return opening_.size() + 3; }
    qsizetype wrapperLength() const { return 12; }

private:
    void putText(QStringView text);

    MarkupBuffer& out_;
    Nearest nearest_{ColorSet::Discord};
    QString opening_; // ESC[0; and the styles
    ColorRuns runs_;
    bool afterBacktick_ = false; // the last thing written is a backtick of the text
};

// mIRC colour codes: \x03 and two digits (so a digit of the text is never read as part of
// the code) before every run; \x02 bold, \x1D italic, \x1F underline, \x1E strikethrough at
// the start of every line; \x0F, which resets everything, at the end of every line. A comma right
// after a colour code would be read as the start of a background colour, so an empty bold pair
// (\x02\x02) stands between them.
class IrcWriter {
public:
    IrcWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        startLine();
        const SetColor& shown = nearest_(c);
        if (runs_.startsRun(shown.color)) {
            char16_t* at = out_.room(3);
            *at++ = u'\x03';
            *at++ = char16_t(u'0' + shown.number / 10);
            *at++ = char16_t(u'0' + shown.number % 10);
            out_.advance(at);
            runs_.open(shown.color);
            if (cluster.front() == u',') {
                out_.put(u"\x02\x02");
            }
        }
        putVisible(cluster);
    }
    void blank(QStringView cluster) {
        startLine();
        putVisible(cluster);
    }
    void lineBreak() {
        out_.put(u"\x0F\n");
        started_ = false;
        runs_.close();
    }
    void finish() { out_.put(u'\x0F'); }
    // Steps of one colour share their code too.
    void cutRun() {}

    qsizetype perCharacter() const { return 5; }
    qsizetype wrapperLength() const { return styles_.size() + 1; }

private:
    void startLine() {
        if (!started_) {
            out_.put(styles_);
            started_ = true;
        }
    }
    void putVisible(QStringView text) {
        for (QChar c : text) {
            out_.put(withoutControls(c.unicode()));
        }
    }

    MarkupBuffer& out_;
    Nearest nearest_{ColorSet::Mirc};
    QString styles_;
    ColorRuns runs_;
    bool started_ = false; // something written on this line
};

} // namespace tintwave::engine
