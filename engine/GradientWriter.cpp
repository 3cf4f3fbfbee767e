#include "engine/GradientWriter.h"

#include <cmath>
#include <cstdlib>

namespace tintwave::engine {

using colorspace::Srgb8;

namespace {

bool near(Srgb8 shown, Srgb8 wanted) {
    return std::abs(shown.red - wanted.red) <= kGradientTolerance &&
           std::abs(shown.green - wanted.green) <= kGradientTolerance &&
           std::abs(shown.blue - wanted.blue) <= kGradientTolerance;
}

Srgb8 unpacked(quint32 c) {
    return {int(c >> 16), int(c >> 8 & 255), int(c & 255)};
}

// Whether one two-colour segment over pieces[from, to) shows every piece's colour closely
// enough. Along a two-colour gradient each component is monotonic in the code point, so a
// piece whose first and last constrained code points are close enough is close enough
// everywhere between them: two colours per piece are worked out, not one per character.
bool fits(std::span<const GradientPiece> pieces, qsizetype from, qsizetype to) {
    const std::array<Srgb8, 2> ends = {pieces[std::size_t(from)].color,
                                       pieces[std::size_t(to - 1)].color};
    const qint64 base = from == 0 ? 0 : pieces[std::size_t(from - 1)].end;
    const qint64 size = pieces[std::size_t(to - 1)].end - base;
    for (qsizetype p = from; p < to; ++p) {
        const GradientPiece& piece = pieces[std::size_t(p)];
        if (piece.first >= 0 &&
            (!near(gradientColor(ends, piece.first - base, size), piece.color) ||
             !near(gradientColor(ends, piece.last - base, size), piece.color))) {
            return false;
        }
    }
    return true;
}

void putColor(MarkupBuffer& out, Srgb8 c) {
    out.put(u'#');
    out.putHexByte(c.red);
    out.putHexByte(c.green);
    out.putHexByte(c.blue);
}

qint64 codePoints(const QChar* at, qint32 units) {
    if (!at) {
        return 1;
    }
    qint64 count = units;
    for (qint32 i = 0; i + 1 < units; ++i) {
        if (at[i].isHighSurrogate() && at[i + 1].isLowSurrogate()) {
            --count;
        }
    }
    return count;
}

} // namespace

Srgb8 gradientColor(std::span<const Srgb8> colors, qint64 index, qint64 size) {
    const auto n = qint64(colors.size());
    const float multiplier = size <= 1 ? 0.0f : float(n - 1) / float(size - 1);
    const float position = float(index) * multiplier;
    const auto low = qint64(position); // floor: the position is never negative
    const qint64 high = low + (float(low) < position ? 1 : 0);
    // Past the last colour the index wraps round, as MiniMessage's does.
    const Srgb8 a = colors[std::size_t(low < n ? low : low % n)];
    const Srgb8 b = colors[std::size_t(high < n ? high : high % n)];
    const float t = position - float(low);
    // Java's Math.round of a float: the nearest whole number, a half upwards.
    const auto lerp = [t](int from, int to) {
        const float mixed = float(from) + t * float(to - from);
        return int(std::floor(double(mixed) + 0.5));
    };
    return {lerp(a.red, b.red), lerp(a.green, b.green), lerp(a.blue, b.blue)};
}

// Greedy, longest segment first, in time linear in the pieces: from each start the length
// is doubled (2, 4, 8 … pieces) while the segment still fits, then the gap between the last
// length that fitted and the first that did not is halved at most four times. Checking a
// length costs that many pieces, so a segment of g pieces costs at most 4g for the doubling
// and 8g for the halving: every piece is checked a bounded number of times, whatever the
// text. A segment found this way is at least 15/16 of the longest that the last halving
// left open (and one piece always fits: it shows its own colour exactly).
std::vector<GradientSegment> splitIntoSegments(std::span<const GradientPiece> pieces) {
    std::vector<GradientSegment> segments;
    const auto count = qsizetype(pieces.size());
    for (qsizetype from = 0; from < count;) {
        if (pieces[std::size_t(from)].first < 0) {
            segments.push_back({from + 1, {}, {}, true});
            ++from;
            continue;
        }
        const qsizetype left = count - from;
        qsizetype good = 1;
        qsizetype bad = left + 1;
        for (qsizetype length = 2; length <= left && bad > left; length *= 2) {
            if (fits(pieces, from, from + length)) {
                good = length;
            } else {
                bad = length;
            }
        }
        if (bad > left && good < left) {
            if (fits(pieces, from, count)) {
                good = left;
            } else {
                bad = left;
            }
        }
        for (int halving = 0; halving < 4 && bad - good > 1; ++halving) {
            const qsizetype middle = good + (bad - good) / 2;
            (fits(pieces, from, from + middle) ? good : bad) = middle;
        }
        segments.push_back({from + good, pieces[std::size_t(from)].color,
                            pieces[std::size_t(from + good - 1)].color, false});
        from += good;
    }
    return segments;
}

// <#RRGGBB> or <gradient:#RRGGBB:#RRGGBB>; </#RRGGBB> or </gradient>.
qsizetype openingLength(const GradientSegment& segment) {
    return segment.bare ? 0 : segment.from == segment.to ? 9 : 26;
}
qsizetype closingLength(const GradientSegment& segment) {
    return segment.bare ? 0 : segment.from == segment.to ? 10 : 11;
}

MiniMessageGradientWriter::MiniMessageGradientWriter(const ColorizeOptions& options,
                                                     MarkupBuffer& out, const ActiveColors& active)
    : out_(out)
    , wrappers_(out)
    , perLine_(options.perLine)
    , allStops_(options.output.blend == Blend::Rgb && options.output.spread == Spread::Even &&
                options.step <= 1 && active.count > 1) {
    for (int i = 0; i < active.count; ++i) {
        const ColorValue v = active.values[std::size_t(i)];
        stops_.push_back({color::red(v), color::green(v), std::min(color::blue(v), 255)});
    }
    wrappers_.openStyleTags(options, true);
}

void MiniMessageGradientWriter::lineBreak() {
    if (perLine_) {
        breaks_.push_back(qsizetype(held_.size()));
    }
    held_.push_back({nullptr, 1, kFree});
}

void MiniMessageGradientWriter::finish() {
    qsizetype from = 0;
    for (const qsizetype lineBreak : breaks_) {
        writeStretch(from, lineBreak);
        closeSegment();
        out_.put(u'\n');
        from = lineBreak + 1;
    }
    writeStretch(from, qsizetype(held_.size()));
    wrappers_.close(); // the last segment stays open: the end of the text closes it
}

void MiniMessageGradientWriter::closeSegment() {
    out_.put(closing_);
    closing_.clear();
}

bool MiniMessageGradientWriter::fitsAllStops(qsizetype from, qsizetype to) const {
    qint64 size = 0;
    for (qsizetype k = from; k < to; ++k) {
        size += codePoints(held_[std::size_t(k)].at, held_[std::size_t(k)].units);
    }
    qint64 index = 0;
    for (qsizetype k = from; k < to; ++k) {
        const Held& h = held_[std::size_t(k)];
        if (h.color != kFree && !near(gradientColor(stops_, index, size), unpacked(h.color))) {
            return false;
        }
        index += codePoints(h.at, h.units);
    }
    return true;
}

void MiniMessageGradientWriter::writeStretch(qsizetype from, qsizetype to) {
    if (from == to) {
        return;
    }
    if (allStops_ && fitsAllStops(from, to)) {
        closeSegment();
        out_.put(u"<gradient:");
        for (std::size_t i = 0; i < stops_.size(); ++i) {
            if (i > 0) {
                out_.put(u':');
            }
            putColor(out_, stops_[i]);
        }
        out_.put(u'>');
        writeChars(from, to);
        closing_ = QStringLiteral("</gradient>");
        return;
    }
    std::vector<GradientPiece> pieces;
    qint64 index = 0;
    for (qsizetype k = from; k < to; ++k) {
        const Held& h = held_[std::size_t(k)];
        const bool joins = !pieces.empty() && (h.color == kFree || pieces.back().first < 0 ||
                                               packed(pieces.back().color) == h.color);
        if (!joins) {
            pieces.push_back({});
        }
        GradientPiece& piece = pieces.back();
        if (h.color != kFree) {
            if (piece.first < 0) {
                piece.first = index;
                piece.color = unpacked(h.color);
            }
            piece.last = index;
        }
        index += codePoints(h.at, h.units);
        piece.end = index;
        piece.charEnd = k + 1 - from;
    }
    qsizetype written = from;
    for (const GradientSegment& segment : splitIntoSegments(pieces)) {
        closeSegment();
        if (!segment.bare) {
            out_.put(segment.from == segment.to ? u"<" : u"<gradient:");
            putColor(out_, segment.from);
            if (segment.from != segment.to) {
                out_.put(u':');
                putColor(out_, segment.to);
            }
            out_.put(u'>');
            closing_ = segment.from == segment.to
                           ? QStringLiteral("</#%1>")
                                 .arg(packed(segment.from), 6, 16, QChar(u'0'))
                                 .toUpper()
                           : QStringLiteral("</gradient>");
        }
        const qsizetype end = from + pieces[std::size_t(segment.pieceEnd - 1)].charEnd;
        writeChars(written, end);
        written = end;
    }
}

void MiniMessageGradientWriter::writeChars(qsizetype from, qsizetype to) {
    for (qsizetype k = from; k < to; ++k) {
        const Held& h = held_[std::size_t(k)];
        if (!h.at) {
            out_.put(u'\n');
            continue;
        }
        for (qint32 i = 0; i < h.units; ++i) {
            const char16_t u = h.at[i].unicode();
            if (u == u'\\' || u == u'<') {
                out_.put(u'\\');
            }
            out_.put(u);
        }
    }
}

} // namespace tintwave::engine
