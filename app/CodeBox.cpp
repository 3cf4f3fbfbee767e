#include "app/CodeBox.h"

#include "app/CodeView.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedLayout>

namespace tintwave::app {

namespace {

// Codes longer than this go to the read-only view instead of the editable box. The code
// is one line, and the editable box lays it out whole on every keystroke: at this size a
// keystroke takes about 16 to 27 ms of processor time until it is painted (the window
// benchmark with --type, offscreen and on X), and it grows with the length (about 50 ms at
// 200,000). Editing a longer code by hand is not a real use: it is shown, selected,
// copied and saved, and the size line says that it cannot be edited.
constexpr qsizetype kEditableCodeLimit = 100000;

} // namespace

CodeBox::CodeBox(QWidget* parent)
    : QWidget(parent)
    , stack_(new QStackedLayout(this))
    , edit_(new QPlainTextEdit(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(edit_);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The code is one long line: wrap it to the box so it can be read.
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit_->setTabChangesFocus(true);
    connect(edit_, &QPlainTextEdit::textChanged, this, &CodeBox::changed);
    // The box takes its place in the tab order; focus goes to whichever part is on show.
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(edit_);
    edit_->setAccessibleName(tr("HTML code"));
    edit_->setAccessibleDescription(tr("The code Colorize wrote; it can be edited"));
}

QString CodeBox::code() const {
    return longShown() ? long_->toPlainText() : edit_->toPlainText();
}

void CodeBox::setCode(const QString& code) {
    adoptCode(TextStore(code));
}

void CodeBox::adoptCode(TextStore code) {
    const bool isLong = code.size() > kEditableCodeLimit;
    const QString editable = isLong ? QString() : code.toString();
    if (isLong) {
        longView()->setCode(std::move(code));
    } else {
        dropLongCode();
    }
    QWidget* shown = isLong ? static_cast<QWidget*>(long_) : edit_;
    if (stack_->currentWidget() != shown) {
        const bool hadFocus = stack_->currentWidget()->hasFocus();
        stack_->setCurrentWidget(shown);
        setFocusProxy(shown);
        if (hadFocus) {
            shown->setFocus();
        }
    }
    {
        const QSignalBlocker quiet(edit_); // reported once below, also when it stays empty
        edit_->setPlainText(editable);
    }
    Q_EMIT changed();
}

qsizetype CodeBox::codeSize() const {
    return longShown() ? long_->textSize() : edit_->toPlainText().size();
}

void CodeBox::dropLongCode() {
    if (long_) {
        long_->clear();
    }
}

// Built on first use, directly behind the editable box in the tab order.
CodeView* CodeBox::longView() {
    if (!long_) {
        long_ = new CodeView(this);
        long_->setAccessibleName(edit_->accessibleName());
        long_->setAccessibleDescription(tr("The code Colorize wrote, too long to edit"));
        stack_->addWidget(long_);
        QWidget::setTabOrder(edit_, long_);
    }
    return long_;
}

bool CodeBox::isEditable() const {
    return !longShown();
}

bool CodeBox::longShown() const {
    return long_ && stack_->currentWidget() == long_;
}

} // namespace tintwave::app
