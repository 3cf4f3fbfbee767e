#include "platform/qt/SystemRandomSource.h"

#include <QRandomGenerator>

namespace tintwave::platform {

float SystemRandomSource::next() {
    // 24 random bits fill a float's mantissa exactly, so the largest result is
    // 1 - 2^-24 and never rounds up to 1.0f.
    constexpr quint32 kSteps = 1u << 24;
    return float(QRandomGenerator::global()->bounded(kSteps)) / float(kSteps);
}

} // namespace tintwave::platform
