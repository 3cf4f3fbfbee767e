#pragma once

#include "color/ColorValue.h"

#include <QString>

// Prints decode and write times for every format that reads back, for text in slotValues.
void decodeTable(const QString& text, const tintwave::SlotValues& slotValues, qsizetype& sink);
