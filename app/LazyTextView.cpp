#include "app/LazyTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tintwave::app {

namespace {

// Long paragraphs are wrapped this many UTF-16 units at a time. Qt's line breaker looks
// ahead to the end of its text for every line, so small pieces keep a paragraph without
// break opportunities linear, and a pasted novel on one line costs only what is seen.
constexpr qsizetype kPieceLength = 1024;
constexpr int kMargin = 2;

// Length of the line break at pos ("\r\n" counts as one break).
qsizetype lineBreakLength(const TextStore& text, qsizetype pos) {
    if (pos >= text.size()) {
        return 0;
    }
    return (text.at(pos) == u'\r' && pos + 1 < text.size() && text.at(pos + 1) == u'\n') ? 2 : 1;
}

// Lines run left to right, as on a web page without a dir attribute; right-to-left runs
// inside them are reordered by the bidi algorithm.
QTextOption textOption(QTextOption::WrapMode wrap) {
    QTextOption option;
    option.setWrapMode(wrap);
    option.setTextDirection(Qt::LeftToRight);
    return option;
}

// Where a glyph is drawn within its line: a glyph that several colour ranges share (one
// ligature for characters of different colours) comes in each range's glyph runs, and
// is drawn only once, in the colour of the range that reaches it first.
struct PlacedGlyph {
    quint32 index;
    QPointF position;
    bool operator==(const PlacedGlyph&) const = default;
};

// Where the glyphs of run stand in their line: from the leftmost pen position to the
// rightmost end of an advance, so that underlines of neighbouring runs meet.
std::pair<qreal, qreal> advanceSpan(const QGlyphRun& run) {
    const QList<QPointF> positions = run.positions();
    const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(run.glyphIndexes());
    qreal left = std::numeric_limits<qreal>::max();
    qreal right = std::numeric_limits<qreal>::lowest();
    for (qsizetype i = 0; i < positions.size() && i < advances.size(); ++i) {
        left = std::min(left, positions[i].x());
        right = std::max(right, positions[i].x() + advances[i].x());
    }
    return {left, right};
}

// Drops from run the glyphs already drawn; records the others in drawn.
void skipDrawnGlyphs(QGlyphRun& run, std::vector<PlacedGlyph>& drawn) {
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    const auto firstNew = drawn.size();
    QList<quint32> keptIndexes;
    QList<QPointF> keptPositions;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        const PlacedGlyph glyph{indexes[i], positions[i]};
        if (!(run.flags() & QGlyphRun::SplitLigature) ||
            std::find(drawn.begin(), drawn.begin() + firstNew, glyph) == drawn.begin() + firstNew) {
            keptIndexes.append(glyph.index);
            keptPositions.append(glyph.position);
        }
        drawn.push_back(glyph);
    }
    if (keptIndexes.size() != indexes.size()) {
        run.setGlyphIndexes(keptIndexes);
        run.setPositions(keptPositions);
    }
}

} // namespace

LazyTextView::LazyTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , displayFont_(font()) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
}

LazyTextView::~LazyTextView() = default;

void LazyTextView::setContent(const QString& text, std::vector<Cluster> clusters) {
    setContent(TextStore(text), std::move(clusters));
}

void LazyTextView::setContent(TextStore text, std::vector<Cluster> clusters) {
    text_ = std::move(text);
    clusters_ = std::move(clusters);
    anchor_ = cursor_ = 0;
    selecting_ = false;
    resetLayout();
    verticalScrollBar()->setValue(0);
}

void LazyTextView::setDisplayFont(const QFont& font) {
    displayFont_ = font;
    resetLayout();
}

std::vector<LazyTextView::ColorRange> LazyTextView::colorsFor(qsizetype, qsizetype) const {
    return {};
}

void LazyTextView::fontChanged() {
    setDisplayFont(font());
}

void LazyTextView::setSelection(qsizetype start, qsizetype length) {
    anchor_ = std::clamp<qsizetype>(start, 0, text_.size());
    cursor_ = std::clamp<qsizetype>(start + length, anchor_, text_.size());
    viewport()->update();
}

void LazyTextView::copy() const {
    if (selectionLength() > 0) {
        QGuiApplication::clipboard()->setText(selectedText());
    }
}

std::vector<qsizetype> LazyTextView::wrappedLineStarts() {
    layOutDownTo(std::numeric_limits<qreal>::max());
    std::vector<qsizetype> starts;
    starts.reserve(lines_.size());
    for (const Line& line : lines_) {
        starts.push_back(line.start);
    }
    return starts;
}

void LazyTextView::resetLayout() {
    lines_.clear();
    laidOutTo_ = 0;
    paragraphEnd_ = -1;
    laidOutAll_ = text_.isEmpty();
    layoutWidth_ = lineWidth();
    updateScrollRange();
    viewport()->update();
}

qreal LazyTextView::lineWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin);
}

qreal LazyTextView::laidOutHeight() const {
    return lines_.empty() ? 0 : lines_.back().top + lines_.back().height;
}

