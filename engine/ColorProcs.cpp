#include "engine/ColorProcs.h"

#include "color/ColorProcs.h"
#include "engine/Rounding.h"

#include <cstdint>

namespace tintwave::engine {

int roundHalfEven(double component) {
    return detail::roundHalfEven(component);
}

QString hexPair(double component) {
    // A negative value would be written as its 32-bit two's complement; the gradient
    // never produces one because it takes absolute values.
    const auto value = static_cast<std::uint32_t>(roundHalfEven(component));
    QString digits = QString::number(value, 16).toUpper();
    if (digits.size() == 1) {
        digits.prepend(QLatin1Char('0'));
    }
    return digits;
}

QString colorCode(double r, double g, double b) {
    return QLatin1Char('#') + hexPair(r) + hexPair(g) + hexPair(b);
}

ColorValue packRounded(double r, double g, double b) {
    return color::rgb(roundHalfEven(r), roundHalfEven(g), roundHalfEven(b));
}

} // namespace tintwave::engine
