#include "engine/Colorize.h"

#include "color/ColorProcs.h"
#include "engine/FontMarkupWriter.h"
#include "engine/Gradient.h"
#include "engine/Graphemes.h"
#include "engine/MarkupWriters.h"

#include <algorithm>

namespace tintwave::engine {

namespace {

using colorspace::Srgb8;

// The text split into characters, its colours and where the per-character colours go.
struct Job {
    const QString& text;
    // Where each character starts, and text.size() last; empty when every code unit is a
    // character of its own, which spares a table of eight bytes per character.
    std::vector<qsizetype> bounds;
    qsizetype count;
    ColorRamp ramp;
    std::vector<CharColor>* chars; // nothing when the caller does not want them

    Job(const QString& t, const ActiveColors& active, const ColorizeOptions& options,
        std::vector<CharColor>* c)
        : text(t)
        , bounds(eachUnitIsACharacter(t) ? std::vector<qsizetype>() : graphemeBoundaries(t))
        , count(bounds.empty() ? t.size() : qsizetype(bounds.size() - 1))
        , ramp(active, count, options.output.blend, options.output.spread)
        , chars(c) {}

    qsizetype start(qsizetype k) const { return bounds.empty() ? k : bounds[std::size_t(k)]; }
};

// No rounded gradient component exceeds the largest component of the colours it blends.
int largestComponent(const ActiveColors& colors) {
    int largest = 0;
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        largest = std::max({largest, color::red(c), color::green(c), color::blue(c)});
    }
    return largest;
}

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
                job.chars->push_back({start, length, color::rgb(c.red, c.green, c.blue)});
            }
        }
        first += filled;
    }
    writer.finish();
}

void write(const Job& job, const ColorizeOptions& options, CodeSink& sink) {
    MarkupBuffer out(sink);
    switch (options.output.format) {
    case OutputFormat::Font: {
        FontMarkupWriter writer(options, out);
        writeCharacters(job, writer, false);
        break;
    }
    case OutputFormat::Span: {
        SpanWriter writer(options, out);
        writeCharacters(job, writer, true);
        break;
    }
    case OutputFormat::BBCode: {
        BBCodeWriter writer(options, out);
        writeCharacters(job, writer, true);
        break;
    }
    case OutputFormat::Ansi: {
        AnsiWriter writer(options, out);
        writeCharacters(job, writer, true);
        break;
    }
    }
    out.flush();
}

// Room for the code of the whole text, so a string sink allocates once: exact for the
// classic markup, the unmerged size of plain text for the others (escapes and wrappers may
// still grow it a little; merged output needs less).
qsizetype expectedLength(const ColorizeOptions& options, const ActiveColors& active,
                         qsizetype characters, qsizetype textLength) {
    constexpr qsizetype kWrappers = 256;
    switch (options.output.format) {
    case OutputFormat::Font:
        return FontMarkupWriter::codeLength(options, characters, textLength,
                                            color::hexWidth(largestComponent(active)));
    case OutputFormat::Span:
        return kWrappers + options.face.size() +
               characters * qsizetype(sizeof(u"<span style=\"color:#RRGGBB\"></span>") / 2 - 1) +
               textLength;
    case OutputFormat::BBCode:
        return kWrappers + options.face.size() +
               characters * qsizetype(sizeof(u"[color=#RRGGBB][/color]") / 2 - 1) + textLength;
    case OutputFormat::Ansi:
        return kWrappers + characters * qsizetype(sizeof(u"\x1b[38;2;255;255;255m") / 2 - 1) +
               textLength;
    }
    return textLength;
}

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

QString messageFor(ColorizeError error) {
    switch (error) {
    case ColorizeError::EmptyText:
        return QStringLiteral("You must type something.");
    case ColorizeError::NoColor:
        return QStringLiteral("You must select at least one color");
    }
    return {};
}

ColorizeResult colorize(const QString& text, const SlotValues& slotValues,
                        const ColorizeOptions& options) {
    ColorizeResult result;
    const ActiveColors active = activeColors(slotValues);
    if ((result.error = check(text, active))) {
        return result;
    }
    const Job job(text, active, options, &result.chars);
    result.code.reserve(expectedLength(options, active, job.count, text.size()));
    result.chars.reserve(std::size_t(job.count));
    StringSink sink(result.code);
    write(job, options, sink);
    return result;
}

std::optional<ColorizeError> colorizeTo(const QString& text, const SlotValues& slotValues,
                                        const ColorizeOptions& options, CodeSink& sink) {
    const ActiveColors active = activeColors(slotValues);
    if (const std::optional<ColorizeError> error = check(text, active)) {
        return error;
    }
    write(Job(text, active, options, nullptr), options, sink);
    return std::nullopt;
}

} // namespace tintwave::engine
