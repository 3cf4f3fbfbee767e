#include "cli/Run.h"

#include "cli/Animation.h"
#include "cli/Decoding.h"
#include "engine/DecodedWriter.h"
#include "engine/FitLength.h"
#include "output/Page.h"
#include "palette/Presets.h"
#include "platform/FileWriter.h"
#include "platform/SettingsStore.h"
#include "platform/SystemColors.h"
#include "schemes/SchemeStore.h"

#include <QStringEncoder>
#include <algorithm>

namespace tintwave::cli {

namespace {

// Page backgrounds given on the command line are always plain colours.
class PlainColorsOnly : public platform::SystemColors {
public:
    ColorValue resolve(ColorValue color) const override { return color < 0 ? kWhite : color; }
};

std::optional<SlotValues> findScheme(const QString& name, CliIo& io) {
    if (const palette::Preset* preset = palette::findPreset(name)) {
        return palette::applyPreset(*preset).values();
    }

    schemes::SchemeStore store(io.settings());
    if (const std::optional<int> index = store.findByTitle(name)) {
        if (const std::optional<palette::Palette> p = store.palette(*index)) {
            return p->values();
        }
    }
    return std::nullopt;
}

// Writes a whole text to standard output; says so when that fails.
int writeText(CliIo& io, const QString& text) {
    if (io.writeOutput(text.toUtf8())) {
        return kExitOk;
    }
    complain(io, QStringLiteral("cannot write to standard output"));
    return kExitUsage;
}

int listSchemes(CliIo& io) {
    QString list;
    for (const palette::Preset& preset : palette::presets()) {
        list += palette::displayCaption(preset) + QLatin1Char('\n');
    }
    for (const QString& title : schemes::SchemeStore(io.settings()).titles()) {
        list += title + QLatin1Char('\n');
    }
    return writeText(io, list);
}

// Encodes the code as the engine hands it over, as UTF-8 or, for a page, Windows-1252.
// Standard output gets the bytes in blocks as they fill, so memory stays flat however long
// the text; a file gets them whole at the end, so it is replaced only once everything has
// been written.
class OutputSink : public engine::CodeSink {
public:
    OutputSink(const CliOptions& options, CliIo& io)
        : io_(io)
        , toStdout_(options.outputPath.isEmpty())
        , page_(options.page) {}

    void write(QStringView piece) override {
        if (page_) {
            output::appendWindows1252(bytes_, piece);
        } else {
            const qsizetype used = bytes_.size();
            bytes_.resize(used + 3 * piece.size());
            char* end = utf8_.appendToBuffer(bytes_.data() + used, piece);
            bytes_.truncate(end - bytes_.constData());
        }
        if (toStdout_ && bytes_.size() >= kBlock) {
            send();
        }
    }
    void append(const QByteArray& bytes) { bytes_ += bytes; }

