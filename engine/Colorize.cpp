#include "engine/Colorize.h"

#include "color/ColorProcs.h"
#include "engine/ChatWriters.h"
#include "engine/ColorSets.h"
#include "engine/FontMarkupWriter.h"
#include "engine/Gradient.h"
#include "engine/GradientWriter.h"
#include "engine/Graphemes.h"
#include "engine/LoopGradient.h"
#include "engine/MarkupWriters.h"
#include "engine/PaletteWriters.h"
#include "engine/TemplateWriter.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>
#include <span>
#include <type_traits>

namespace tintwave::engine {

namespace {

using colorspace::Srgb8;

// No rounded gradient component exceeds the largest component of the colours it blends.
int largestComponent(const ActiveColors& colors) {
    int largest = 0;
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        largest = std::max({largest, color::red(c), color::green(c), color::blue(c)});
    }
    return largest;
}

// An LF, CR LF or lone CR: a line break of the modern formats.
bool isLineBreak(QStringView cluster) {
    return cluster == u"\n" || cluster == u"\r\n" || cluster == u"\r";
}

bool isBlank(QStringView cluster) {
    return cluster.size() == 1 && cluster.front().isSpace();
}

// The text split into characters and lines, and where the per-character colours go.
struct Job {
    const QString& text;
    const ActiveColors& active;
    const OutputChoices& output;
    // Where each character starts, and text.size() last; empty when every code unit is a
    // character of its own, which spares a table of eight bytes per character.
    std::vector<qsizetype> bounds;
    qsizetype count;
    // The characters that are line breaks, in order: none for Font, whose line breaks are
    // characters like any other.
    std::vector<qsizetype> breaks;
    bool perLine;
    bool skipBlanks;
    qsizetype step; // characters per colour
    bool leaveOutControls;
    int largest;          // component of the colours: no code has more digits
    qsizetype frames;     // 1 when the gradient stands still
    CharColorSink* chars; // nothing when the caller does not want them
    // The colours are recorded as the target shows them: the nearest of this set.
    std::optional<Nearest> shown;

    Job(const QString& t, const ActiveColors& a, const ColorizeOptions& options, CharColorSink* c)
        : text(t)
        , active(a)
        , output(options.output)
        , bounds(eachUnitIsACharacter(t) ? std::vector<qsizetype>() : graphemeBoundaries(t))
        , count(bounds.empty() ? t.size() : qsizetype(bounds.size() - 1))
        , perLine(options.perLine && hasRunOptions(options.output.format))
        , skipBlanks(options.output.skipBlanks && hasRunOptions(options.output.format))
        , step(hasRunOptions(options.output.format) ? std::max(1, options.step) : 1)
        , leaveOutControls(leavesOutControls(options.output.format))
        , largest(largestComponent(a))
        , frames(hasRunOptions(options.output.format) && options.frames > 1
                     ? std::min(options.frames, kMostFrames)
                     : 1)
        , chars(c) {
        if (const std::optional<ColorSet> set = shownColorSet(options.output)) {
            shown.emplace(*set);
        }
        if (hasRunOptions(options.output.format) && (t.contains(u'\n') || t.contains(u'\r'))) {
            for (qsizetype k = 0; k < count; ++k) {
                if (isLineBreak(cluster(k))) {
                    breaks.push_back(k);
                }
            }
        }
    }

    qsizetype start(qsizetype k) const { return bounds.empty() ? k : bounds[std::size_t(k)]; }
    QStringView cluster(qsizetype k) const {
        return QStringView(text).sliced(start(k), start(k + 1) - start(k));
    }
    void record(qsizetype k, Srgb8 c) const {
        if (shown) {
            c = (*shown)(c).color;
        }
        chars->character({start(k), start(k + 1) - start(k), color::rgb(c.red, c.green, c.blue)});
    }
};

// The gradients of the lines by their number of characters: lines of a length seen before
// take its gradient instead of working it out again.
class Ramps {
public:
    explicit Ramps(const Job& job)
        : job_(job) {}
    const ColorRamp& forCount(qsizetype count) {
        auto it = ramps_.find(count);
        if (it == ramps_.end()) {
            if (ramps_.size() >= kKept) {
                ramps_.clear();
            }
            it =
                ramps_.try_emplace(count, job_.active, count, job_.output.blend, job_.output.spread)
                    .first;
        }
        return it->second;
    }

private:
    static constexpr std::size_t kKept = 64;
    const Job& job_;
    std::map<qsizetype, ColorRamp> ramps_;
};

// Only the classic arithmetic can carry a component past 255 (from a value above
// 0xFFFFFF); the modern formats have no way to write one.
Srgb8 clamped(Srgb8 c) {
    return {std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255)};
}

