#pragma once

#include "color/ColorValue.h"

#include <QFrame>

namespace tintwave::platform {
class SystemColors;
}

namespace tintwave::app {

// One palette slot on the main window (colorBox<i>): a small sunken box filled with the
// slot's colour. A system colour reference is shown as the colour it stands for, so an
// empty slot shows the button face. Reports every mouse press, not the release. From the
// keyboard, Space stands for the left button and the context-menu key or Shift+F10 for
// the right one; a dotted frame shows the focus. Screen readers hear "Colour slot n" and
// its colour.
class ColorBox : public QFrame {
    Q_OBJECT
public:
    ColorBox(int index, const platform::SystemColors& systemColors, QWidget* parent = nullptr);

    int index() const { return index_; }
    ColorValue value() const { return value_; }
    void setValue(ColorValue value);

    // The colour actually painted, after resolving a system reference.
    ColorValue shownColor() const;

Q_SIGNALS:
    void mouseDown(int index, Qt::MouseButton button, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A press of button from the keyboard, with the pop-up placed under the box.
    void keyboardPress(Qt::MouseButton button);
    void describeValue();

    const int index_;
    const platform::SystemColors& systemColors_;
    // Every box starts with the button face, which is how the palette's empty marker is
    // taken at start-up.
    ColorValue value_ = kButtonFace;
};

} // namespace tintwave::app