    // Sends what is left; false when any write to standard output failed.
    bool finish() {
        send();
        return ok_;
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    static constexpr qsizetype kBlock = qsizetype(1) << 18;

    void send() {
        if (!toStdout_) {
            return;
        }
        if (ok_ && !bytes_.isEmpty()) {
            ok_ = io_.writeOutput(bytes_);
        }
        bytes_.truncate(0); // keeps the capacity for the next block (clear() would free it)
    }

    CliIo& io_;
    bool toStdout_;
    bool page_;
    bool ok_ = true;
    QByteArray bytes_;
    QStringEncoder utf8_{QStringConverter::Utf8};
};

// Writes the code write hands to its sink, wrapped in a page with --page, to standard output
// or the -o file; nothing when write reports an error.
template <typename Write> int writeCode(const CliOptions& options, CliIo& io, Write write) {
    OutputSink sink(options, io);
    if (options.page) {
        sink.append(output::pageHead(options.background, PlainColorsOnly()));
    }
    if (const std::optional<engine::ColorizeError> error = write(sink)) {
        io.writeError(engine::messageFor(*error));
        return kExitNothingToColor;
    }
    sink.append(options.page ? output::pageTail() : QByteArrayLiteral("\n"));
    if (!sink.finish()) {
        complain(io, QStringLiteral("cannot write to standard output"));
        return kExitUsage;
    }
    if (options.outputPath.isEmpty()) {
        return kExitOk;
    }
    if (const platform::WriteError error = io.files().writeFile(options.outputPath, sink.bytes())) {
        complain(io, QStringLiteral("cannot write '%1': %2").arg(options.outputPath, *error));
        return kExitUsage;
    }
    return kExitOk;
}

// The gradient moving in place on the terminal, as many frames a cycle as --frames asks
// (kAnimationFrames without it). A stopping signal gives the shell's exit status for it.
int animateOnTerminal(const QString& text, const SlotValues& slots, engine::ColorizeOptions style,
                      double seconds, CliIo& io) {
    if (style.frames < 2) {
        style.frames = kAnimationFrames;
    }
    const engine::ColorizeResult result = engine::colorize(text, slots, style);
    if (!result.ok()) {
        io.writeError(engine::messageFor(*result.error));
        return kExitNothingToColor;
    }
    std::vector<QByteArray> frames;
    for (const QStringView line : QStringView(result.code).split(u'\n')) {
        frames.push_back(line.toUtf8());
    }
    const int stopped = io.animate(frames, seconds);
    if (stopped < 0) {
        complain(io, QStringLiteral("cannot write to standard output"));
        return kExitUsage;
    }
    return stopped > 0 ? 128 + stopped : kExitOk;
}

int colorizeAndWrite(const CliOptions& options, CliIo& io) {
    SlotValues slots = palette::Palette::empty().values();
    if (options.colors) {
        slots = *options.colors;
    } else if (options.scheme) {
        const std::optional<SlotValues> found = findScheme(*options.scheme, io);
        if (!found) {
            complain(
                io,
                QStringLiteral("unknown scheme '%1' (see --list-schemes)").arg(*options.scheme));
            return kExitUsage;
        }
        slots = *found;
    }

    const QString text = options.text ? *options.text : textFromInput(io.readInput());
    engine::ColorizeOptions style = options.style;
    if (options.depthFromTerminal) {
        style.output.colorDepth =
            depthForTerminal(io.environment("COLORTERM"), io.environment("TERM"));
    }
    const bool animating =
        options.animateSeconds && options.outputPath.isEmpty() && io.outputIsTerminal();
    if ((style.frames > 1 || animating) && (text.contains(u'\n') || text.contains(u'\r'))) {
        complain(io, QStringLiteral("%1 needs a text without line breaks")
                         .arg(style.frames > 1 ? QStringLiteral("--frames")
                                               : QStringLiteral("--animate")));
        return kExitUsage;
    }
    if (animating) {
        return animateOnTerminal(text, slots, style, *options.animateSeconds, io);
    }
    if (const int limit = style.output.maxLength; limit > 0) {
        const engine::FitResult fit = engine::fitToLength(text, slots, style, limit);
        if (fit.error) {
            io.writeError(engine::messageFor(*fit.error));
            return kExitNothingToColor;
        }
        complain(io, engine::fitMessage(fit, limit));
        if (!fit.fits) {
            return kExitNothingToColor;
        }
        style = engine::withStep(style, fit.step);
    }
    return writeCode(options, io, [&](engine::CodeSink& sink) {
        return engine::colorizeTo(text, slots, style, sink);
    });
}

// --decode: the code read back and written again in the chosen format, or with --palette
// the options that make its colours. A code that cannot be read writes nothing.
int decodeAndWrite(const CliOptions& options, CliIo& io) {
    const QString code = options.text ? *options.text : textFromInput(io.readInput());
    const DecodedInput input = decodeInput(code, options.from);
    if (!input.error.isEmpty()) {
        complain(io, input.error);
        return kExitNothingToColor;
    }
    if (!input.notice.isEmpty()) {
        complain(io, input.notice);
    }
    const engine::DecodedText& decoded = *input.decoded;
    if (!options.palette) {
        const engine::ColorizeOptions style = engine::optionsFor(decoded, options.style);
        return writeCode(options, io, [&](engine::CodeSink& sink) {
            return engine::writeDecoded(decoded, style, sink);
        });
    }
    if (decoded.text.isEmpty() ||
        std::all_of(decoded.looks.begin(), decoded.looks.end(),
                    [](const engine::Look& l) { return l.color == engine::kNoColor; })) {
        io.writeError(engine::messageFor(decoded.text.isEmpty() ? engine::ColorizeError::EmptyText
                                                                : engine::ColorizeError::NoColor));
        return kExitNothingToColor;
    }
    const PaletteLine line = paletteLine(decoded);
    if (!line.notice.isEmpty()) {
        complain(io, line.notice);
    }
    const QByteArray bytes = (line.options + u'\n').toUtf8();
    if (!options.outputPath.isEmpty()) {
        if (const platform::WriteError error = io.files().writeFile(options.outputPath, bytes)) {
            complain(io, QStringLiteral("cannot write '%1': %2").arg(options.outputPath, *error));
            return kExitUsage;
        }
        return kExitOk;
    }
    if (!io.writeOutput(bytes)) {
        complain(io, QStringLiteral("cannot write to standard output"));
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

void complain(CliIo& io, const QString& problem) {
    io.writeError(QStringLiteral("tintwave-cli: ") + problem);
}

QString textFromInput(QByteArray bytes) {
    if (bytes.endsWith("\r\n")) {
        bytes.chop(2);
    } else if (bytes.endsWith('\n')) {
        bytes.chop(1);
    }
    return QString::fromUtf8(bytes);
}

int run(const CliOptions& options, CliIo& io) {
    switch (options.action) {
    case Action::Help:
        return writeText(io, helpText());
    case Action::Version:
        return writeText(io, versionText());
    case Action::ListSchemes:
        return listSchemes(io);
    case Action::Colorize:
        break;
    }
    return options.decode ? decodeAndWrite(options, io) : colorizeAndWrite(options, io);
}

} // namespace tintwave::cli
