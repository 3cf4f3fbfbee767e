#include "app/CodeBox.h"

#include "app/CodeView.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedLayout>

namespace tintwave::app {

namespace {

// Codes longer than this go to the read-only view instead of the editable box. The code
// is one line, and the editable box lays out the whole line whenever it is set or typed
// in: at this size that takes about 12 ms, and it grows faster than the length (50 to
// 140 ms at 300,000 units, about a second at a million). Editing a code of megabytes by
// hand is not a real use, so long codes are shown, selected and copied only.
constexpr qsizetype kEditableCodeLimit = 64 * 1024;

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
    const bool isLong = code.size() > kEditableCodeLimit;
    if (isLong) {
        longView()->setPlainText(code);
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
        edit_->setPlainText(isLong ? QString() : code);
    }
    Q_EMIT changed();
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

bool CodeBox::longShown() const {
    return long_ && stack_->currentWidget() == long_;
}

} // namespace tintwave::app
