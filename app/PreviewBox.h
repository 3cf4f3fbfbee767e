#pragma once

#include "app/LazyTextView.h"
#include "color/ColorValue.h"
#include "engine/Colorize.h"

#include <vector>

namespace tintwave::platform {
class SystemColors;
}

namespace tintwave::app {

// The preview: the last colorized text, every character in its gradient colour,
// the chosen face on every character, and whole-box bold / italic / underline. Read-only
// but selectable and copyable. Its background is a ColorValue that may be a system
// colour reference; it is kept across runs and changed only by setBackColor.
//
// A lazy text view rather than a QPlainTextEdit, so that a pasted text of a million
// characters without a line break shows at once (see LazyTextView).
class PreviewBox : public LazyTextView {
    Q_OBJECT
    // A run of characters in one colour.
    struct Run {
        qsizetype start;
        qsizetype length;
        ColorValue color;
    };

public:
    PreviewBox(const platform::SystemColors& systemColors, QWidget* parent = nullptr);
    ~PreviewBox() override;

    // The colours of a text as Colorize hands them over, kept as runs of one colour: a
    // gradient over a million characters needs a few thousand.
    class Colors : public engine::CharColorSink {
    public:
        void character(const engine::CharColor& c) override;

    private:
        friend class PreviewBox;
        std::vector<Run> runs_;
        std::vector<Cluster> clusters_; // the characters of more than one unit
    };

    // Replaces text, colours and styles. face engine::kNone keeps the box's own face. Leaves no
    // selection. Fast for large texts: only what is visible is laid out.
    void showColorized(const QString& text, Colors colors, const QString& face, bool bold,
                       bool italic, bool underline);
    // The same from a table of every character's colour.
    void showColorized(const QString& text, const std::vector<engine::CharColor>& chars,
                       const QString& face, bool bold, bool italic, bool underline);

    ColorValue backColor() const { return backColor_; }
    void setBackColor(ColorValue color);

    // The colour shown for the character at UTF-16 offset pos, for tests; -1 if none.
    ColorValue colorAt(qsizetype pos) const;

Q_SIGNALS:
    // A left click on the box (the owner opens the colour dialog for the background).
    // A press and release on the same spot; dragging to select text is not a click.
    // Space stands for it from the keyboard.
    void clicked();

protected:
    std::vector<ColorRange> colorsFor(qsizetype start, qsizetype length) const override;
    void fontChanged() override { restyle(); }
    void clickedInPlace() override { Q_EMIT clicked(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    void restyle();

    const platform::SystemColors& systemColors_;
    ColorValue backColor_ = kWindowBackground;

    std::vector<Run> runs_;
    QString face_ = engine::kNone;
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
};

} // namespace tintwave::app
