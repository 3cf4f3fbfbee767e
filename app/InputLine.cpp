#include "app/InputLine.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>
#include <limits>

namespace tintwave::app {

namespace {

// The first strong character decides the line's direction, as in QLineEdit; a text that
// has none this early counts as left to right.
constexpr qsizetype kDirectionPrefix = 4096;

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool holdsLineBreak(QStringView text) {
    return std::any_of(text.begin(), text.end(), isLineBreak);
}

// The QLineEdit context menu's entries, in its order, that this box answers itself.
enum MenuEntry { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll, EntryCount };

} // namespace

InputLine::InputLine(QWidget* parent, qsizetype longLength)
    : QLineEdit(parent)
    , longLength_(longLength) {
    setMaxLength(std::numeric_limits<int>::max()); // Qt's 32767 would cut a paste off
    // What reaches QLineEdit by a way not caught below (an input method's long commit, a
    // caller holding a plain QLineEdit) is taken over after the fact.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!own_ && !quiet_ && needsOwnEditor(text.size(), holdsLineBreak(text))) {
            const qsizetype at = cursorPosition();
            takeOver(QString(), 0, 0, text);
            model_.moveCursor(at, false);
        }
    });
}

InputLine::~InputLine() = default;

bool InputLine::needsOwnEditor(qsizetype length, bool lineBreak) const {
    return length > longLength_ || lineBreak;
}

QString InputLine::text() const {
    return own_ ? model_.text() : QLineEdit::text();
}

void InputLine::setText(const QString& text) {
    if (needsOwnEditor(text.size(), holdsLineBreak(text))) {
        takeOver(QString(), 0, 0, text);
        model_.setText(text);
        changed(true);
    } else {
        handBack(text);
    }
}

qsizetype InputLine::caret() const {
    return own_ ? model_.cursor() : cursorPosition();
}

qsizetype InputLine::anchor() const {
    if (own_) {
        return model_.anchor();
    }
    if (!hasSelectedText()) {
        return cursorPosition();
    }
    const int start = selectionStart();
    return start == cursorPosition() ? selectionEnd() : start;
}

void InputLine::quietlySetBaseText(const QString& text) {
    quiet_ = true;
    QLineEdit::setText(text);
    quiet_ = false;
}

void InputLine::takeOver(const QString& before, qsizetype selectionStart, qsizetype selectionEnd,
                         const QString& inserted) {
    if (!own_ && hasFocus()) { // QLineEdit's caret stops blinking
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QLineEdit::focusOutEvent(&out);
    }
    own_ = true;
    quietlySetBaseText(QString());
    model_.setText(before);
    model_.setSelection(selectionStart, selectionEnd);
    model_.insert(inserted);
    viewStale_ = true;
    if (hasFocus()) {
        restartBlink();
    }
    changed(true);
}

void InputLine::handBack(const QString& text) {
    const bool wasOwn = std::exchange(own_, false);
    model_.setText(QString());
    view_ = View();
    blink_.stop();
    quietlySetBaseText(text);
    if (wasOwn && hasFocus()) {
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&in);
    }
    update();
}

void InputLine::changed(bool edited) {
    if (edited) {
        const QString& text = model_.text();
        rightToLeft_ =
            QStringView(text).first(std::min(text.size(), kDirectionPrefix)).isRightToLeft();
        if (model_.changedFrom() < view_.start) {
            viewStale_ = true;
        } else {
            view_.end = std::clamp<qsizetype>(view_.end + text.size() - viewTextSize_, view_.start,
                                              text.size());
        }
        viewTextSize_ = text.size();
        view_.layout.reset();
        Q_EMIT textChanged(text);
    }
    restartBlink();
    update();
}

void InputLine::restartBlink() {
    caretOn_ = true;
    const int period = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (own_ && hasFocus() && period > 0) {
        blink_.start(period, this);
    } else {
        blink_.stop();
    }
}

void InputLine::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretOn_ = !caretOn_;
        update(caretRect().adjusted(-1, 0, 1, 0));
    } else if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
    } else {
        QLineEdit::timerEvent(event);
    }
}

// ---- Editing ----

