#pragma once

#include "platform/Dialogs.h"

// The modal dialogs as Qt Widgets dialogs, each shown over the active window.
namespace tintwave::platform {

// QColorDialog, opening on the current colour when it is a plain one.
class QtColorDialog : public ColorDialog {
public:
    std::optional<ColorValue> pickColor(ColorValue current) override;
};

// QFileDialog "Save As"; it asks before replacing an existing file.
class QtSaveDialog : public SaveDialog {
public:
    std::optional<QString> getSaveFileName(const QString& proposal, const QString& filter) override;
};

// QInputDialog with one line of text.
class QtInputPrompt : public InputPrompt {
public:
    std::optional<QString> getText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
};

// QMessageBox with one OK button and the icon asked for.
class QtMessageDisplay : public MessageDisplay {
public:
    void show(const QString& text, const QString& title, Icon icon) override;
};

} // namespace tintwave::platform
