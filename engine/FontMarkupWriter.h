#pragma once

#include "engine/Colorize.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstring>

namespace tintwave::engine {

// Writes the classic markup: the style tags, the optional font tag with face and size,
// one <font color="#RRGGBB">…</font> per character and the closing tags, all on one line
// and nothing escaped. The output is sized once up front and filled through a raw cursor,
// so a million characters cost one allocation.
class FontMarkupWriter {
public:
    // characters: how many character() calls follow; textLength: their total UTF-16 length;
    // maxComponent: the largest rounded component any of them will carry.
    FontMarkupWriter(const ColorizeOptions& options, qsizetype characters, qsizetype textLength,
                     int maxComponent);

    // One character (a grapheme cluster) in the colour of the rounded components r, g, b.
    void character(QStringView cluster, int r, int g, int b) {
        put(u"<font color=\"#");
        putHex(r);
        putHex(g);
        putHex(b);
        put(u"\">");
        std::memcpy(cursor_, cluster.utf16(), sizeof(char16_t) * std::size_t(cluster.size()));
        cursor_ += cluster.size();
        put(u"</font>");
    }

    // Appends the closing tags and hands over the markup.
    QString finish();

private:
    template <std::size_t N> void put(const char16_t (&literal)[N]) {
        std::memcpy(cursor_, literal, sizeof(char16_t) * (N - 1));
        cursor_ += N - 1;
    }
    void put(QStringView text);
    void putHex(int component) {
        if (component >= 0 && component <= 255) {
            std::memcpy(cursor_, kHexPairs[std::size_t(component)].data(), 2 * sizeof(char16_t));
            cursor_ += 2;
        } else {
            putWideHex(component);
        }
    }
    void putWideHex(int component);

    static constexpr std::array<std::array<char16_t, 2>, 256> kHexPairs = [] {
        constexpr char16_t digits[] = u"0123456789ABCDEF";
        std::array<std::array<char16_t, 2>, 256> table{};
        for (std::size_t v = 0; v < 256; ++v) {
            table[v] = {digits[v / 16], digits[v % 16]};
        }
        return table;
    }();

    QString closing_;
    QString out_;
    char16_t* cursor_ = nullptr;
};

} // namespace tintwave::engine
