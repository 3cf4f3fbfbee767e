#pragma once

#include <QString>
#include <QTextLayout>
#include <vector>

namespace tintwave::app {

// The text, caret, selection and edit history of a one-line editor, for texts of any
// length: every step looks only at a few hundred characters around the caret, and the
// history keeps what each edit removed and inserted rather than whole copies of the text.
// Positions are UTF-16 offsets on character (grapheme cluster) boundaries.
class LineModel {
public:
    const QString& text() const { return text_; }
    qsizetype size() const { return text_.size(); }
    qsizetype cursor() const { return cursor_; }
    qsizetype anchor() const { return anchor_; }
    qsizetype selectionStart() const { return std::min(cursor_, anchor_); }
    qsizetype selectionEnd() const { return std::max(cursor_, anchor_); }
    bool hasSelection() const { return cursor_ != anchor_; }
    QString selectedText() const;
    // Where the last change of the text began: nothing before it moved.
    qsizetype changedFrom() const { return changedFrom_; }
    // Counts the changes of the text.
    quint64 revision() const { return revision_; }

    // Replaces the text and forgets the history; the caret goes to the end.
    void setText(const QString& text);
    // Moves the caret to pos (made a character boundary); keepAnchor extends the
    // selection. Ends a run of typing that undo takes back as one.
    void moveCursor(qsizetype pos, bool keepAnchor);
    void setSelection(qsizetype anchor, qsizetype cursor);
    void selectAll() { setSelection(0, size()); }

    // The edits; each replaces the selection, if any, and can be undone. Typing merges
    // characters typed one after another into one step.
    void insert(const QString& text, bool typed = false);
    void removeSelection();
    // Removes the selection or else what lies between the caret and to.
    void removeTo(qsizetype to);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < qsizetype(history_.size()); }
    void undo();
    void redo();

    // Character and word steps from pos, as Qt's line edit takes them.
    qsizetype nextCharacter(qsizetype pos) const;
    qsizetype previousCharacter(qsizetype pos) const;
    qsizetype nextWord(qsizetype pos) const;
    qsizetype previousWord(qsizetype pos) const;
    // pos, or the character boundary before it.
    qsizetype boundaryAtOrBefore(qsizetype pos) const;
    // The word under pos, trailing blanks left out, as a double click selects it.
    std::pair<qsizetype, qsizetype> wordAt(qsizetype pos) const;

private:
    struct Edit {
        qsizetype pos;
        QString removed;
        QString inserted;
        qsizetype cursorBefore;
        qsizetype anchorBefore;
    };
    void apply(Edit edit, bool typed);
    // The steps above, worked out in the text around pos.
    qsizetype step(qsizetype pos, bool forward, QTextLayout::CursorMode mode) const;

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    std::vector<Edit> history_;
    qsizetype done_ = 0; // edits in history_ that are applied
    bool typing_ = false;
    qsizetype changedFrom_ = 0;
    quint64 revision_ = 0;
};

} // namespace tintwave::app
