#include "output/Page.h"

#include "color/ColorProcs.h"
#include "platform/Clipboard.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

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
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

// Writes text in Windows-1252 at the end of out, characters outside it as decimal
// references, then leaves room for spare more bytes. Written through a raw pointer:
// pages of megabytes of code go through here. Every UTF-16 unit gives at least one
// byte, so the buffer only has to grow for references.
void appendWithSpare(QByteArray& out, QStringView text, qsizetype spare) {
    const qsizetype n = text.size();
    const char16_t* in = text.utf16();
    qsizetype len = out.size();
    out.resize(len + n + spare);
    char* d = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        // Four ASCII characters at a time, the common case of markup.
        for (std::uint64_t w; i + 4 <= n; i += 4, len += 4) {
            std::memcpy(&w, in + i, sizeof w);
            if (w & 0xFF80FF80FF80FF80u) {
                break;
            }
            d[len] = char(w);
            d[len + 1] = char(w >> 16);
            d[len + 2] = char(w >> 32);
            d[len + 3] = char(w >> 48);
        }
        if (i == n) {
            break;
        }
        const char16_t c = in[i];
        if (const int byte = windows1252Byte(c); byte >= 0) {
            d[len++] = char(byte);
            continue;
        }
        char32_t codePoint = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            codePoint = QChar::surrogateToUcs4(c, in[++i]);
        } else if (QChar::isSurrogate(c)) {
            codePoint = 0xFFFD; // a lone half of a pair stands for no character
        }
        char reference[16] = "&#";
        char* end =
            std::to_chars(reference + 2, reference + sizeof reference, uint32_t(codePoint)).ptr;
        *end++ = ';';
        const qsizetype size = end - reference;
        const qsizetype needed = len + size + (n - i - 1) + spare;
        if (needed > out.size()) {
            out.resize(std::max(needed, out.size() * 2));
            d = out.data();
        }
        std::memcpy(d + len, reference, std::size_t(size));
        len += size;
    }
    out.truncate(len);
}

} // namespace

QString backgroundAttribute(ColorValue plainColor) {
    // Masked to the plain range so the attribute always holds exactly six digits.
    const ColorValue c = plainColor & 0xFFFFFF;
    char16_t digits[6];
    char16_t* end = color::writeHex(color::red(c), digits);
    end = color::writeHex(color::green(c), end);
    end = color::writeHex(color::blue(c), end);
    return QStringLiteral(" bgcolor=\"%1\"").arg(QStringView(digits, end));
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    appendWithSpare(out, text, 0);
    return out;
}

void appendWindows1252(QByteArray& out, QStringView text) {
    appendWithSpare(out, text, 0);
}

QByteArray pageHead(ColorValue background, const platform::SystemColors& colors) {
    // A system colour reference has no digits of its own: the literal red/green/blue
    // split of a negative value is meaningless, so it is resolved to the colour it shows.
    const ColorValue plain = isSystemColor(background) ? colors.resolve(background) : background;
    QByteArray head = "<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n<body";
    head += backgroundAttribute(plain).toLatin1();
    head += ">\r\n";
    return head;
}

QByteArray pageTail() {
    return QByteArrayLiteral("\r\n</body>\r\n</html>\r\n");
}

QByteArray buildPage(const QString& code, ColorValue background,
                     const platform::SystemColors& colors) {
    const QByteArray tail = pageTail();
    QByteArray page = pageHead(background, colors);
    page.reserve(page.size() + code.size() + tail.size());
    appendWithSpare(page, code, tail.size());
    page += tail;
    return page;
}

platform::WriteError savePage(platform::FileWriter& writer, const QString& path,
                              const QString& code, ColorValue background,
                              const platform::SystemColors& colors) {
    return writer.writeFile(path, buildPage(code, background, colors));
}

QByteArray buildTextFile(const QString& code) {
    return code.toUtf8() + '\n';
}

platform::WriteError saveText(platform::FileWriter& writer, const QString& path,
                              const QString& code) {
    return writer.writeFile(path, buildTextFile(code));
}

bool copyHtml(platform::Clipboard& clipboard, const QString& code) {
    if (code.isEmpty()) {
        return false;
    }
    clipboard.setText(code);
    return true;
}

void copyRichText(platform::Clipboard& clipboard, const QString& spanCode, const QString& plain) {
    clipboard.setRichText(QStringLiteral("<meta charset=\"utf-8\">") + spanCode, plain);
}

} // namespace tintwave::output
