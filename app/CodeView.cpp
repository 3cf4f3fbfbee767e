#include "app/CodeView.h"

namespace tintwave::app {

CodeView::CodeView(QWidget* parent)
    : LazyTextView(parent) {
    // Laid out like the editable code box it stands in for, on the window's grey as
    // read-only fields are, so it does not look as if it took typing.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Window);
}

} // namespace tintwave::app
