#include "output/Page.h"

#include "engine/ColorProcs.h"
#include "platform/Clipboard.h"
#include "platform/SystemColors.h"

#include <array>

namespace tintwave::output {

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 .. 0x9F; 0 where the code page
// leaves a byte undefined.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte of a BMP character, or -1 when the code page has none.
int windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == c)
            return 0x80 + i;
    }
    return -1;
}

void appendReference(QByteArray& out, char32_t codePoint) {
    out += "&#";
    out += QByteArray::number(uint(codePoint));
    out += ';';
}

void appendHexPair(QString& out, int component) {
    constexpr char digits[] = "0123456789ABCDEF";
    out += QLatin1Char(digits[(component >> 4) & 0xF]);
    out += QLatin1Char(digits[component & 0xF]);
}

} // namespace

QString backgroundAttribute(ColorValue plainColor) {
    // Masked to the plain range so the attribute always holds exactly six digits.
    const ColorValue c = plainColor & 0xFFFFFF;
    QString attribute = QStringLiteral(" bgcolor=\"");
    appendHexPair(attribute, engine::red(c));
    appendHexPair(attribute, engine::green(c));
    appendHexPair(attribute, engine::blue(c));
    attribute += QLatin1Char('"');
    return attribute;
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            appendReference(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            appendReference(out, 0xFFFD); // a lone half of a pair stands for no character
        } else if (const int byte = windows1252Byte(c); byte >= 0) {
            out += char(byte);
        } else {
            appendReference(out, c);
        }
    }
    return out;
}

QByteArray buildPage(const QString& code, ColorValue background,
                     const platform::SystemColors& colors) {
    // A system colour reference has no digits of its own: the literal red/green/blue
    // split of a negative value is meaningless, so it is resolved to the colour it shows.
    const ColorValue plain = isSystemColor(background) ? colors.resolve(background) : background;

    QByteArray page;
    page.reserve(code.size() + 128);
    page += "<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n<body";
    page += backgroundAttribute(plain).toLatin1();
    page += ">\r\n";
    page += toWindows1252(code);
    page += "\r\n</body>\r\n</html>\r\n";
    return page;
}

platform::WriteError savePage(platform::FileWriter& writer, const QString& path,
                              const QString& code, ColorValue background,
                              const platform::SystemColors& colors) {
    return writer.writeFile(path, buildPage(code, background, colors));
}

bool copyHtml(platform::Clipboard& clipboard, const QString& code) {
    if (code.isEmpty())
        return false;
    clipboard.setText(code);
    return true;
}

} // namespace tintwave::output