// One character as the options have it: a control character left out (its place in the
// gradient kept), a blank without a code of its own, or coloured.
template <typename Writer> void put(const Job& job, Writer& writer, QStringView cluster, Srgb8 c) {
    if (job.leaveOutControls && isControlCharacter(cluster)) {
        return;
    }
    if (job.skipBlanks && isBlank(cluster)) {
        writer.blank(cluster);
    } else {
        writer.character(cluster, c);
    }
}

// One colour per step of job.step characters of a line, up to end: that of the step's middle
// character, from fill as the ramps fill. Without merging, each step is a run of its own.
template <typename Writer, typename Fill>
void writeSteps(const Job& job, Writer& writer, const Fill& fill, qsizetype end,
                qsizetype& position, qsizetype& k, Srgb8& last, CharColorSink* chars) {
    const bool clamp = job.largest > 255;
    while (k < end) {
        const qsizetype length = std::min(job.step, end - k);
        Srgb8 c = last;
        fill(position + (length - 1) / 2, std::span(&c, 1));
        c = clamp ? clamped(c) : c;
        if (!job.output.merge) {
            writer.cutRun();
        }
        for (const qsizetype stepEnd = k + length; k < stepEnd; ++k) {
            put(job, writer, job.cluster(k), c);
            if (chars) {
                job.record(k, c);
            }
        }
        position += length;
        last = c;
    }
}

// The writer of each frame. A frame is a line of its own and a whole code, its wrappers
// opened and closed on it, so that an animation plugin's frame list takes any line alone;
// only Discord's code block holds all the frames, one a line.
template <typename Writer, typename Make> class FrameWriters {
public:
    // make: a new writer; count: the characters of a frame.
    FrameWriters(MarkupBuffer& out, const Make& make, qsizetype count)
        : out_(out)
        , make_(make)
        , count_(count) {
        start();
    }
    Writer& current() { return *writer_; }
    // Ends the frame written so far and starts the next line.
    Writer& next() {
        if constexpr (std::is_same_v<Writer, DiscordWriter>) {
            writer_->lineBreak();
        } else {
            writer_->finish();
            out_.put(u'\n');
            start();
        }
        return *writer_;
    }

private:
    void start() {
        writer_.emplace(make_());
        if constexpr (requires { writer_->reserve(qsizetype()); }) {
            writer_->reserve(count_); // a writer that keeps every character until the end
        }
    }

    MarkupBuffer& out_;
    const Make& make_;
    qsizetype count_;
    std::optional<Writer> writer_;
};

// Colours in blocks, so the gradient arithmetic stays apart from the markup without a call
// per character. A line break takes no place in the gradient and is recorded with the
// colour before it (black at the start); a control character left out keeps its place.
// Frames follow each other as lines of their own; the colours of the first are recorded.
template <typename Writer, typename Frames> void writeCharacters(const Job& job, Frames& frames) {
    constexpr bool classic = std::is_same_v<Writer, FontMarkupWriter>;
    const bool clamp = !classic && job.largest > 255;
    const qsizetype placed = job.count - qsizetype(job.breaks.size());
    std::optional<LoopRamp> loop;
    if (job.frames > 1) {
        loop.emplace(job.active, placed, job.output.blend);
    }
    std::array<Srgb8, 256> block;
    Ramps ramps(job);
    for (qsizetype frame = 0; frame < job.frames; ++frame) {
        Writer& writer = frame == 0 ? frames.current() : frames.next();
        CharColorSink* const chars = frame == 0 ? job.chars : nullptr;
        const ColorRamp* ramp = nullptr;
        const auto fill = [&](qsizetype first, std::span<Srgb8> out) {
            return loop ? loop->fill(frame, job.frames, first, out) : ramp->fill(first, out);
        };
        qsizetype position = 0;
        Srgb8 last;
        qsizetype k = 0;
        for (std::size_t line = 0; line <= job.breaks.size(); ++line) {
            const qsizetype end = line < job.breaks.size() ? job.breaks[line] : job.count;
            if (!loop && (!ramp || job.perLine)) {
                ramp = &ramps.forCount(job.perLine ? end - k : placed);
                position = 0;
            }
            if constexpr (!classic) {
                if (job.step > 1) {
                    writeSteps(job, writer, fill, end, position, k, last, chars);
                }
            }
            while (k < end) {
                const std::span<Srgb8> wanted =
                    std::span(block).first(std::size_t(std::min<qsizetype>(end - k, block.size())));
                const qsizetype filled = fill(position, wanted);
                if (filled == 0) {
                    k = end;
                    break;
                }
                for (qsizetype i = 0; i < filled; ++i, ++k) {
                    const Srgb8 c = clamp ? clamped(block[std::size_t(i)]) : block[std::size_t(i)];
                    const QStringView cluster = job.cluster(k);
                    if constexpr (classic) {
                        writer.character(cluster, c);
                    } else {
                        put(job, writer, cluster, c);
                    }
                    if (chars) {
                        job.record(k, c);
                    }
                    last = c;
                }
                position += filled;
            }
            if constexpr (!classic) {
                if (k < job.count) {
                    writer.lineBreak();
                    if (chars) {
                        job.record(k, last);
                    }
                    ++k;
                }
            }
        }
    }
    frames.current().finish();
}

