#include "engine/FitLength.h"

#include "color/ColorProcs.h"
#include "engine/ColorRuns.h"
#include "engine/ColorSets.h"
#include "engine/GradientWriter.h"
#include "engine/MarkupWriters.h"
#include "engine/TemplateWriter.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace tintwave::engine {

namespace {

using colorspace::Srgb8;

// The length of the code as its target counts it.
class CountingSink : public CodeSink {
public:
    explicit CountingSink(OutputFormat format)
        : format_(format) {}
    void write(QStringView piece) override { length += countedLength(piece, format_); }
    qsizetype length = 0;

private:
    OutputFormat format_;
};

// The colour and the start of every character, and the end of the text last.
class ColorTable : public CharColorSink {
public:
    ColorTable(std::vector<ColorValue>& colors, std::vector<qint32>& starts)
        : colors_(colors)
        , starts_(starts) {}
    void begin(qsizetype count) override {
        colors_.reserve(std::size_t(count));
        starts_.reserve(std::size_t(count) + 1);
    }
    void character(const CharColor& c) override {
        colors_.push_back(c.color);
        starts_.push_back(qint32(c.start));
    }

private:
    std::vector<ColorValue>& colors_;
    std::vector<qint32>& starts_;
};

bool isLineBreak(QStringView cluster) {
    return cluster == u"\n" || cluster == u"\r\n" || cluster == u"\r";
}

int decimalDigits(int component) {
    return component >= 100 ? 3 : component >= 10 ? 2 : 1;
}

Srgb8 srgb(ColorValue v) {
    return {color::red(v), color::green(v), color::blue(v)};
}

// The colour number the writer gives each colour of a set, found by binary search; the last
// answer is kept, since neighbouring characters mostly share a colour.
class SetNumbers {
public:
    explicit SetNumbers(ColorSet set) {
        for (const SetColor& c : colorsOf(set)) {
            numbers_.emplace_back(color::rgb(c.color.red, c.color.green, c.color.blue), c.number);
        }
        // A colour the set holds twice is written with its first number, as Nearest answers.
        std::stable_sort(numbers_.begin(), numbers_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    // colorize records the shown colours only; any other would take the first number.
    int operator()(ColorValue value) {
        if (value != lastValue_) {
            const auto it = std::lower_bound(
                numbers_.begin(), numbers_.end(), value,
                [](const std::pair<ColorValue, int>& a, ColorValue v) { return a.first < v; });
            lastValue_ = value;
            lastNumber_ =
                it != numbers_.end() && it->first == value ? it->second : numbers_.front().second;
        }
        return lastNumber_;
    }

private:
    std::vector<std::pair<ColorValue, int>> numbers_;
    ColorValue lastValue_ = ~ColorValue(0);
    int lastNumber_ = 0;
};

qsizetype codePointsOf(QStringView cluster) {
    qsizetype count = cluster.size();
    for (qsizetype i = 0; i + 1 < cluster.size(); ++i) {
        count -= cluster[i].isHighSurrogate() && cluster[i + 1].isLowSurrogate();
    }
    return count;
}

} // namespace

// What every step shares: the colour of each character, which characters take no colour
// code (blanks with skipping, a lone section sign in the Minecraft codes), which ones start a
// run because the character before ends one, and the lines.
struct CodeLengths::Model {
    struct Line {
        qint32 begin;
        qint32 end; // the line break excluded
    };

