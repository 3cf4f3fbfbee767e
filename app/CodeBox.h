#pragma once

#include "app/TextStore.h"

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QStackedLayout;

namespace tintwave::app {

class CodeView;

// The code box: the code Colorize wrote, which the user may edit. A code too long to edit
// comfortably is shown read-only in a view in the box's place instead (still selectable
// and copyable), and only the one on show holds the code.
class CodeBox : public QWidget {
    Q_OBJECT
public:
    explicit CodeBox(QWidget* parent = nullptr);

    // The text on show: what Copy and Save take and the size line counts.
    QString code() const;
    // Its length in UTF-16 units, without making a string of a long one.
    qsizetype codeSize() const;
    // Shows a new code, editable or, when long, read-only; reports changed() either way.
    void setCode(const QString& code);
    // The same for a code written in pieces: a long one is shown as it is kept, packed.
    void adoptCode(TextStore code);
    // Whether the code on show can be edited; a long one is shown read-only.
    bool isEditable() const;
    // Empties the read-only view, so a long old code is gone before a new one is made.
    void dropLongCode();

Q_SIGNALS:
    // The text on show changed, by setCode or by the user's editing.
    void changed();

private:
    CodeView* longView();
    bool longShown() const;

    QStackedLayout* stack_;
    QPlainTextEdit* edit_;
    CodeView* long_ = nullptr; // built when the first long code comes
};

} // namespace tintwave::app
