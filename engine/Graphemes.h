#pragma once

#include <QStringView>
#include <vector>

namespace tintwave::engine {

// Start offsets (UTF-16 code units) of the user-perceived characters of text, followed
// by text.size() as a final sentinel; an empty text gives {0}. Text in which no code
// unit can join a neighbour (ASCII and Latin text below U+0300, without CR) takes a fast
// path with one character per code unit.
std::vector<qsizetype> graphemeBoundaries(QStringView text);

// Whether that fast path applies: every code unit of text is a character of its own.
bool eachUnitIsACharacter(QStringView text);

} // namespace tintwave::engine
