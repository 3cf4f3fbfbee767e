#pragma once

#include <QDialog>
#include <QPixmap>

namespace tintwave::platform {
class UrlOpener;
}

namespace tintwave::app {

// The splash and About window: product name, credit line, e-mail and web address over a
// rainbow. A click anywhere but the web address closes it and shows the main window;
// the web address opens in the default browser and leaves the window open. Shown
// modeless at start (show()) and modal as About box (exec()).
class Form3 : public QDialog {
    Q_OBJECT
public:
    Form3(QWidget* mainWindow, platform::UrlOpener& urls, QWidget* parent = nullptr);

    static const char* const kCreditLine;
    static const char* const kEmail;
    static const char* const kWebAddress;
};

} // namespace tintwave::app