    ColorizeOptions options;
    std::optional<ColorizeError> error;
    qsizetype plainLength = 0; // with a step of 1
    qsizetype fixedLength = 0; // what every step writes besides the colour codes
    std::vector<ColorValue> colors;
    std::vector<qint32> starts;     // of each character, and the end of the text
    std::vector<qint32> nextKept;   // the first character at or after i that takes a colour
    std::vector<qint32> prevKept;   // the last at or before i, or -1 (gradient only)
    std::vector<char> follows;      // i starts a run because the one before it ended one
    std::vector<qint32> followers;  // how many do before i (only where a character ends runs)
    std::vector<qint64> codePoints; // before i (gradient only)
    std::vector<Line> lines;
    int longest = 1;
    std::vector<TemplatePiece> templatePieces;
    qsizetype styleLength = 0; // Minecraft codes and JSON: the styles after every colour
    // The formats of a colour set (Discord, IRC, ANSI below 24 bits), whose runs follow the
    // shown colours that colorize records: the code of a run in each character's colour, and
    // what a run adds when it starts at a character (IRC's \x02\x02 before a comma; minus
    // the zero-width space Discord puts between two backticks, which a code between them
    // makes needless).
    std::vector<quint8> setCost;
    std::vector<qint8> startExtra;
    qsizetype leastSetCost = 0; // no run, wherever it starts, writes a shorter code

    qsizetype costAt(qint32 middle) const {
        return setCost.empty() ? runCost(colors[std::size_t(middle)])
                               : setCost[std::size_t(middle)];
    }
    qsizetype extraAt(qint32 first) const {
        return startExtra.empty() ? 0 : startExtra[std::size_t(first)];
    }
    qsizetype setCodeLength(int number) const;

