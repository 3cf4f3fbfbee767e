#include "app/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace tintwave::app {

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient rainbow(0, 0, size, 0);
    const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta};
    for (int i = 0; i < 6; ++i) {
        rainbow.setColorAt(i / 5.0, stops[i]);
    }
    painter.setBrush(rainbow);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    QFont font;
    font.setBold(true);
    font.setPixelSize(size * 3 / 4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("T"));
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(drawIcon(size));
    }
    return icon;
}

} // namespace tintwave::app
