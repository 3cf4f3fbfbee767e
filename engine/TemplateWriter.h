#pragma once

#include "engine/ColorRuns.h"
#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/MarkupBuffer.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The user's own format: a template written out once per character (or run, with merging),
// its placeholders replaced.
namespace tintwave::engine {

// {c} the character or run, {hex} RRGGBB, {h1} .. {h6} those six digits one by one, {r},
// {g}, {b} the components in decimal; {{ and }} stand for one brace.
struct TemplatePiece {
    enum class Kind { Literal, Text, Hex, Digit, Red, Green, Blue };
    Kind kind = Kind::Literal;
    QString literal; // Literal only
    int digit = 0;   // Digit only: 0 .. 5
};

// What is wrong with a template: a placeholder that is not one of the above ("{x}"), or a
// brace without its partner ("{" or "}"), at a code-unit offset.
struct TemplateError {
    bool unknownPlaceholder = false;
    QString what;
    qsizetype at = 0;
};

struct ParsedTemplate {
    std::vector<TemplatePiece> pieces;
    std::optional<TemplateError> error; // pieces are empty when set
};

ParsedTemplate parseTemplate(QStringView text);

// One line naming the problem: "unknown placeholder {x}", "unmatched { at character 4".
QString describe(const TemplateError& error);

// Writes the template for each character or run. A run is a slice of the text: the
// characters, blanks and runs come as consecutive views into one text. A template that
// does not parse is written with its placeholders left as they are.
class TemplateWriter {
public:
    TemplateWriter(const ColorizeOptions& options, MarkupBuffer& out);

    void character(QStringView cluster, colorspace::Srgb8 c) {
        if (runs_.startsRun(c)) {
            close();
            runs_.open(c);
            runBegin_ = cluster.data();
        }
        runEnd_ = cluster.data() + cluster.size();
    }
    // Joins the open run, or stands bare.
    void blank(QStringView cluster) {
        if (runs_.isOpen()) {
            runEnd_ = cluster.data() + cluster.size();
        } else {
            out_.put(cluster);
        }
    }
    void lineBreak() {
        close();
        out_.put(u'\n');
    }
    void finish() { close(); }
    void cutRun() { runs_.cut(); }

    qsizetype perCharacter() const { return perCharacter_; }
    qsizetype wrapperLength() const { return 0; }

private:
    void close();

    MarkupBuffer& out_;
    std::vector<TemplatePiece> pieces_;
    qsizetype perCharacter_ = 0;
    ColorRuns runs_;
    const QChar* runBegin_ = nullptr;
    const QChar* runEnd_ = nullptr;
};

} // namespace tintwave::engine