    bool gradient() const { return options.output.format == OutputFormat::MiniMessageGradient; }
    qsizetype runCost(ColorValue value) const;
    qsizetype runCodes(int step) const;
    qsizetype segmentTags(int step) const;
    qsizetype followersIn(qint32 from, qint32 to) const {
        return followers.empty() ? 0 : followers[std::size_t(to)] - followers[std::size_t(from)];
    }
    qsizetype lowerBound() const;
    void build(const QString& text);
};

// The code units of one run's colour code (its text aside) in colour value.
qsizetype CodeLengths::Model::runCost(ColorValue value) const {
    const Srgb8 c = srgb(value);
    const qsizetype decimals =
        decimalDigits(c.red) + decimalDigits(c.green) + decimalDigits(c.blue);
    switch (options.output.format) {
    case OutputFormat::McHex:
        return 8 + styleLength;
    case OutputFormat::McX:
    case OutputFormat::McSection:
        return 14 + styleLength;
    case OutputFormat::MiniMessage:
        return 9;
    case OutputFormat::Json:
        return 30 + styleLength; // ,{"text":"  ","color":"#RRGGBB"  styles }
    case OutputFormat::Span:
        return SpanWriter::kPerCharacter;
    case OutputFormat::BBCode:
        return BBCodeWriter::kPerCharacter;
    case OutputFormat::Ansi:
        return 10 + decimals; // ESC[38;2;R;G;Bm
    case OutputFormat::Template: {
        qsizetype cost = 0;
        for (const TemplatePiece& piece : templatePieces) {
            using enum TemplatePiece::Kind;
            const int component = piece.kind == Red     ? c.red
                                  : piece.kind == Green ? c.green
                                                        : c.blue;
            cost += piece.kind == Literal                     ? piece.literal.size()
                    : piece.kind == Hex                       ? 6
                    : piece.kind == Digit                     ? 1
                    : piece.kind == TemplatePiece::Kind::Text ? 0
                                                              : decimalDigits(component);
        }
        return cost;
    }
    default:
        return 0;
    }
}

// The code units of a run's code in the colour of that number in its set.
qsizetype CodeLengths::Model::setCodeLength(int number) const {
    switch (options.output.format) {
    case OutputFormat::Discord: // ESC[0; the styles 3Xm
        return 4 + 2 * options.bold + 2 * options.underline + 3;
    case OutputFormat::Irc: // \x03 and two digits
        return 3;
    default: // ESC[38;5;Nm or ESC[3Xm, ESC[9Xm
        return (options.output.colorDepth == ColorDepth::Xterm256 ? 8 : 3) + decimalDigits(number);
    }
}

// The colour codes of every run at step characters per colour, runs merged: a run starts at
// a step's first coloured character when its colour differs from the run before in the line,
// and at every character after one that ends a run.
qsizetype CodeLengths::Model::runCodes(int step) const {
    qsizetype total = 0;
    for (const Line& line : lines) {
        bool open = false;
        ColorValue openColor = 0;
        for (qint32 from = line.begin; from < line.end; from += step) {
            const qint32 to = std::min<qint64>(qint64(from) + step, line.end);
            const qint32 first = nextKept[std::size_t(from)];
            if (first >= to) {
                continue;
            }
            const qint32 middle = from + (to - from - 1) / 2;
            const ColorValue c = colors[std::size_t(middle)];
            const qsizetype cost = costAt(middle);
            if (!open || c != openColor || follows[std::size_t(first)] == 2) {
                total += cost + extraAt(first);
                open = true;
                openColor = c;
            }
            total += followersIn(first + 1, to) * cost;
        }
    }
    return total;
}

// The tags of the segments at step characters per colour: the steps' colours as the writer's
// pieces, split as the writer splits them (never into one tag of all colours, which a step
// above 1 does not try).
qsizetype CodeLengths::Model::segmentTags(int step) const {
    std::vector<Line> stretches;
    if (options.perLine) {
        stretches = lines;
    } else {
        stretches.push_back({0, qint32(colors.size())});
    }
    qsizetype total = 0;
    qsizetype lastClosing = 0;
    std::vector<GradientPiece> pieces;
    auto line = lines.begin();
    for (const Line& stretch : stretches) {
        pieces.clear();
        const qint64 base = codePoints[std::size_t(stretch.begin)];
        for (; line != lines.end() && line->begin < stretch.end; ++line) {
            for (qint32 from = line->begin; from < line->end; from += step) {
                const qint32 to = std::min<qint64>(qint64(from) + step, line->end);
                const qint32 first = nextKept[std::size_t(from)];
                if (first >= to) {
                    continue;
                }
                const qint64 last = codePoints[std::size_t(prevKept[std::size_t(to - 1)])] - base;
                const Srgb8 c = srgb(colors[std::size_t(from + (to - from - 1) / 2)]);
                if (!pieces.empty() && pieces.back().color == c) {
                    pieces.back().last = last;
                    continue;
                }
                const qint64 at = codePoints[std::size_t(first)] - base;
                if (!pieces.empty()) {
                    pieces.back().end = at;
                }
                pieces.push_back({0, at, last, c, 0});
            }
        }
        lastClosing = 0;
        if (stretch.begin == stretch.end) {
            continue;
        }
        if (pieces.empty()) {
            pieces.push_back({});
        }
        pieces.back().end = codePoints[std::size_t(stretch.end)] - base;
        for (const GradientSegment& segment : splitIntoSegments(pieces)) {
            total += openingLength(segment) + closingLength(segment);
            lastClosing = closingLength(segment);
        }
    }
    return total - lastClosing; // the last segment stays open
}

void CodeLengths::Model::build(const QString& text) {
    const auto count = qint32(colors.size());
    const OutputFormat format = options.output.format;
    const bool minecraft = format == OutputFormat::McHex || format == OutputFormat::McX ||
                           format == OutputFormat::McSection;
    starts.push_back(qint32(text.size()));
    nextKept.resize(std::size_t(count) + 1, count);
    follows.resize(std::size_t(count), 0);
    if (gradient()) {
        prevKept.resize(std::size_t(count), -1);
        codePoints.resize(std::size_t(count) + 1, 0);
        fixedLength = Wrappers::styleTagsLength(options, true);
    }
    const std::optional<ColorSet> set = shownColorSet(options.output);
    std::optional<SetNumbers> numbers;
    if (set) {
        numbers.emplace(*set);
        setCost.resize(std::size_t(count));
        leastSetCost = std::numeric_limits<qsizetype>::max();
    }
    if (format == OutputFormat::Discord || format == OutputFormat::Irc) {
        startExtra.resize(std::size_t(count), 0);
    }
    qint32 lineBegin = 0;
    bool afterEnd = false;      // the last kept character of the line ends a run
    bool afterBacktick = false; // Discord: the last unit written on the line is a backtick
    bool anyEnds = false;
    for (qint32 i = 0; i < count; ++i) {
        const auto k = std::size_t(i);
        const QStringView cluster = QStringView(text).sliced(starts[k], starts[k + 1] - starts[k]);
        const bool lineBreak = isLineBreak(cluster);
        const bool leftOut = leavesOutControls(format) && isControlCharacter(cluster);
        if (gradient() && !leftOut) {
            codePoints[k + 1] = codePoints[k] + (lineBreak ? 1 : codePointsOf(cluster));
            fixedLength +=
                lineBreak ? 1 : cluster.size() + cluster.count(u'\\') + cluster.count(u'<');
        } else if (gradient()) {
            codePoints[k + 1] = codePoints[k];
        }
        if (lineBreak) {
            lines.push_back({lineBegin, i});
            longest = std::max(longest, i - lineBegin);
            lineBegin = i + 1;
            afterEnd = false;
            afterBacktick = false;
            continue;
        }
        const bool blank = cluster.size() == 1 && cluster.front().isSpace();
        const bool kept = !leftOut && !(options.output.skipBlanks && blank) &&
                          !(minecraft && isOnlySectionSigns(cluster));
        if (kept) {
            follows[k] = afterEnd ? 2 : 1; // 1: kept, 2: kept and starting a run
            afterEnd = endsRun(format, cluster);
            anyEnds = anyEnds || afterEnd;
        }
        if (set) {
            setCost[k] = quint8(setCodeLength((*numbers)(colors[k])));
        }
        if (format == OutputFormat::Irc) {
            startExtra[k] = cluster.front() == u',' ? 2 : 0;
        } else if (format == OutputFormat::Discord && !leftOut) {
            startExtra[k] = afterBacktick && cluster.front() == u'`' ? -1 : 0;
            afterBacktick = cluster.back() == u'`';
        }
        if (set && kept) {
            leastSetCost = std::min(leastSetCost, setCost[k] + extraAt(i));
        }
    }
    lines.push_back({lineBegin, count});
    longest = std::max(longest, count - lineBegin);
    for (qint32 i = count - 1; i >= 0; --i) {
        nextKept[std::size_t(i)] = follows[std::size_t(i)] ? i : nextKept[std::size_t(i) + 1];
    }
    if (anyEnds) {
        followers.resize(std::size_t(count) + 1, 0);
    }
    for (qint32 i = 0; i < count; ++i) {
        const auto k = std::size_t(i);
        if (anyEnds) {
            followers[k + 1] = followers[k] + (follows[k] == 2);
        }
        if (gradient()) {
            prevKept[k] = follows[k] ? i : (i > 0 ? prevKept[k - 1] : -1);
        }
    }
    if (!gradient()) {
        fixedLength = plainLength - runCodes(1);
    }
}

// No step writes less: for the run formats every line with a coloured character, and every
// character after one that ends a run, starts a run, and no run's code is shorter than one in
// black (the fewest decimal digits) or, in a colour set, the shortest any character could
// start; the gradient format writes at least its text.
qsizetype CodeLengths::Model::lowerBound() const {
    if (gradient()) {
        return fixedLength;
    }
    qsizetype runs = followersIn(0, qint32(colors.size()));
    for (const Line& line : lines) {
        runs += nextKept[std::size_t(line.begin)] < line.end;
    }
    return fixedLength + runs * (setCost.empty() ? runCost(0) : leastSetCost);
}

CodeLengths::CodeLengths(const QString& text, const SlotValues& slotValues,
                         const ColorizeOptions& options)
    : model_(std::make_unique<Model>()) {
    Model& m = *model_;
    m.options = withStep(options, 1);
    CountingSink counter(options.output.format);
    ColorTable table(m.colors, m.starts);
    m.error = colorizeTo(text, slotValues, m.options, counter, &table);
    if (m.error) {
        return;
    }
    m.plainLength = counter.length;
    const OutputChoices& output = m.options.output;
    if (output.format == OutputFormat::Template) {
        const ParsedTemplate parsed = parseTemplate(output.templateText);
        m.templatePieces = parsed.error
                               ? std::vector<TemplatePiece>{{.literal = output.templateText}}
                               : parsed.pieces;
    }
    const bool json = output.format == OutputFormat::Json;
    for (const auto& [on, code, key] : {std::tuple(m.options.bold, u'l', u"bold"),
                                        {m.options.italic, u'o', u"italic"},
                                        {m.options.underline, u'n', u"underlined"},
                                        {output.strikethrough, u'm', u"strikethrough"},
                                        {output.obfuscated, u'k', u"obfuscated"}}) {
        // ,"key":true or &c
        m.styleLength += on ? (json ? QStringView(key).size() + 8 : 2) : 0;
    }
    m.build(text);
}

CodeLengths::~CodeLengths() = default;

std::optional<ColorizeError> CodeLengths::error() const {
    return model_->error;
}

qsizetype CodeLengths::lengthAt(int step) const {
    const Model& m = *model_;
    if (step <= 1) {
        return m.plainLength;
    }
    return m.fixedLength + (m.gradient() ? m.segmentTags(step) : m.runCodes(step));
}

qsizetype CodeLengths::lowerBound() const {
    return model_->lowerBound();
}

int CodeLengths::longestStep() const {
    return model_->longest;
}

// The smallest step whose code fits, found by trying steps from 1 upwards. The code of step K
// is counted from the colours in time proportional to the text over K (plus its lines), so
// all steps up to the longest line cost about the text times the logarithm of that line: a
// few plain runs. Two shortcuts: when one colour a line is too long and no step can write
// less than a bound that is too long already, nothing fits; when one colour a line fits, the
// search stops at the first step that does.
qsizetype countedLength(QStringView code, OutputFormat format) {
    if (!countsBytes(format)) {
        return code.size();
    }
    // UTF-8: one byte below U+0080, two below U+0800, four for a surrogate pair (two
    // halves), three for the rest. A piece never ends inside a pair.
    qsizetype bytes = 0;
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : c.isSurrogate() ? 2 : 3;
    }
    return bytes;
}

FitResult fitToLength(const QString& text, const SlotValues& slotValues,
                      const ColorizeOptions& options, qsizetype maxLength) {
    const CodeLengths lengths(text, slotValues, options);
    if (lengths.error()) {
        return {lengths.error(), false, 1, 0};
    }
    const int longest = lengths.longestStep();
    qsizetype shortest = std::min(lengths.lengthAt(1), lengths.lengthAt(longest));
    if (lengths.lengthAt(1) <= maxLength) {
        return {std::nullopt, true, 1, lengths.lengthAt(1)};
    }
    if (lengths.lengthAt(longest) > maxLength && lengths.lowerBound() > maxLength) {
        return {std::nullopt, false, 1, shortest};
    }
    for (int step = 2; step <= longest; ++step) {
        const qsizetype length = lengths.lengthAt(step);
        if (length <= maxLength) {
            return {std::nullopt, true, step, length};
        }
        shortest = std::min(shortest, length);
    }
    return {std::nullopt, false, 1, shortest};
}

QString fitMessage(const FitResult& fit, qsizetype limit) {
    if (!fit.fits) {
        return QCoreApplication::translate(
                   "tintwave::engine", "cannot fit in %1 characters; the shortest form needs %2")
            .arg(limit)
            .arg(fit.length);
    }
    if (fit.step == 1) {
        return QCoreApplication::translate("tintwave::engine", "1 character per colour, %1 of %2")
            .arg(fit.length)
            .arg(limit);
    }
    return QCoreApplication::translate("tintwave::engine", "%1 characters per colour, %2 of %3")
        .arg(fit.step)
        .arg(fit.length)
        .arg(limit);
}

ColorizeOptions withStep(ColorizeOptions options, int step) {
    options.step = step;
    options.output.merge = true;
    return options;
}

} // namespace tintwave::engine
