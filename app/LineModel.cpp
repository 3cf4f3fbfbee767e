#include "app/LineModel.h"

#include <algorithm>

namespace tintwave::app {

namespace {

// UTF-16 units on either side of a position that decide where the characters and words
// around it begin and end; far more than any character or the words of real text take.
constexpr qsizetype kContext = 256;

} // namespace

QString LineModel::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void LineModel::setText(const QString& text) {
    text_ = text;
    changedFrom_ = 0;
    ++revision_;
    cursor_ = anchor_ = text_.size();
    history_.clear();
    done_ = 0;
    typing_ = false;
}

void LineModel::moveCursor(qsizetype pos, bool keepAnchor) {
    cursor_ = boundaryAtOrBefore(pos);
    if (!keepAnchor) {
        anchor_ = cursor_;
    }
    typing_ = false;
}

void LineModel::setSelection(qsizetype anchor, qsizetype cursor) {
    anchor_ = boundaryAtOrBefore(anchor);
    moveCursor(cursor, true);
}

void LineModel::insert(const QString& text, bool typed) {
    if (text.isEmpty() && !hasSelection()) {
        return;
    }
    apply({selectionStart(), selectedText(), text, cursor_, anchor_}, typed);
}

void LineModel::removeSelection() {
    if (hasSelection()) {
        insert(QString());
    }
}

void LineModel::removeTo(qsizetype to) {
    if (!hasSelection()) {
        anchor_ = std::clamp<qsizetype>(to, 0, size());
    }
    removeSelection();
}

void LineModel::apply(Edit edit, bool typed) {
    text_.replace(edit.pos, edit.removed.size(), edit.inserted);
    changedFrom_ = edit.pos;
    ++revision_;
    cursor_ = anchor_ = edit.pos + edit.inserted.size();
    history_.resize(std::size_t(done_));
    Edit* last = history_.empty() ? nullptr : &history_.back();
    if (typed && typing_ && last && edit.removed.isEmpty() &&
        last->pos + last->inserted.size() == edit.pos) {
        last->inserted += edit.inserted;
    } else {
        history_.push_back(std::move(edit));
        ++done_;
    }
    typing_ = typed;
}

void LineModel::undo() {
    if (!canUndo()) {
        return;
    }
    const Edit& edit = history_[std::size_t(--done_)];
    text_.replace(edit.pos, edit.inserted.size(), edit.removed);
    changedFrom_ = edit.pos;
    ++revision_;
    cursor_ = edit.cursorBefore;
    anchor_ = edit.anchorBefore;
    typing_ = false;
}

void LineModel::redo() {
    if (!canRedo()) {
        return;
    }
    const Edit& edit = history_[std::size_t(done_++)];
    text_.replace(edit.pos, edit.removed.size(), edit.inserted);
    changedFrom_ = edit.pos;
    ++revision_;
    cursor_ = anchor_ = edit.pos + edit.inserted.size();
    typing_ = false;
}

qsizetype LineModel::step(qsizetype pos, bool forward, QTextLayout::CursorMode mode) const {
    pos = std::clamp<qsizetype>(pos, 0, size());
    const qsizetype from = std::max<qsizetype>(0, pos - kContext);
    const qsizetype to = std::min(size(), pos + kContext);
    const QTextLayout around(text_.mid(from, to - from));
    const int at = int(pos - from);
    return from + (forward ? around.nextCursorPosition(at, mode)
                           : around.previousCursorPosition(at, mode));
}

qsizetype LineModel::nextCharacter(qsizetype pos) const {
    return step(pos, true, QTextLayout::SkipCharacters);
}

qsizetype LineModel::previousCharacter(qsizetype pos) const {
    return step(pos, false, QTextLayout::SkipCharacters);
}

qsizetype LineModel::nextWord(qsizetype pos) const {
    return step(pos, true, QTextLayout::SkipWords);
}

qsizetype LineModel::previousWord(qsizetype pos) const {
    return step(pos, false, QTextLayout::SkipWords);
}

qsizetype LineModel::boundaryAtOrBefore(qsizetype pos) const {
    pos = std::clamp<qsizetype>(pos, 0, size());
    const qsizetype from = std::max<qsizetype>(0, pos - kContext);
    const QTextLayout around(text_.mid(from, std::min(size(), pos + kContext) - from));
    return around.isValidCursorPosition(int(pos - from)) ? pos : previousCharacter(pos);
}

std::pair<qsizetype, qsizetype> LineModel::wordAt(qsizetype pos) const {
    const qsizetype start = previousWord(std::min(pos + 1, size()));
    qsizetype end = nextWord(start);
    while (end > pos && text_[end - 1].isSpace()) {
        --end;
    }
    return {start, std::max(start, end)};
}

} // namespace tintwave::app
