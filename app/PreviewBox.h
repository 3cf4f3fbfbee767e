#pragma once

#include "engine/Colorize.h"
#include "platform/ColorValue.h"

#include <QPlainTextEdit>

#include <vector>

namespace tintwave::platform {
class SystemColors;
}

namespace tintwave::app {

// The preview (RTB1): the last colorized text, every character in its gradient colour,
// the chosen face on every character, and whole-box bold / italic / underline. Read-only
// but selectable and copyable. Its background is a ColorValue that may be a system
// colour reference; it is kept across runs and changed only by setBackColor.
class PreviewBox : public QPlainTextEdit {
    Q_OBJECT
public:
    PreviewBox(const platform::SystemColors& systemColors, QWidget* parent = nullptr);
    ~PreviewBox() override;

    // Replaces text, colours and styles. face "None" keeps the box's own face. Leaves no
    // selection. Fast for large texts: only what is visible is formatted.
    void showColorized(const QString& text, const std::vector<engine::CharColor>& chars,
                       const QString& face, bool bold, bool italic, bool underline);

    ColorValue backColor() const { return backColor_; }
    void setBackColor(ColorValue color);

    // The colour shown for the character at UTF-16 offset pos, for tests; -1 if none.
    ColorValue colorAt(qsizetype pos) const;

Q_SIGNALS:
    // A left click on the box (the owner opens the colour dialog for the background).
    void clicked();

private:
    class Highlighter;
    const platform::SystemColors& systemColors_;
    ColorValue backColor_ = kWindowBackground;
    Highlighter* highlighter_ = nullptr;
};

} // namespace tintwave::app
