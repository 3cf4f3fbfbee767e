#pragma once

// Shared by the engine tests: palettes, colour codes and options from short descriptions.

#include "engine/Colorize.h"

#include <QList>
#include <QString>

namespace tintwave::engine::testing {

// The colours in slots 0, 1, ...; every other slot empty.
inline SlotValues slotsWith(const QList<int>& colors) {
    SlotValues values;
    values.fill(kButtonFace);
    for (qsizetype i = 0; i < colors.size(); ++i)
        values[std::size_t(i)] = colors[i];
    return values;
}

// "#RRGGBB" to the packed slot value, and back.
inline ColorValue packed(const QString& code) {
    const uint v = code.mid(1).toUInt(nullptr, 16);
    return ColorValue(((v >> 16) & 255) | (v & 0xFF00) | ((v & 255) << 16));
}
inline QString codeOf(ColorValue c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 255, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// styles: c, b, i, u for the four boxes, m for merging, e for the even spread.
inline ColorizeOptions optionsFor(const QString& format, const QString& styles,
                                  const QString& face = QStringLiteral("None"),
                                  const QString& size = QStringLiteral("None")) {
    ColorizeOptions o;
    o.output.format = *parseFormat(format);
    o.face = face;
    o.size = size;
    o.center = styles.contains(u'c');
    o.bold = styles.contains(u'b');
    o.italic = styles.contains(u'i');
    o.underline = styles.contains(u'u');
    o.output.merge = styles.contains(u'm');
    o.output.spread = styles.contains(u'e') ? Spread::Even : Spread::Classic;
    return o;
}

} // namespace tintwave::engine::testing
