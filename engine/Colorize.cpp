#include "engine/Colorize.h"

#include "color/ColorProcs.h"
#include "engine/FontMarkupWriter.h"
#include "engine/Gradient.h"
#include "engine/Graphemes.h"
#include "engine/MarkupWriters.h"

#include <QCoreApplication>
#include <algorithm>
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

// The text split into characters, its colours and where the per-character colours go.
struct Job {
    const QString& text;
    // Where each character starts, and text.size() last; empty when every code unit is a
    // character of its own, which spares a table of eight bytes per character.
    std::vector<qsizetype> bounds;
    qsizetype count;
    ColorRamp ramp;
    int largest;          // component of the colours: no code has more digits
    CharColorSink* chars; // nothing when the caller does not want them

    Job(const QString& t, const ActiveColors& active, const ColorizeOptions& options,
        CharColorSink* c)
        : text(t)
        , bounds(eachUnitIsACharacter(t) ? std::vector<qsizetype>() : graphemeBoundaries(t))
        , count(bounds.empty() ? t.size() : qsizetype(bounds.size() - 1))
        , ramp(active, count, options.output.blend, options.output.spread)
        , largest(largestComponent(active))
        , chars(c) {}

    qsizetype start(qsizetype k) const { return bounds.empty() ? k : bounds[std::size_t(k)]; }
};

// Only the classic arithmetic can carry a component past 255 (from a value above
// 0xFFFFFF); the modern formats have no way to write one.
Srgb8 clamped(Srgb8 c) {
    return {std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255)};
}

// Colours in blocks, so the gradient arithmetic stays apart from the markup without a call
// per character.
template <typename Writer> void writeCharacters(const Job& job, Writer& writer, bool clamp) {
    std::array<Srgb8, 256> block;
    for (qsizetype first = 0; first < job.count;) {
        const qsizetype filled = job.ramp.fill(first, block);
        if (filled == 0) {
            break;
        }
        for (qsizetype k = 0; k < filled; ++k) {
            const Srgb8 c = clamp ? clamped(block[std::size_t(k)]) : block[std::size_t(k)];
            const qsizetype start = job.start(first + k);
            const qsizetype length = job.start(first + k + 1) - start;
            writer.character(QStringView(job.text).sliced(start, length), c);
            if (job.chars) {
                job.chars->character({start, length, color::rgb(c.red, c.green, c.blue)});
            }
        }
        first += filled;
    }
    writer.finish();
}

// Writes the code through a Writer. With room, that string is first made big enough for
// all of it, so a string sink allocates once: exactly for the classic markup, the unmerged
// size without escapes for the others. Only the classic markup writes components past 255.
template <typename Writer>
void writeAs(const Job& job, const ColorizeOptions& options, CodeSink& sink, QString* room) {
    constexpr bool classic = std::is_same_v<Writer, FontMarkupWriter>;
    MarkupBuffer out(sink);
    Writer writer(options, out);
    if (room) {
        const int extraDigits = classic ? color::hexWidth(job.largest) - 2 : 0;
        room->reserve(writer.wrapperLength() + job.text.size() +
                      job.count * (Writer::kPerCharacter + 3 * extraDigits));
    }
    writeCharacters(job, writer, !classic);
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

class StringSink : public CodeSink {
public:
    explicit StringSink(QString& out)
        : out_(out) {}
    void write(QStringView piece) override { out_.append(piece); }

private:
    QString& out_;
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
    std::vector<CharColor> table;
    TableSink chars(table);
    ColorizeResult result = colorize(text, slotValues, options, chars);
    result.chars = std::move(table);
    return result;
}

ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options, CharColorSink& chars) {
    ColorizeResult result;
    const ActiveColors active = activeColors(slotValues);
    if ((result.error = check(text, active))) {
        return result;
    }
    const Job job(text, active, options, &chars);
    chars.begin(job.count);
    StringSink sink(result.code);
    write(job, options, sink, &result.code);
    return result;
}

std::optional<ColorizeError> colorizeTo(const QString& text, const SlotValues& slotValues,
                                        const ColorizeOptions& options, CodeSink& sink) {
    const ActiveColors active = activeColors(slotValues);
    if (const std::optional<ColorizeError> error = check(text, active)) {
        return error;
    }
    write(Job(text, active, options, nullptr), options, sink, nullptr);
    return std::nullopt;
}

std::optional<ColorizeError> colorizeTo(const QString& text, const SlotValues& slotValues,
                                        const ColorizeOptions& options, CodeSink& sink,
                                        CharColorSink& chars) {
    const ActiveColors active = activeColors(slotValues);
    if (const std::optional<ColorizeError> error = check(text, active)) {
        return error;
    }
    const Job job(text, active, options, &chars);
    chars.begin(job.count);
    write(job, options, sink, nullptr);
    return std::nullopt;
}

} // namespace tintwave::engine
