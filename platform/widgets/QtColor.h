#pragma once

#include "color/ColorValue.h"

#include <QColor>

namespace tintwave::platform {

// A plain colour value (red in the low byte) as a QColor.
inline QColor toQColor(ColorValue plain) {
    return QColor(plain & 0xFF, (plain >> 8) & 0xFF, (plain >> 16) & 0xFF);
}

// The plain colour value of a QColor (alpha dropped).
inline ColorValue fromQColor(const QColor& c) {
    const QRgb rgb = c.rgb();
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

} // namespace tintwave::platform
