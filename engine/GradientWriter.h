#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/Gradient.h"
#include "engine/MarkupBuffer.h"

#include <QStringView>
#include <span>
#include <vector>

// MiniMessage that lets the server work out the colours: the text as a row of segments,
// <gradient:#RRGGBB:#RRGGBB>…</gradient> or, for one colour, <#RRGGBB>…</#RRGGBB>, each
// closed but the last. Rendered as MiniMessage renders a gradient (gradientColor), the first
// code point of every character comes within kGradientTolerance per channel of the colour
// this program gives it.
namespace tintwave::engine {

inline constexpr int kGradientTolerance = 2;

// The colour MiniMessage (Adventure's gradient tag) gives code point index of a gradient of
// size code points over colors: position index * (n - 1) / (size - 1) in single precision,
// then TextColor.lerp between the colours either side, rounded half up; size 1 takes the
// first colour.
colorspace::Srgb8 gradientColor(std::span<const colorspace::Srgb8> colors, qint64 index,
                                qint64 size);

// Characters in a row that must show one colour (characters free to show any colour, such
// as blanks or line breaks, join the piece they stand in). Offsets count code points from the
// start of the stretch being split into segments.
struct GradientPiece {
    qint64 end = 0;    // code points up to the end of the piece
    qint64 first = -1; // the first code point that must show the colour; -1: none does
    qint64 last = -1;  // the last one
    colorspace::Srgb8 color;
    qsizetype charEnd = 0; // the writer's own: the characters up to the end of the piece
};

struct GradientSegment {
    qsizetype pieceEnd = 0; // the pieces up to the end of the segment
    colorspace::Srgb8 from; // from == to: one colour
    colorspace::Srgb8 to;
    bool bare = false; // nothing in it must show a colour: written without a tag
};

// Splits pieces into as few two-colour segments as a greedy search finds; see the .cpp.
std::vector<GradientSegment> splitIntoSegments(std::span<const GradientPiece> pieces);

// The code units of a segment's opening and closing tags.
qsizetype openingLength(const GradientSegment& segment);
qsizetype closingLength(const GradientSegment& segment);

// Keeps every character with its colour until finish(), then splits each stretch (the whole
// text, or each line with per-line gradients) into segments and writes them. With the rgb
// blend, the even spread and a colour per character, a stretch holding a whole gradient is
// first tried as one tag listing all the colours. Style tags and escapes as MiniMessageWriter.
class MiniMessageGradientWriter {
public:
    MiniMessageGradientWriter(const ColorizeOptions& options, MarkupBuffer& out,
                              const ActiveColors& active);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        held_.push_back({cluster.data(), qint32(cluster.size()), packed(c)});
    }
    void blank(QStringView cluster) {
        held_.push_back({cluster.data(), qint32(cluster.size()), kFree});
    }
    void reserve(qsizetype count) { held_.reserve(std::size_t(count)); }
    void lineBreak();
    void cutRun() {}
    void finish();

    qsizetype perCharacter() const { return 0; }
    qsizetype wrapperLength() const { return wrappers_.length(); }

private:
    static constexpr quint32 kFree = 0xFFFFFFFF;
    struct Held {
        const QChar* at; // nothing for a line break
        qint32 units;
        quint32 color; // 0xRRGGBB, or kFree
    };
    static quint32 packed(colorspace::Srgb8 c) {
        return quint32(c.red << 16 | c.green << 8 | c.blue);
    }

    void writeStretch(qsizetype from, qsizetype to);
    bool fitsAllStops(qsizetype from, qsizetype to) const;
    void writeChars(qsizetype from, qsizetype to);
    void closeSegment();

    MarkupBuffer& out_;
    Wrappers wrappers_;
    bool perLine_;
    bool allStops_; // whether one tag of all colours is worth a try
    std::vector<colorspace::Srgb8> stops_;
    std::vector<Held> held_;
    std::vector<qsizetype> breaks_; // the held line breaks, with per-line gradients
    QString closing_;               // of the segment written last, until something follows
};

} // namespace tintwave::engine
