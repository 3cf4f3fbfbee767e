#include "app/ColorBox.h"

#include "platform/SystemColors.h"
#include "platform/widgets/QtColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tintwave::app {

ColorBox::ColorBox(int index, const platform::SystemColors& systemColors, QWidget* parent)
    : QFrame(parent)
    , index_(index)
    , systemColors_(systemColors) {
    setObjectName(QStringLiteral("colorBox%1").arg(index));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // In the tab chain like the other controls, but a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Colour slot %1").arg(index + 1));
    describeValue();
}

void ColorBox::setValue(ColorValue value) {
    if (value == value_) {
        return;
    }
    value_ = value;
    describeValue();
    update();
}

void ColorBox::describeValue() {
    setAccessibleDescription(isSystemColor(value_)
                                 ? tr("empty")
                                 : platform::toQColor(value_).name(QColor::HexRgb).toUpper());
}

ColorValue ColorBox::shownColor() const {
    return systemColors_.resolve(value_);
}

void ColorBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QColor fill = platform::toQColor(shownColor());
        painter.fillRect(contentsRect(), fill);
        if (hasFocus()) { // dotted, in black or white, whichever stands out on the fill
            painter.setPen(QPen(fill.lightness() < 128 ? Qt::white : Qt::black, 1, Qt::DotLine));
            painter.drawRect(contentsRect().adjusted(2, 2, -3, -3));
        }
    }
    QFrame::paintEvent(event);
}

void ColorBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT mouseDown(index_, event->button(), event->globalPosition().toPoint());
}

void ColorBox::keyboardPress(Qt::MouseButton button) {
    Q_EMIT mouseDown(index_, button, mapToGlobal(QPoint(0, height())));
}

// Enter and every other key go on to the window (Enter runs Colorize there). The
// context-menu key arrives as a key even where the window system also asks for a context
// menu first; the window has none to show, so the pop-up opens once.
void ColorBox::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Space && modifiers == Qt::NoModifier) {
        keyboardPress(Qt::LeftButton);
    } else if ((event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) ||
               (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)) {
        keyboardPress(Qt::RightButton);
    } else {
        QFrame::keyPressEvent(event);
    }
}

} // namespace tintwave::app
