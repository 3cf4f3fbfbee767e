#pragma once

#include "app/LineModel.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QLineEdit>
#include <memory>

class QMenu;

namespace tintwave::app {

// The text box: a line edit for texts of any length.
//
// Qt's QLineEdit lays out its whole line on every paint, and each caret blink paints: with a
// million characters of words, emoji and Arabic that keeps a core busy for good (measured
// under Xvfb: 100% idle, 160 MB, 4.2 s to quit; 100,000 plain characters 4%). Below
// longLength characters it costs nothing noticeable, so ordinary texts stay with QLineEdit,
// unchanged in look and behaviour, and only a longer text, or one holding a line break
// (which QLineEdit would show as a blank), goes to the box's own editor. That one lays out
// only a stretch of about a thousand characters around the caret, keeps QLineEdit's frame,
// metrics, scrolling, keys, mouse, undo, input methods and context menu, and shows each
// line break as a mark. The hand-over happens before QLineEdit sees the long text, so it
// is never laid out whole; a long paste can be undone back to the short text before it.
//
// While the own editor holds the text, QLineEdit's own text is empty: read and set the
// text through this class.
class InputLine : public QLineEdit {
    Q_OBJECT
public:
    static constexpr qsizetype kLongLength = 10'000;

    explicit InputLine(QWidget* parent = nullptr, qsizetype longLength = kLongLength);
    ~InputLine() override;

    QString text() const;
    void setText(const QString& text);
    // Whether the own editor holds the text.
    bool editsOwnText() const { return own_; }
    // The caret and the selection's other end, whichever editor holds the text.
    qsizetype caret() const;
    qsizetype anchor() const;

public Q_SLOTS:
    // Pastes the clipboard's text (or the mouse selection's) over the selection.
    void paste(QClipboard::Mode mode = QClipboard::Clipboard);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // UTF-16 units laid out on either side of the caret. At typical widths a few dozen
    // characters are visible; the rest keeps scrolling and shaping at the stretch's edges
    // out of sight, and the stretch moves once the caret comes within a quarter of it.
    static constexpr qsizetype kReach = 512;

    // The laid-out stretch of the own editor's text.
    struct View {
        qsizetype start = 0;
        qsizetype end = 0;
        std::unique_ptr<QTextLayout> layout;
        int ascent = 0;
        int height = 0; // of the line box, as QLineEdit takes it
        // The line breaks' marks, drawn as selections are, over the text.
        QList<QTextLayout::FormatRange> marks;
    };

    bool needsOwnEditor(qsizetype length, bool lineBreak) const;
    // Hands text over to the own editor, with the last edit (the selection replaced by
    // inserted) as its history.
    void takeOver(const QString& before, qsizetype selectionStart, qsizetype selectionEnd,
                  const QString& inserted);
    void handBack(const QString& text);
    void quietlySetBaseText(const QString& text);
    void ownKeyPress(QKeyEvent* event);
    bool ownKeyCommand(QKeyEvent* event);
    // After the own editor's text, caret or selection changed.
    void changed(bool edited);
    void restartBlink();
    void copySelection(QClipboard::Mode mode) const;
    void insertAt(qsizetype pos, const QString& text);
    void retarget(QMenu* menu);

    // Geometry as QLineEdit's: the contents and the line box within them.
    QRect contents() const;
    QRect lineBox() const;
    void layOut() const;
    void buildView(qsizetype start, qsizetype end) const;
    qsizetype positionAt(int x) const;
    QRect caretRect() const;
    qreal xInView(qsizetype pos) const;

    const qsizetype longLength_;
    bool own_ = false;
    bool quiet_ = false;
    LineModel model_;
    mutable View view_;
    mutable bool viewStale_ = true;
    mutable qsizetype viewTextSize_ = 0;
    mutable qsizetype lastCaret_ = 0;
    mutable int hscroll_ = 0;
    bool rightToLeft_ = false;

    QString preedit_;
    int preeditCursor_ = 0;
    QList<QTextLayout::FormatRange> preeditFormats_;

    QBasicTimer blink_;
    bool caretOn_ = false;
    QBasicTimer tripleClick_;
    QPoint tripleClickPos_;
    bool selecting_ = false;
};

} // namespace tintwave::app
