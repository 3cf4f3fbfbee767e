#include "platform/widgets/QtDesktop.h"

#include "platform/widgets/QtColor.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMimeData>
#include <QPalette>
#include <QUrl>

namespace tintwave::platform {

void QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void QtClipboard::setRichText(const QString& html, const QString& plain) {
    auto* data = new QMimeData; // the clipboard takes it over
    data->setHtml(html);
    data->setText(plain);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data);
}

QString QtClipboard::plainText() const {
    return QGuiApplication::clipboard()->text();
}

bool QtUrlOpener::open(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

ColorValue QtSystemColors::resolve(ColorValue color) const {
    if (!isSystemColor(color)) {
        return color;
    }
    const QPalette palette = QApplication::palette();
    switch (color) {
    case kButtonFace:
        return fromQColor(palette.color(QPalette::Button));
    case kWindowBackground:
        return fromQColor(palette.color(QPalette::Base));
    default:
        return fromQColor(palette.color(QPalette::Window));
    }
}

} // namespace tintwave::platform
