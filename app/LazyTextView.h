#pragma once

#include "app/TextStore.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QTextLayout>
#include <cstdlib>
#include <vector>

namespace tintwave::app {

// A read-only text view for texts of any length: selectable with the mouse and Ctrl+A,
// copyable with Ctrl+C or its context menu, scrolled by wheel, keys and scroll bar.
//
// Qt's text widgets lay out a whole paragraph at once, and a text of a million characters
// without a line break takes seconds there. This view wraps the text in small pieces,
// only as far down as the view reaches, and draws only the visible lines; copying always
// gives the original text. Subclasses choose the font and may colour slices of the text by
// overriding colorsFor. Each line is shaped as a whole and then coloured glyph by glyph, so
// colours never break joining, ligatures or emoji sequences; lines run left to right as on
// a web page, with right-to-left runs inside them in their visual order.
class LazyTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LazyTextView(QWidget* parent = nullptr);
    ~LazyTextView() override;

    // The text shown, exactly as given.
    QString toPlainText() const { return text_.toString(); }
    // Its length in UTF-16 units.
    qsizetype textSize() const { return text_.size(); }
    // The font every character is drawn in.
    QFont displayFont() const { return displayFont_; }

    // The selection as UTF-16 offsets; always on character boundaries.
    qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
    qsizetype selectionLength() const { return std::abs(cursor_ - anchor_); }
    QString selectedText() const { return text_.mid(selectionStart(), selectionLength()); }
    void setSelection(qsizetype start, qsizetype length);
    void selectAll() { setSelection(0, text_.size()); }
    void copy() const;

    // Start offsets of all display lines at the current width, wrapping the whole text.
    std::vector<qsizetype> wrappedLineStarts();

protected:
    // A character (grapheme cluster) of more than one UTF-16 unit.
    struct Cluster {
        qsizetype start;
        qsizetype length;
    };
    // Replaces the text, leaves no selection and scrolls to the top. clusters, when given,
    // are the text's characters of more than one unit in ascending order, so that a long
    // paragraph is never cut inside one; surrogate pairs are kept whole in any case. Fast
    // for any length: only what is visible is laid out.
    void setContent(const QString& text, std::vector<Cluster> clusters = {});
    void setContent(TextStore text, std::vector<Cluster> clusters = {});
    // The font the text is drawn in; the text is wrapped anew.
    void setDisplayFont(const QFont& font);

    // A slice of a display line in one colour, in offsets relative to the line.
    struct ColorRange {
        qsizetype start;
        qsizetype length;
        QColor color;
    };
    // Colours of the slice [start, start + length) in ascending order, relative to the
    // slice; what they leave out is drawn in the palette's text colour. None here.
    virtual std::vector<ColorRange> colorsFor(qsizetype start, qsizetype length) const;
    // The widget's font changed; here the text is then drawn in it.
    virtual void fontChanged();
    // A left press and release on one spot: neither a drag that selects nor a shift-click.
    virtual void clickedInPlace() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // One wrapped display line: a slice of the text (without its line break) and its top.
    struct Line {
        qsizetype start;
        qsizetype length;
        qreal top;
        qreal height;
    };

    void resetLayout();
    bool layOutNextPiece();
    void layOutDownTo(qreal y);
    void updateScrollRange();
    qreal laidOutHeight() const;
    qreal lineWidth() const;
    qsizetype characterBoundaryAtOrBefore(qsizetype pos) const;
    qsizetype lineIndexAt(qreal y);
    qsizetype positionAt(QPoint viewportPos);
    QTextLine layOutLine(QTextLayout& layout, const Line& line) const;
    void drawLine(QPainter& painter, const Line& line, qreal y) const;

    TextStore text_;
    std::vector<Cluster> clusters_; // only the long characters: most texts have few
    QFont displayFont_;

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
