#include "engine/ChatWriters.h"

#include <cstring>
#include <iterator>

namespace tintwave::engine {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
constexpr char16_t kSection = u'\u00A7';

} // namespace

MinecraftWriter::MinecraftWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , dialect_(options.output.format)
    , runs_(options) {
    const QString sign =
        dialect_ == OutputFormat::McSection ? QString(QChar(kSection)) : QStringLiteral("&");
    if (options.bold) {
        styles_ += sign + u'l';
    }
    if (options.italic) {
        styles_ += sign + u'o';
    }
    if (options.underline) {
        styles_ += sign + u'n';
    }
    if (options.output.strikethrough) {
        styles_ += sign + u'm';
    }
    if (options.output.obfuscated) {
        styles_ += sign + u'k';
    }
}

void MinecraftWriter::putWithoutSectionSigns(QStringView cluster, colorspace::Srgb8 c) {
    if (runs_.startsRun(c)) {
        putColor(c);
        runs_.open(c);
    }
    for (QChar unit : cluster) {
        if (unit.unicode() != kSection) {
            out_.put(unit.unicode());
        }
    }
    if (cluster.contains(u'&')) {
        runs_.close();
    }
}

void MinecraftWriter::putColor(colorspace::Srgb8 c) {
    char16_t* d = out_.room(14);
    const char16_t sign = dialect_ == OutputFormat::McSection ? kSection : u'&';
    *d++ = sign;
    if (dialect_ == OutputFormat::McHex) {
        *d++ = u'#';
        for (const int component : {c.red, c.green, c.blue}) {
            d = MarkupBuffer::writeHexByte(component, d);
        }
    } else {
        *d++ = u'x';
        for (const int component : {c.red, c.green, c.blue}) {
            *d++ = sign;
            *d++ = kHexDigits[component >> 4];
            *d++ = sign;
            *d++ = kHexDigits[component & 15];
        }
    }
    out_.advance(d);
    if (!styles_.isEmpty()) {
        out_.put(styles_);
    }
}

MiniMessageWriter::MiniMessageWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , wrappers_(out)
    , runs_(options) {
    wrappers_.openStyleTags(options, true);
}

JsonWriter::JsonWriter(const ColorizeOptions& options, MarkupBuffer& out)
    : out_(out)
    , runs_(options) {
    if (options.bold) {
        styles_ += QStringLiteral(",\"bold\":true");
    }
    if (options.italic) {
        styles_ += QStringLiteral(",\"italic\":true");
    }
    if (options.underline) {
        styles_ += QStringLiteral(",\"underlined\":true");
    }
    if (options.output.strikethrough) {
        styles_ += QStringLiteral(",\"strikethrough\":true");
    }
    if (options.output.obfuscated) {
        styles_ += QStringLiteral(",\"obfuscated\":true");
    }
    out_.put(u"[\"\"");
}

// The end of an object, in one piece where no style follows the colour.
void JsonWriter::close() {
    if (!open_) {
        return;
    }
    static constexpr char16_t kColor[] = u"\",\"color\":\"#";
    char16_t* d = out_.room(std::size(kColor) + 8);
    if (runs_.close()) {
        std::memcpy(d, kColor, sizeof kColor - sizeof(char16_t));
        d += std::size(kColor) - 1;
        const colorspace::Srgb8 c = runs_.color();
        for (const int component : {c.red, c.green, c.blue}) {
            d = MarkupBuffer::writeHexByte(component, d);
        }
    }
    *d++ = u'"';
    if (styles_.isEmpty()) {
        *d++ = u'}';
        out_.advance(d);
    } else {
        out_.advance(d);
        out_.put(styles_);
        out_.put(u'}');
    }
    open_ = false;
}

void JsonWriter::putEscapedUnit(char16_t u) {
    if (u < 0x20) {
        out_.put(u"\\u00");
        out_.put(kHexDigits[u >> 4]);
        out_.put(kHexDigits[u & 15]);
    } else {
        out_.put(u'\\');
        out_.put(u);
    }
}

} // namespace tintwave::engine
