#include "app/CodeView.h"

namespace tintwave::app {

CodeView::CodeView(QWidget* parent)
    : LazyTextView(parent) {
    // Looks like the editable code box it stands in for.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace tintwave::app
