#include "app/WindowPlacement.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace tintwave::app {

namespace {

// The width a push button's caption needs: its text with the style's button margin clear
// of the frame on both sides. (The style's size hint also has a minimum width for buttons,
// which the small arrow buttons are not meant to have.)
int captionWidth(const QPushButton* button) {
    const QStyle* style = button->style();
    const int padding = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) +
                        style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 2 * padding;
}

} // namespace

int toPixels(double twips) {
    return int(std::lround(twips / kTwipsPerPixel));
}

QRect toPixels(const QRect& twips) {
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
            toPixels(twips.height())};
}

void fitToContents(QWidget* client) {
    const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (qobject_cast<QAbstractScrollArea*>(control) ||
            control->findChild<QAbstractScrollArea*>()) {
            continue;
        }
        QRect box = control->geometry();
        if (const auto* button = qobject_cast<QPushButton*>(control)) {
            const int width =
                std::max(box.width(), button->text().size() > 1 ? captionWidth(button) : 0);
            const auto free = [&](const QRect& wider) {
                return client->rect().contains(wider) &&
                       std::none_of(controls.begin(), controls.end(), [&](QWidget* other) {
                           return other != control && other->geometry().intersects(wider);
                       });
            };
            // To the right where there is room, else to the left.
            QRect right = box, left = box;
            right.setWidth(width);
            left.setLeft(box.right() + 1 - width);
            box = free(right) ? right : free(left) ? left : box;
        } else {
            const QSize wanted = control->sizeHint();
            box.setWidth(std::max(box.width(), wanted.width()));
            if (const int extra = wanted.height() - box.height(); extra > 0) {
                box.moveTop(qobject_cast<QLabel*>(control) ? box.top() : box.top() - extra / 2);
                box.setHeight(wanted.height());
            }
        }
        control->setGeometry(box);
    }
}

int widthForCaption(const QWidget* window, int designedWidth) {
    QFont bold = window->font();
    bold.setBold(true);
    const int square = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return std::max(designedWidth,
                    QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 5 * square);
}

QPoint centredOver(const QRect& area, const QSize& outer, Centring centring) {
    const auto start = [centring](int from, int areaSize, int boxSize) {
        switch (centring) {
        case Centring::RoomUp:
            return from + int(std::ceil((areaSize - boxSize) / 2.0));
        case Centring::HalvesDown:
            return from + areaSize / 2 - boxSize / 2;
        case Centring::RoomDown:
            break;
        }
        return from + (areaSize - boxSize) / 2;
    };
    return {start(area.x(), area.width(), outer.width()),
            start(area.y(), area.height(), outer.height())};
}

} // namespace tintwave::app
