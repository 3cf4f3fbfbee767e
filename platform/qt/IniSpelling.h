#pragma once

// How the settings store names things for QSettings, and how QSettings spells those names
// and values in an INI file.

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVariant>

namespace tintwave::platform::detail {

// The section QSettings reads "[general]" into: the file's root.
inline const QString kRootSection = QStringLiteral("general");

// A section or key name as a QSettings group or key: "/", "\" and "%" as %XX escapes, an
// empty name as "%", and "general" in any spelling other than the root's with its first
// letter escaped.
QString escapedName(const QString& name);

// The section or key name a QSettings group or key escapedName made.
QString unescapedName(const QString& escaped);

// The QSettings key of a key in a section; the root section's keys stand at the top.
QString settingsKey(const QString& section, const QString& key);

// A value QSettings read, as text: lists (a hand-edited "a, b") joined with ", ".
QString textOf(const QVariant& value);

// Whether a QSettings key ("<group>/<key>") needs no escaping in an INI file.
bool isPlainName(const QString& name);

// A section or key name as QSettings spells it in an INI file: "/" as "\", characters
// other than ASCII letters, digits, "_", "-" and "." as %XX or %UXXXX.
QByteArray iniSpelling(QStringView name);

// The names an INI file spells, each as "<section>/<key>" as written ("" for the root),
// split the way QSettings splits them.
QSet<QByteArray> spelledKeys(const QByteArray& bytes);

} // namespace tintwave::platform::detail
