#pragma once

#include <QAbstractScrollArea>
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
// gives the original text. Subclasses choose the font and may format slices of the text
// (colours) by overriding formatsFor.
class LazyTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LazyTextView(QWidget* parent = nullptr);
    ~LazyTextView() override;

    // The text shown, exactly as given.
    QString toPlainText() const { return text_; }
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
    // Replaces the text, leaves no selection and scrolls to the top. characterStarts, when
    // given, are the ascending offsets where characters (grapheme clusters) start, so that
    // a long paragraph is never cut inside one; without them only surrogate pairs are kept
    // whole. Fast for any length: only what is visible is laid out.
    void setContent(const QString& text, std::vector<qsizetype> characterStarts = {});
    // The font the text is drawn in; the text is wrapped anew.
    void setDisplayFont(const QFont& font);

    // Formats of the slice [start, start + length), relative to the slice. None here.
    virtual QList<QTextLayout::FormatRange> formatsFor(qsizetype start, qsizetype length) const;
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
    void drawLine(QPainter& painter, const Line& line, qreal y) const;

    QString text_;
    std::vector<qsizetype> charStarts_; // grapheme starts, for breaking long paragraphs
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
