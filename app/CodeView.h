#pragma once

#include "app/LazyTextView.h"

namespace tintwave::app {

// The code box for codes too long for the editable one: the same plain text, wrapped to
// the box, read-only but selectable and copyable. It lays out only what is visible, so a
// one-line code of tens of millions of characters shows at once.
class CodeView : public LazyTextView {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    void setPlainText(const QString& code) { setContent(code); }
    void setCode(TextStore code) { setContent(std::move(code)); }
    void clear() { setContent(QString()); }
};

} // namespace tintwave::app
