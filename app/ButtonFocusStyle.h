#pragma once

#include <QProxyStyle>

namespace tintwave::app {

// The desktop's style with a dotted focus frame inside every push button that has the
// keyboard focus, however it got there. Styles such as Fusion mark a focused button only
// by the colour of its outline, which the default button has anyway, so the focus on
// Colorize! could not be seen.
class ButtonFocusStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Gives every window of the program, message boxes and dialogs included, the style above
// over the one in use; once.
void useButtonFocusFrames();

} // namespace tintwave::app
