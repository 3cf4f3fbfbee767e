#pragma once

#include <QString>

namespace tintwave::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Clears the clipboard and puts this plain text on it.
    virtual void setText(const QString& text) = 0;
    // Clears the clipboard and puts html on it as text/html, together with plain as
    // text/plain, so a rich-text editor pastes the formatted text.
    virtual void setRichText(const QString& html, const QString& plain) = 0;
    // The plain text on the clipboard; empty when it holds none.
    virtual QString plainText() const = 0;
};

} // namespace tintwave::platform
