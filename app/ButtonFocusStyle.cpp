#include "app/ButtonFocusStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QStyleOption>

namespace tintwave::app {

void ButtonFocusStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus)) {
        return;
    }
    painter->save();
    painter->setPen(QPen(option->palette.buttonText().color(), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(
        subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(0, 0, -1, -1));
    painter->restore();
}

void useButtonFocusFrames() {
    if (!qobject_cast<ButtonFocusStyle*>(QApplication::style())) {
        QApplication::setStyle(new ButtonFocusStyle(QApplication::style()->name()));
    }
}

} // namespace tintwave::app
