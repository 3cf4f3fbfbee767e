#pragma once

#include "color/ColorValue.h"

#include <QString>
#include <optional>

namespace tintwave::platform {

// Modal dialogs the commands open. Every dialog reports a cancel as an empty optional, so
// a cancelled command ends with nothing changed.

class InputPrompt {
public:
    virtual ~InputPrompt() = default;
    // The text typed, which may be empty; nothing when the user cancels.
    virtual std::optional<QString> getText(const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;
};

class ColorDialog {
public:
    virtual ~ColorDialog() = default;
    // A plain colour 0 .. 0xFFFFFF, or nothing when cancelled.
    virtual std::optional<ColorValue> pickColor(ColorValue current) = 0;
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> getSaveFileName(const QString& proposal,
                                                   const QString& filter) = 0;
};

class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    // Errors and notices show the warning icon; a hint at what to do first shows none.
    enum class Icon { None, Warning };
    // A modal message with one OK button.
    virtual void show(const QString& text, const QString& title, Icon icon) = 0;
};

} // namespace tintwave::platform
