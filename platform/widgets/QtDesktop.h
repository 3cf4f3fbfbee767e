#pragma once

#include "platform/Clipboard.h"
#include "platform/SystemColors.h"
#include "platform/UrlOpener.h"

// Desktop facilities through Qt: the system clipboard, the default browser and the
// colours of the application palette.
namespace tintwave::platform {

class QtClipboard : public Clipboard {
public:
    void setText(const QString& text) override;
    void setRichText(const QString& html, const QString& plain) override;
    QString plainText() const override;
};

class QtUrlOpener : public UrlOpener {
public:
    bool open(const QString& url) override;
};

// kButtonFace is the palette's button colour, kWindowBackground its base (text entry
// background) colour; any other reference resolves to the window colour.
class QtSystemColors : public SystemColors {
public:
    ColorValue resolve(ColorValue color) const override;
};

} // namespace tintwave::platform
