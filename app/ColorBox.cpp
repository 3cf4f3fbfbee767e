#include "app/ColorBox.h"

#include "platform/SystemColors.h"
#include "platform/widgets/QtColor.h"

#include <QMouseEvent>
#include <QPainter>

namespace tintwave::app {

ColorBox::ColorBox(int index, const platform::SystemColors& systemColors, QWidget* parent)
    : QFrame(parent)
    , index_(index)
    , systemColors_(systemColors) {
    setObjectName(QStringLiteral("picColor(%1)").arg(index));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // In the tab chain like the other controls, but a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
}

void ColorBox::setValue(ColorValue value) {
    if (value == value_) {
        return;
    }
    value_ = value;
    update();
}

ColorValue ColorBox::shownColor() const {
    return systemColors_.resolve(value_);
}

void ColorBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), platform::toQColor(shownColor()));
    }
    QFrame::paintEvent(event);
}

void ColorBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT mouseDown(index_, event->button(), event->globalPosition().toPoint());
}

} // namespace tintwave::app