void InputLine::paste(QClipboard::Mode mode) {
    const QString clip = QGuiApplication::clipboard()->text(mode);
    if (own_) {
        if (!clip.isEmpty() || model_.hasSelection()) {
            model_.insert(clip);
            changed(true);
        }
        return;
    }
    const QString before = QLineEdit::text();
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype end = start + selectedText().size();
    if (needsOwnEditor(before.size() - (end - start) + clip.size(), holdsLineBreak(clip))) {
        takeOver(before, start, end, clip);
    } else if (mode == QClipboard::Clipboard) {
        QLineEdit::paste();
    } else {
        insert(clip);
    }
}

void InputLine::insertAt(qsizetype pos, const QString& text) {
    model_.moveCursor(pos, false);
    model_.insert(text);
    changed(true);
}

void InputLine::copySelection(QClipboard::Mode mode) const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (model_.hasSelection() &&
        (mode == QClipboard::Clipboard || clipboard->supportsSelection())) {
        clipboard->setText(model_.selectedText(), mode);
    }
}

void InputLine::keyPressEvent(QKeyEvent* event) {
    if (own_) {
        ownKeyPress(event);
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

// The keys of QLineEdit, as its control takes them with the default (logical) cursor
// movement: arrows move through the text's order, mirrored in a right-to-left line.
bool InputLine::ownKeyCommand(QKeyEvent* event) {
    using K = QKeySequence;
    const qsizetype caret = model_.cursor();
    const auto forward = [&](bool word) {
        return word ? model_.nextWord(caret) : model_.nextCharacter(caret);
    };
    const auto backward = [&](bool word) {
        return word ? model_.previousWord(caret) : model_.previousCharacter(caret);
    };
    // Right and left with and without Shift and Ctrl.
    const struct {
        K::StandardKey key;
        bool right;
        bool word;
        bool select;
    } moves[] = {
        {K::MoveToNextChar, true, false, false}, {K::MoveToPreviousChar, false, false, false},
        {K::SelectNextChar, true, false, true},  {K::SelectPreviousChar, false, false, true},
        {K::MoveToNextWord, true, true, false},  {K::MoveToPreviousWord, false, true, false},
        {K::SelectNextWord, true, true, true},   {K::SelectPreviousWord, false, true, true},
    };
    for (const auto& move : moves) {
        if (event->matches(move.key)) {
            const bool ahead = move.right != rightToLeft_;
            model_.moveCursor(ahead ? forward(move.word) : backward(move.word), move.select);
            return true;
        }
    }
    const struct {
        K::StandardKey key;
        bool end;
        bool select;
    } jumps[] = {
        {K::MoveToStartOfLine, false, false},     {K::MoveToStartOfBlock, false, false},
        {K::MoveToStartOfDocument, false, false}, {K::MoveToEndOfLine, true, false},
        {K::MoveToEndOfBlock, true, false},       {K::MoveToEndOfDocument, true, false},
        {K::SelectStartOfLine, false, true},      {K::SelectStartOfBlock, false, true},
        {K::SelectStartOfDocument, false, true},  {K::SelectEndOfLine, true, true},
        {K::SelectEndOfBlock, true, true},        {K::SelectEndOfDocument, true, true},
    };
    for (const auto& jump : jumps) {
        if (event->matches(jump.key)) {
            model_.moveCursor(jump.end ? model_.size() : 0, jump.select);
            return true;
        }
    }
    if (event->matches(K::SelectAll)) {
        model_.selectAll();
    } else if (event->matches(K::Copy)) {
        copySelection(QClipboard::Clipboard);
    } else if (event->matches(K::Paste)) {
        paste();
    } else if (event->matches(K::Cut)) {
        copySelection(QClipboard::Clipboard);
        model_.removeSelection();
    } else if (event->matches(K::Undo)) {
        model_.undo();
    } else if (event->matches(K::Redo)) {
        model_.redo();
    } else if (event->matches(K::DeleteStartOfWord)) {
        model_.removeTo(model_.previousWord(caret));
    } else if (event->matches(K::DeleteEndOfWord)) {
        model_.removeTo(model_.nextWord(caret));
    } else if (event->matches(K::DeleteEndOfLine)) {
        model_.removeTo(model_.size());
    } else if (event->matches(K::Delete)) {
        model_.removeTo(model_.nextCharacter(caret));
    } else if (event->key() == Qt::Key_Backspace &&
               !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        // One code point back, as QLineEdit: an emoji loses its skin tone first.
        const bool pair = caret > 1 && model_.text()[caret - 1].isLowSurrogate() &&
                          model_.text()[caret - 2].isHighSurrogate();
        model_.removeTo(caret - (caret == 0 ? 0 : pair ? 2 : 1));
    } else {
        return false;
    }
    return true;
}

void InputLine::ownKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore(); // the window runs Colorize
        return;
    }
    const quint64 revision = model_.revision();
    bool handled = ownKeyCommand(event);
    if (!handled) {
        // Typed text, as QLineEdit accepts it: not with Ctrl (AltGr is Ctrl+Alt), and no
        // control characters.
        const QString typed = event->text();
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        const bool control =
            mods == Qt::ControlModifier || mods == (Qt::ShiftModifier | Qt::ControlModifier);
        const QChar c = typed.isEmpty() ? QChar() : typed[0];
        if (!typed.isEmpty() &&
            (c.category() == QChar::Other_Format ||
             (!control && (c.isPrint() || c.category() == QChar::Other_PrivateUse ||
                           (c.isHighSurrogate() && typed.size() > 1))))) {
            model_.insert(typed, true);
            handled = true;
        }
    }
    if (!handled) {
        QWidget::keyPressEvent(event); // not for this box
        return;
    }
    event->accept();
    changed(model_.revision() != revision);
}