qsizetype LazyTextView::characterBoundaryAtOrBefore(qsizetype pos) const {
    auto it = std::upper_bound(clusters_.begin(), clusters_.end(), pos,
                               [](qsizetype p, const Cluster& c) { return p < c.start; });
    if (it != clusters_.begin() && pos < (it - 1)->start + (it - 1)->length) {
        return (it - 1)->start;
    }
    return (pos > 0 && text_.at(pos).isLowSurrogate()) ? pos - 1 : pos;
}

// Wraps the next piece of the text into lines. A piece that ends inside a paragraph
// keeps all but its last line; that line starts the next piece, so the lines come out as
// if the paragraph had been wrapped in one go. Returns false when everything is laid out.
bool LazyTextView::layOutNextPiece() {
    if (laidOutAll_) {
        return false;
    }
    const qsizetype start = laidOutTo_;
    if (paragraphEnd_ < start) {
        paragraphEnd_ = text_.nextLineBreak(start);
    }
    qsizetype end = paragraphEnd_;
    if (end - start > kPieceLength) {
        end = characterBoundaryAtOrBefore(start + kPieceLength);
        if (end <= start) {
            end = std::min(paragraphEnd_, start + kPieceLength);
        }
    }

    QTextLayout layout(text_.mid(start, end - start), displayFont_);
    layout.setTextOption(textOption(QTextOption::WrapAtWordBoundaryOrAnywhere));
    layout.beginLayout();
    const qsizetype firstNew = qsizetype(lines_.size());
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(layoutWidth_);
        lines_.push_back(
            {start + line.textStart(), line.textLength(), laidOutHeight(), line.height()});
    }
    layout.endLayout();
    if (qsizetype(lines_.size()) == firstNew) { // an empty paragraph still takes a line
        lines_.push_back({start, 0, laidOutHeight(), QFontMetricsF(displayFont_).height()});
    }

    if (end < paragraphEnd_) {
        if (qsizetype(lines_.size()) - firstNew > 1) {
            lines_.pop_back();
        }
        laidOutTo_ = lines_.back().start + lines_.back().length;
    } else if (paragraphEnd_ < text_.size()) {
        laidOutTo_ = paragraphEnd_ + lineBreakLength(text_, paragraphEnd_);
        laidOutAll_ = false;
    } else {
        laidOutTo_ = text_.size();
        laidOutAll_ = true;
    }
    return true;
}

void LazyTextView::layOutDownTo(qreal y) {
    if (layoutWidth_ != lineWidth()) {
        const qsizetype topLine = lineIndexAt(verticalScrollBar()->value());
        const qsizetype keep = topLine >= 0 ? lines_[topLine].start : 0;
        resetLayout();
        while (laidOutTo_ <= keep && layOutNextPiece()) {
        }
        updateScrollRange();
        auto it = std::find_if(lines_.begin(), lines_.end(),
                               [keep](const Line& l) { return l.start + l.length > keep; });
        if (it != lines_.end()) {
            verticalScrollBar()->setValue(int(it->top));
        }
    }
    bool grew = false;
    while (laidOutHeight() < y && layOutNextPiece()) {
        grew = true;
    }
    if (grew) {
        updateScrollRange();
    }
}

// The scroll range: exact once everything is laid out, otherwise the laid-out height
// extended by the average height per character so far.
void LazyTextView::updateScrollRange() {
    qreal total = laidOutHeight();
    if (!laidOutAll_ && laidOutTo_ > 0) {
        total += total / qreal(laidOutTo_) * qreal(text_.size() - laidOutTo_);
    }
    const int page = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(page);
    bar->setSingleStep(QFontMetrics(displayFont_).lineSpacing());
    bar->setRange(0, std::max(0, int(std::ceil(total)) + 2 * kMargin - page));
}

qsizetype LazyTextView::lineIndexAt(qreal y) {
    if (layoutWidth_ == lineWidth()) {
        layOutDownTo(y + 1);
    }
    auto it = std::upper_bound(lines_.begin(), lines_.end(), y,
                               [](qreal v, const Line& l) { return v < l.top; });
    return (it == lines_.begin()) ? (lines_.empty() ? -1 : 0) : (it - lines_.begin()) - 1;
}

// Lays out a display line as one line of layout, shaped as a whole.
QTextLine LazyTextView::layOutLine(QTextLayout& layout, const Line& line) const {
    layout.setText(text_.mid(line.start, line.length));
    layout.setFont(displayFont_);
    layout.setTextOption(textOption(QTextOption::NoWrap));
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setNumColumns(int(line.length));
    layout.endLayout();
    return textLine;
}

