#include "engine/Graphemes.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <numeric>

namespace tintwave::engine {

namespace {

// Below U+0300 (the combining diacritical marks) no code unit extends, prefixes or joins
// its neighbour, so every one is a character of its own. The one exception is CR, which
// forms a single character with a following LF; text containing it goes the slow way.
bool eachUnitStandsAlone(QStringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x300 && c.unicode() != u'\r'; });
}

// A regional indicator symbol (half of a flag), U+1F1E6 .. U+1F1FF, starting at i.
bool regionalIndicatorAt(QStringView text, qsizetype i) {
    return i + 1 < text.size() && text[i].unicode() == 0xD83C && text[i + 1].unicode() >= 0xDDE6 &&
           text[i + 1].unicode() <= 0xDDFF;
}

// Qt 6.4's finder miscounts regional indicators that follow a pictographic emoji ("😀🇩🇪"
// comes out as three characters, the flag split in two). Within every run of them the
// boundaries are set again so the run falls into pairs from its start; what comes before
// and after the run is left as the finder decided.
void pairRegionalIndicators(QStringView text, std::vector<bool>& boundary) {
    for (qsizetype i = 0; i < text.size();) {
        if (!regionalIndicatorAt(text, i)) {
            ++i;
            continue;
        }
        const qsizetype runStart = i;
        while (regionalIndicatorAt(text, i)) {
            if (i > runStart) {
                boundary[std::size_t(i)] = (i - runStart) % 4 == 0;
            }
            boundary[std::size_t(i + 1)] = false; // between the two halves of one symbol
            i += 2;
        }
    }
}

} // namespace

bool eachUnitIsACharacter(QStringView text) {
    return eachUnitStandsAlone(text);
}

std::vector<qsizetype> graphemeBoundaries(QStringView text) {
    std::vector<qsizetype> boundaries;
    if (eachUnitStandsAlone(text)) {
        boundaries.resize(static_cast<std::size_t>(text.size()) + 1);
        std::iota(boundaries.begin(), boundaries.end(), qsizetype{0});
        return boundaries;
    }

    std::vector<bool> boundary(std::size_t(text.size()) + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        boundary[std::size_t(at)] = true;
    }
    pairRegionalIndicators(text, boundary);
    boundary.front() = boundary.back() = true;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (boundary[std::size_t(at)]) {
            boundaries.push_back(at);
        }
    }
    return boundaries;
}

} // namespace tintwave::engine
