#pragma once

#include "engine/Colorize.h"
#include "platform/ColorValue.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QTextLayout>
#include <cstdlib>
#include <vector>

namespace tintwave::platform {
class SystemColors;
}

namespace tintwave::app {

// The preview (RTB1): the last colorized text, every character in its gradient colour,
// the chosen face on every character, and whole-box bold / italic / underline. Read-only
// but selectable and copyable. Its background is a ColorValue that may be a system
// colour reference; it is kept across runs and changed only by setBackColor.
//
// A text widget of its own rather than a QPlainTextEdit: Qt lays out a whole paragraph
// at once, and a pasted text of a million characters without a line break took seconds
// there. This box wraps the text in small pieces, only as far down as the view reaches,
// and draws only the visible lines; copying always gives the original text.
class PreviewBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    PreviewBox(const platform::SystemColors& systemColors, QWidget* parent = nullptr);
    ~PreviewBox() override;

    // Replaces text, colours and styles. face "None" keeps the box's own face. Leaves no
    // selection. Fast for large texts: only what is visible is laid out.
    void showColorized(const QString& text, const std::vector<engine::CharColor>& chars,
                       const QString& face, bool bold, bool italic, bool underline);

    ColorValue backColor() const { return backColor_; }
    void setBackColor(ColorValue color);

    // The colour shown for the character at UTF-16 offset pos, for tests; -1 if none.
    ColorValue colorAt(qsizetype pos) const;

    // The text shown, exactly as given to showColorized.
    QString toPlainText() const { return text_; }
    // The font every character is drawn in (the chosen face and the whole-box styles).
    QFont displayFont() const { return displayFont_; }

    // The selection as UTF-16 offsets; always on character (grapheme) boundaries.
    qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
    qsizetype selectionLength() const { return std::abs(cursor_ - anchor_); }
    QString selectedText() const { return text_.mid(selectionStart(), selectionLength()); }
    void setSelection(qsizetype start, qsizetype length);
    void selectAll() { setSelection(0, text_.size()); }
    void copy() const;

    // Start offsets of all display lines at the current width, wrapping the whole text.
    std::vector<qsizetype> wrappedLineStarts();

Q_SIGNALS:
    // A left click on the box (the owner opens the colour dialog for the background).
    // A press and release on the same spot; dragging to select text is not a click.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A run of characters in one colour.
    struct Run {
        qsizetype start;
        qsizetype length;
        ColorValue color;
    };
    // One wrapped display line: a slice of the text (without its line break) and its top.
    struct Line {
        qsizetype start;
        qsizetype length;
        qreal top;
        qreal height;
    };

    void restyle();
    void resetLayout();
    bool layOutNextPiece();
    void layOutDownTo(qreal y);
    void updateScrollRange();
    qreal laidOutHeight() const;
    qreal lineWidth() const;
    qsizetype characterBoundaryAtOrBefore(qsizetype pos) const;
    QList<QTextLayout::FormatRange> formatsFor(qsizetype start, qsizetype length) const;
    QTextCharFormat formatFor(ColorValue color) const;
    qsizetype lineIndexAt(qreal y);
    qsizetype positionAt(QPoint viewportPos);
    void drawLine(QPainter& painter, const Line& line, qreal y) const;

    const platform::SystemColors& systemColors_;
    ColorValue backColor_ = kWindowBackground;

    QString text_;
    std::vector<Run> runs_;
    std::vector<qsizetype> charStarts_; // grapheme starts, for breaking long paragraphs
    QString face_ = QStringLiteral("None");
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    QFont displayFont_;
    mutable QHash<ColorValue, QTextCharFormat> formats_;

    std::vector<Line> lines_;
    qsizetype laidOutTo_ = 0;     // text offset where the next piece of layout starts
    qsizetype paragraphEnd_ = -1; // end of the paragraph being laid out; -1 when not known
    bool laidOutAll_ = true;
    qreal layoutWidth_ = -1;

    qsizetype anchor_ = 0;
    qsizetype cursor_ = 0;
    bool selecting_ = false;
    QPoint pressPos_;
};

} // namespace tintwave::app
