#pragma once

#include "color/ColorValue.h"

#include <QString>
#include <optional>

namespace tintwave::platform {

// Modal dialogs the commands open. Every dialog reports a cancel as an empty optional
// (or empty text), so a cancelled command ends with nothing changed.

class InputPrompt {
public:
    virtual ~InputPrompt() = default;
    // The text typed; empty text when the user cancels.
    virtual QString getText(const QString& prompt, const QString& title,
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
    // A modal message with one OK button and no icon.
    virtual void show(const QString& text, const QString& title) = 0;
};

} // namespace tintwave::platform