template <typename Writer> qsizetype perCharacter(const Writer& writer) {
    if constexpr (requires { Writer::kPerCharacter; }) {
        return Writer::kPerCharacter;
    } else {
        return writer.perCharacter();
    }
}

// Writes the code through a Writer. With room, that string is first made big enough for
// all of it, so a string sink allocates once: exactly for the classic markup, the unmerged
// size without escapes for the others. Only the classic markup writes components past 255.
template <typename Writer>
void writeAs(const Job& job, const ColorizeOptions& options, CodeSink& sink, QString* room) {
    constexpr bool classic = std::is_same_v<Writer, FontMarkupWriter>;
    MarkupBuffer out(sink);
    const auto make = [&] {
        if constexpr (std::is_same_v<Writer, MiniMessageGradientWriter>) {
            return Writer(options, out, job.active);
        } else {
            return Writer(options, out);
        }
    };
    FrameWriters<Writer, decltype(make)> frames(out, make, job.count);
    const Writer& writer = frames.current();
    if (room) {
        const int extraDigits = classic ? color::hexWidth(job.largest) - 2 : 0;
        room->reserve(job.frames * (writer.wrapperLength() + job.text.size() + 1 +
                                    job.count * (perCharacter(writer) + 3 * extraDigits)));
    }
    writeCharacters<Writer>(job, frames);
    out.flush();
}

void write(const Job& job, const ColorizeOptions& options, CodeSink& sink, QString* room) {
    switch (options.output.format) {
    case OutputFormat::Font:
        return writeAs<FontMarkupWriter>(job, options, sink, room);
    case OutputFormat::Span:
        return writeAs<SpanWriter>(job, options, sink, room);
    case OutputFormat::BBCode:
        return writeAs<BBCodeWriter>(job, options, sink, room);
    case OutputFormat::Ansi:
        return writeAs<AnsiWriter>(job, options, sink, room);
    case OutputFormat::McHex:
    case OutputFormat::McX:
    case OutputFormat::McSection:
        return writeAs<MinecraftWriter>(job, options, sink, room);
    case OutputFormat::MiniMessage:
        return writeAs<MiniMessageWriter>(job, options, sink, room);
    case OutputFormat::MiniMessageGradient:
        return writeAs<MiniMessageGradientWriter>(job, options, sink, room);
    case OutputFormat::Json:
        return writeAs<JsonWriter>(job, options, sink, room);
    case OutputFormat::Template:
        return writeAs<TemplateWriter>(job, options, sink, room);
    case OutputFormat::Discord:
        return writeAs<DiscordWriter>(job, options, sink, room);
    case OutputFormat::Irc:
        return writeAs<IrcWriter>(job, options, sink, room);
    }
}

class TableSink : public CharColorSink {
public:
    explicit TableSink(std::vector<CharColor>& table)
        : table_(table) {}
    void begin(qsizetype count) override { table_.reserve(std::size_t(count)); }
    void character(const CharColor& c) override { table_.push_back(c); }

private:
    std::vector<CharColor>& table_;
};

std::optional<ColorizeError> check(const QString& text, const ActiveColors& active) {
    if (text.isEmpty()) {
        return ColorizeError::EmptyText;
    }
    if (active.count == 0) {
        return ColorizeError::NoColor;
    }
    return std::nullopt;
}

// Checks the input, then writes the code to sink and the colours to chars (when given).
std::optional<ColorizeError> run(const QString& text, const SlotValues& slotValues,
                                 const ColorizeOptions& options, CodeSink& sink,
                                 CharColorSink* chars, QString* room) {
    const ActiveColors active = activeColors(slotValues);
    if (const std::optional<ColorizeError> error = check(text, active)) {
        return error;
    }
    const Job job(text, active, options, chars);
    if (chars) {
        chars->begin(job.count);
    }
    write(job, options, sink, room);
    return std::nullopt;
}

} // namespace

// Translated only where a translator is installed: the windows have one, the command line
// none, so its messages stay English.
QString messageFor(ColorizeError error) {
    switch (error) {
    case ColorizeError::EmptyText:
        return QCoreApplication::translate("tintwave::engine", "You must type something.");
    case ColorizeError::NoColor:
        return QCoreApplication::translate("tintwave::engine",
                                           "You must select at least one color");
    }
    return {};
}

ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options) {
    ColorizeResult result;
    TableSink chars(result.chars);
    StringSink sink(result.code);
    result.error = run(text, slotValues, options, sink, &chars, &result.code);
    return result;
}

std::optional<ColorizeError> colorizeTo(const QString& text, const SlotValues& slotValues,
                                        const ColorizeOptions& options, CodeSink& sink,
                                        CharColorSink* chars) {
    return run(text, slotValues, options, sink, chars, nullptr);
}

} // namespace tintwave::engine