// The line is shaped once; each colour range then draws the glyphs of its characters, so
// that colours change between glyphs of one shaping instead of breaking it.
void LazyTextView::drawLine(QPainter& painter, const Line& line, qreal y) const {
    QTextLayout layout;
    const QTextLine textLine = layOutLine(layout, line);
    const QPointF origin(kMargin, y);
    const qsizetype selFrom = std::clamp<qsizetype>(selectionStart() - line.start, 0, line.length);
    const qsizetype selTo =
        std::clamp<qsizetype>(selectionStart() + selectionLength() - line.start, 0, line.length);
    if (selFrom < selTo) {
        for (const QGlyphRun& run : textLine.glyphRuns(int(selFrom), int(selTo - selFrom))) {
            const QRectF r = run.boundingRect();
            painter.fillRect(QRectF(kMargin + r.x(), y, r.width(), textLine.height()),
                             palette().highlight());
        }
    }

    std::vector<PlacedGlyph> drawn;
    // QPainter underlines a glyph run only as far as its first glyph reaches, which a run
    // of one coloured character leaves short; so each run is underlined here, in its
    // colour, under the whole advance of its glyphs, meeting its neighbours' lines.
    const QFontMetricsF metrics(displayFont_);
    const bool underline = displayFont_.underline();
    const qreal underlineTop = y + textLine.ascent() + metrics.underlinePos();
    const auto drawGlyphs = [&](qsizetype from, qsizetype to, const QColor& color) {
        if (from >= to) {
            return;
        }
        painter.setPen(color);
        for (QGlyphRun& run : textLine.glyphRuns(int(from), int(to - from))) {
            const auto [left, right] = advanceSpan(run);
            skipDrawnGlyphs(run, drawn);
            run.setUnderline(false);
            painter.drawGlyphRun(origin, run);
            if (underline && left < right) {
                painter.fillRect(
                    QRectF(kMargin + left, underlineTop, right - left, metrics.lineWidth()), color);
            }
        }
    };
    // A range's characters in its colour, the selected ones in the highlight's.
    const QColor selectedColor = palette().highlightedText().color();
    const auto drawRange = [&](qsizetype from, qsizetype to, const QColor& color) {
        drawGlyphs(from, std::min(to, selFrom), color);
        drawGlyphs(std::max(from, selFrom), std::min(to, selTo), selectedColor);
        drawGlyphs(std::max(from, selTo), to, color);
    };
    const QColor textColor = palette().text().color();
    qsizetype pos = 0;
    for (const ColorRange& range : colorsFor(line.start, line.length)) {
        drawRange(pos, range.start, textColor);
        drawRange(range.start, range.start + range.length, range.color);
        pos = range.start + range.length;
    }
    drawRange(pos, line.length, textColor);
}

void LazyTextView::paintEvent(QPaintEvent*) {
    const int scrollY = verticalScrollBar()->value();
    layOutDownTo(scrollY + viewport()->height());
    QPainter painter(viewport());
    const qreal top = verticalScrollBar()->value() - kMargin;
    for (qsizetype i = std::max<qsizetype>(0, lineIndexAt(top)); i < qsizetype(lines_.size());
         ++i) {
        const Line& line = lines_[i];
        if (line.top - top > viewport()->height()) {
            break;
        }
        drawLine(painter, line, line.top - top);
    }
    if (hasFocus()) { // a frame in the highlight colour, as focused text boxes have
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
    }
}

void LazyTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void LazyTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

qsizetype LazyTextView::positionAt(QPoint viewportPos) {
    const qreal y = viewportPos.y() + verticalScrollBar()->value() - kMargin;
    const qsizetype index = lineIndexAt(y);
    if (index < 0) {
        return 0;
    }
    if (y >= laidOutHeight()) {
        return lines_.back().start + lines_.back().length;
    }
    const Line& line = lines_[index];
    QTextLayout layout;
    return line.start + layOutLine(layout, line).xToCursor(viewportPos.x() - kMargin);
}

void LazyTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return; // the right button opens the context menu; nothing else uses a press
    }
    pressPos_ = event->position().toPoint();
    cursor_ = positionAt(pressPos_);
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        anchor_ = cursor_;
    }
    selecting_ = true;
    viewport()->update();
}

void LazyTextView::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    // Dragging past the top or bottom edge scrolls the text along.
    if (pos.y() < 0) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + pos.y());
    } else if (pos.y() > viewport()->height()) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + pos.y() -
                                      viewport()->height());
    }
    cursor_ = positionAt(pos);
    viewport()->update();
}

void LazyTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selecting_) {
        return;
    }
    selecting_ = false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (selectionLength() > 0 && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
    const bool dragged = (event->position().toPoint() - pressPos_).manhattanLength() >=
                         QApplication::startDragDistance();
    if (!dragged && !(event->modifiers() & Qt::ShiftModifier)) {
        clickedInPlace();
    }
}

void LazyTextView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // The keyboard's way to the context menu, opened at the top left of the text.
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, viewport()->pos(),
                                    mapToGlobal(viewport()->pos()));
        contextMenuEvent(&menuEvent);
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        bar->setValue(0);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        layOutDownTo(std::numeric_limits<qreal>::max());
        bar->setValue(bar->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void LazyTextView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, &LazyTextView::copy);
    copyAction->setEnabled(selectionLength() > 0);
    menu.addAction(tr("Select &All"), this, &LazyTextView::selectAll);
    menu.exec(event->globalPos());
}

// The text area shows the focus frame.
void LazyTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LazyTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void LazyTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fontChanged();
    }
}

} // namespace tintwave::app
