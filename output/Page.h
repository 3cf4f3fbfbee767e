#pragma once

#include "color/ColorValue.h"
#include "platform/FileWriter.h"

#include <QByteArray>
#include <QString>

namespace tintwave::platform {
class Clipboard;
class SystemColors;
} // namespace tintwave::platform

// Handing the HTML code on: the clipboard and the saved page.
namespace tintwave::output {

// " bgcolor=\"RRGGBB\"" for a plain colour (no "#").
QString backgroundAttribute(ColorValue plainColor);

// The eight-line page, CR LF after every line, around code, with the background colour
// (a system reference is resolved through colors first). Encoded as Windows-1252; a
// character outside it is written as a decimal character reference ("&#128512;").
QByteArray buildPage(const QString& code, ColorValue background,
                     const platform::SystemColors& colors);

// text in Windows-1252, characters outside it as decimal character references.
QByteArray toWindows1252(const QString& text);

// The same, appended to out; text split into pieces gives the same bytes as long as no
// piece ends between the two halves of a surrogate pair.
void appendWindows1252(QByteArray& out, QStringView text);

// The page of buildPage in three parts, for code written piece by piece in between: the
// lines up to the body tag, and the lines after the code.
QByteArray pageHead(ColorValue background, const platform::SystemColors& colors);
QByteArray pageTail();

// Builds the page and writes it in one piece; an existing file is replaced only when the
// whole page was written.
platform::WriteError savePage(platform::FileWriter& writer, const QString& path,
                              const QString& code, ColorValue background,
                              const platform::SystemColors& colors);

// Code that is not HTML (BBCode, terminal escapes) as a text file: UTF-8 without a byte
// order mark, followed by one LF, the same bytes the command line writes.
QByteArray buildTextFile(const QString& code);

// Writes that text file in one piece; an existing file is replaced only when the whole
// text was written.
platform::WriteError saveText(platform::FileWriter& writer, const QString& path,
                              const QString& code);

// Puts code on the clipboard; an empty code leaves the clipboard as it was. Returns
// whether anything was copied.
bool copyHtml(platform::Clipboard& clipboard, const QString& code);

// Puts span markup on the clipboard as rich text, marked as UTF-8, with the plain text
// beside it for programs that take no HTML.
void copyRichText(platform::Clipboard& clipboard, const QString& spanCode, const QString& plain);

} // namespace tintwave::output