// ---- Input methods ----

void InputLine::inputMethodEvent(QInputMethodEvent* event) {
    if (!own_) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const quint64 revision = model_.revision();
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        if (event->replacementLength() > 0) {
            const qsizetype from = model_.cursor() + event->replacementStart();
            model_.setSelection(from, from + event->replacementLength());
        }
        model_.insert(event->commitString(), true);
    }
    preedit_ = event->preeditString();
    preeditCursor_ = int(preedit_.size());
    preeditFormats_.clear();
    for (const QInputMethodEvent::Attribute& a : event->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = a.start;
        } else if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (format.isValid()) {
                preeditFormats_.append({a.start, a.length, format});
            }
        } else if (a.type == QInputMethodEvent::Selection && preedit_.isEmpty()) {
            const qsizetype base = model_.cursor();
            model_.setSelection(base + a.start, base + a.start + a.length);
        }
    }
    view_.layout.reset();
    changed(model_.revision() != revision);
}

QVariant InputLine::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (!own_) {
        return QLineEdit::inputMethodQuery(query);
    }
    // The text around the caret stands for the whole, which may be millions of characters.
    const qsizetype caret = model_.cursor();
    const qsizetype from = model_.boundaryAtOrBefore(caret - kReach);
    switch (query) {
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle:
        return caretRect();
    case Qt::ImSurroundingText:
        return model_.text().mid(from, 2 * kReach);
    case Qt::ImCursorPosition:
        return int(caret - from);
    case Qt::ImAnchorPosition:
        return int(std::clamp(model_.anchor() - from, qsizetype(0), 2 * kReach));
    case Qt::ImCurrentSelection:
        return model_.selectedText().left(2 * kReach);
    case Qt::ImTextBeforeCursor:
        return model_.text().mid(from, caret - from);
    case Qt::ImTextAfterCursor:
        return model_.text().mid(caret, kReach);
    case Qt::ImMaximumTextLength:
        return QVariant();
    default:
        return QLineEdit::inputMethodQuery(query);
    }
}

// ---- Mouse ----

void InputLine::mousePressEvent(QMouseEvent* event) {
    if (!own_) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (tripleClick_.isActive() &&
        (pos - tripleClickPos_).manhattanLength() < QApplication::startDragDistance()) {
        model_.selectAll();
    } else {
        model_.moveCursor(positionAt(pos.x()), event->modifiers() & Qt::ShiftModifier);
        selecting_ = true;
    }
    changed(false);
}

void InputLine::mouseMoveEvent(QMouseEvent* event) {
    if (!own_) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        model_.moveCursor(positionAt(event->position().toPoint().x()), true);
        changed(false);
    }
}

