// The own editor's layout and drawing: the stretch of text around the caret, placed and
// scrolled as QLineEdit places its line.
#include "app/InputLine.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>

namespace tintwave::app {

namespace {

// Where QLineEdit places its line within its contents.
constexpr int kHorizontalMargin = 2;
bool isBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The characters as drawn: a line break as a return mark (CR LF as one mark), other control
// characters as blanks, as QLineEdit shows them; marks gets the marks' places.
QString displayed(QStringView text, QList<QTextLayout::FormatRange>& marks, const QColor& mark) {
    QString shown = text.toString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown[i];
        if (isBreak(c)) {
            const bool joined = c == u'\n' && i > 0 && text[i - 1] == u'\r';
            shown[i] = joined ? QChar(0x200B) : QChar(0x21B5);
            if (!joined) {
                QTextLayout::FormatRange range{int(i), 1, {}};
                range.format.setForeground(mark);
                marks.append(range);
            }
        } else if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::ObjectReplacementCharacter) {
            shown[i] = u' ';
        }
    }
    return shown;
}

} // namespace

// ---- Geometry and layout, as QLineEdit's paintEvent places its line ----

QRect InputLine::contents() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
        .marginsRemoved(textMargins());
}

QRect InputLine::lineBox() const {
    layOut();
    const QRect r = contents();
    const int top = r.y() + (r.height() - view_.height + 1) / 2;
    return QRect(r.x() + kHorizontalMargin, top, r.width() - 2 * kHorizontalMargin, view_.height);
}

void InputLine::buildView(qsizetype start, qsizetype end) const {
    const qsizetype size = model_.size();
    view_.start = model_.boundaryAtOrBefore(std::max<qsizetype>(0, start));
    view_.end = end >= size ? size : model_.boundaryAtOrBefore(end);
    viewTextSize_ = size;

    QList<QTextLayout::FormatRange> marks;
    const QString shown =
        displayed(QStringView(model_.text()).sliced(view_.start, view_.end - view_.start), marks,
                  palette().color(QPalette::PlaceholderText));
    view_.layout = std::make_unique<QTextLayout>(shown, font());
    QTextOption option;
    option.setTextDirection(rightToLeft_ ? Qt::RightToLeft : Qt::LeftToRight);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    view_.layout->setTextOption(option);
    const qsizetype caret = model_.cursor();
    if (!preedit_.isEmpty() && caret >= view_.start && caret <= view_.end) {
        view_.layout->setPreeditArea(int(caret - view_.start), preedit_);
        QList<QTextLayout::FormatRange> formats = preeditFormats_;
        for (QTextLayout::FormatRange& f : formats) {
            f.start += int(caret - view_.start);
        }
        view_.layout->setFormats(formats);
    }
    view_.layout->beginLayout();
    const QTextLine line = view_.layout->createLine();
    view_.layout->endLayout();
    view_.ascent = qRound(line.ascent());
    const QFontMetrics fm(font());
    view_.height = std::max(fm.height(), fm.boundingRect(shown).height());
    view_.marks = std::move(marks);
    viewStale_ = false;
}

qreal InputLine::xInView(qsizetype pos) const {
    int at = int(pos - view_.start);
    if (!preedit_.isEmpty() && pos == model_.cursor()) {
        at += preeditCursor_;
    }
    return view_.layout->lineAt(0).cursorToX(at);
}

// Keeps a stretch laid out around the caret and scrolls as QLineEdit does: the caret
// stays put while it is inside the box, and the box moves just far enough to show it.
void InputLine::layOut() const {
    const qsizetype caret = model_.cursor();
    const qsizetype size = model_.size();
    const int width = contents().width() - 2 * kHorizontalMargin;
    if (viewStale_ || caret < view_.start || caret > view_.end) {
        const bool forward = caret >= lastCaret_;
        buildView(caret - kReach, caret + kReach);
        const int cix = qRound(xInView(caret));
        hscroll_ = forward != rightToLeft_ ? cix - width + 1 : cix;
    } else if (!view_.layout) {
        buildView(view_.start, view_.end);
    }
    lastCaret_ = caret;
    const auto nearEdge = [&] {
        return (caret - view_.start < kReach / 4 && view_.start > 0) ||
               (view_.end - caret < kReach / 4 && view_.end < size);
    };
    const auto rebuildAround = [&](qsizetype reach) {
        const qreal before = xInView(caret);
        buildView(caret - reach, caret + reach);
        hscroll_ += qRound(xInView(caret) - before);
    };
    if (nearEdge()) {
        rebuildAround(kReach);
    }
    for (qsizetype reach = kReach;; reach *= 4) {
        const int used = qRound(view_.layout->lineAt(0).naturalTextWidth()) + 1;
        const int cix = qRound(xInView(caret));
        const bool leftEnd = rightToLeft_ ? view_.end == size : view_.start == 0;
        const bool rightEnd = rightToLeft_ ? view_.start == 0 : view_.end == size;
        if (leftEnd && rightEnd && used <= width) {
            hscroll_ = rightToLeft_ ? used - width + 1 : 0;
        } else if (cix - hscroll_ >= width) {
            hscroll_ = cix - width + 1;
        } else if (cix - hscroll_ < 0 && hscroll_ < used) {
            hscroll_ = cix;
        } else if (used - hscroll_ < width && rightEnd) {
            hscroll_ = used - width + 1;
        } else if (leftEnd) {
            hscroll_ = std::max(0, hscroll_);
        }
        const bool covered = (hscroll_ >= 0 || leftEnd) && (used - hscroll_ >= width || rightEnd);
        if (covered || (view_.start == 0 && view_.end == size)) {
            break;
        }
        rebuildAround(reach * 4); // characters too narrow for the stretch to fill the box
    }
}

qsizetype InputLine::positionAt(int x) const {
    layOut();
    const qreal inLine = x - lineBox().x() + hscroll_;
    return view_.start + view_.layout->lineAt(0).xToCursor(inLine);
}

QRect InputLine::caretRect() const {
    const QRect box = lineBox();
    const int x = box.x() - hscroll_ + qRound(xInView(model_.cursor()));
    return QRect(x, box.y(), style()->pixelMetric(QStyle::PM_TextCursorWidth) + 1, box.height());
}

void InputLine::paintEvent(QPaintEvent* event) {
    if (!own_) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect r = contents();
    painter.setClipRect(r);
    const QRect box = lineBox();
    const QPoint topLeft =
        box.topLeft() - QPoint(hscroll_, view_.ascent - QFontMetrics(font()).ascent());
    painter.setPen(palette().text().color());

    QList<QTextLayout::FormatRange> ranges = view_.marks;
    const qsizetype from = std::clamp(model_.selectionStart(), view_.start, view_.end);
    const qsizetype to = std::clamp(model_.selectionEnd(), view_.start, view_.end);
    if (from < to) {
        QTextLayout::FormatRange selection{int(from - view_.start), int(to - from), {}};
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        ranges.append(selection);
    }
    view_.layout->draw(&painter, topLeft, ranges, r);
    if (hasFocus() && caretOn_) {
        int at = int(model_.cursor() - view_.start) + (preedit_.isEmpty() ? 0 : preeditCursor_);
        view_.layout->drawCursor(&painter, topLeft, at,
                                 style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel));
    }
}

} // namespace tintwave::app
