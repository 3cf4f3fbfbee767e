#pragma once

#include "palette/Palette.h"

#include <QMetaType>
#include <QTest>

Q_DECLARE_METATYPE(tintwave::palette::Palette)
Q_DECLARE_METATYPE(tintwave::SlotValues)

// Failed comparisons show the ten slots, "_" for an empty one.
namespace QTest {
template <> inline char* toString(const tintwave::SlotValues& values) {
    QByteArray s = "[";
    for (tintwave::ColorValue v : values)
        s += (v == tintwave::palette::gColor ? QByteArray("_") : QByteArray::number(v)) + ' ';
    return qstrdup(s.trimmed() + "]");
}
template <> inline char* toString(const tintwave::palette::Palette& p) {
    return toString(p.values());
}
} // namespace QTest