void InputLine::mouseReleaseEvent(QMouseEvent* event) {
    const bool middle = event->button() == Qt::MiddleButton;
    const bool canPasteSelection = middle && QGuiApplication::clipboard()->supportsSelection();
    if (!own_) {
        const QString selection = canPasteSelection
                                      ? QGuiApplication::clipboard()->text(QClipboard::Selection)
                                      : QString();
        if (canPasteSelection && needsOwnEditor(QLineEdit::text().size() + selection.size(),
                                                holdsLineBreak(selection))) {
            const QString before = QLineEdit::text();
            const qsizetype at = cursorPositionAt(event->position().toPoint());
            takeOver(before, at, at, selection);
        } else {
            QLineEdit::mouseReleaseEvent(event);
        }
        return;
    }
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
        copySelection(QClipboard::Selection);
    } else if (canPasteSelection) {
        insertAt(positionAt(event->position().toPoint().x()),
                 QGuiApplication::clipboard()->text(QClipboard::Selection));
    }
}

void InputLine::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!own_) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const auto [start, end] = model_.wordAt(positionAt(event->position().toPoint().x()));
        model_.setSelection(start, end);
        tripleClickPos_ = event->position().toPoint();
        tripleClick_.start(QApplication::doubleClickInterval(), this);
        changed(false);
    }
}

// ---- Context menu: QLineEdit's own, its entries answered by this box ----

void InputLine::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    retarget(menu);
    menu->popup(event->globalPos());
}

void InputLine::retarget(QMenu* menu) {
    QList<QAction*> entries;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && !action->menu()) {
            entries.append(action);
        }
    }
    if (entries.size() < EntryCount) {
        return; // a menu laid out otherwise than Qt's: left as it is
    }
    const auto answer = [&](MenuEntry entry, bool enabled, auto command) {
        QAction* action = entries[entry];
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, command);
        action->setEnabled(enabled);
    };
    const bool canPaste = !QGuiApplication::clipboard()->text().isEmpty();
    if (!own_) { // a paste may be long
        answer(Paste, canPaste, [this] { paste(); });
        return;
    }
    const bool selected = model_.hasSelection();
    const auto edit = [this](auto step) {
        return [this, step] {
            step();
            changed(true);
        };
    };
    answer(Undo, model_.canUndo(), edit([this] { model_.undo(); }));
    answer(Redo, model_.canRedo(), edit([this] { model_.redo(); }));
    answer(Cut, selected, edit([this] {
               copySelection(QClipboard::Clipboard);
               model_.removeSelection();
           }));
    answer(Copy, selected, [this] { copySelection(QClipboard::Clipboard); });
    answer(Paste, canPaste, [this] { paste(); });
    answer(Delete, selected, edit([this] { model_.removeSelection(); }));
    answer(SelectAll, model_.selectionEnd() - model_.selectionStart() < model_.size(), [this] {
        model_.selectAll();
        changed(false);
    });
}

// ---- Drag and drop: text dropped in ----

void InputLine::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void InputLine::dragMoveEvent(QDragMoveEvent* event) {
    if (!own_) {
        QLineEdit::dragMoveEvent(event);
    } else if (event->mimeData()->hasText()) {
        event->acceptProposedAction();
    }
}

void InputLine::dropEvent(QDropEvent* event) {
    const QString dropped = event->mimeData()->text();
    if (own_ ||
        needsOwnEditor(QLineEdit::text().size() + dropped.size(), holdsLineBreak(dropped))) {
        if (!own_) {
            const qsizetype at = cursorPositionAt(event->position().toPoint());
            takeOver(QLineEdit::text(), at, at, dropped);
        } else {
            insertAt(positionAt(event->position().toPoint().x()), dropped);
        }
        event->acceptProposedAction();
    } else {
        QLineEdit::dropEvent(event);
    }
}

// ---- Focus and changes ----

void InputLine::focusInEvent(QFocusEvent* event) {
    if (!own_) {
        QLineEdit::focusInEvent(event);
        return;
    }
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !model_.hasSelection()) {
        model_.selectAll();
    }
    QWidget::focusInEvent(event);
    changed(false);
}

void InputLine::focusOutEvent(QFocusEvent* event) {
    if (!own_) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        model_.moveCursor(model_.cursor(), false);
    }
    blink_.stop();
    QWidget::focusOutEvent(event);
    update();
}

void InputLine::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::StyleChange) {
        view_.layout.reset();
    }
}

} // namespace tintwave::app
