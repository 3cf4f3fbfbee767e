#include "platform/qt/IniSpelling.h"

#include <QStringList>
#include <algorithm>

namespace tintwave::platform::detail {

namespace {

// Whether QSettings writes this character of a name as it is.
bool isPlainChar(char16_t u) {
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'-' || u == u'.';
}

} // namespace

// "/" and "\" would nest groups, an empty name would mean the root, and "General" in any
// other spelling than "general" would collide with the root on reading.
QString escapedName(const QString& name) {
    if (name.isEmpty()) {
        return QStringLiteral("%");
    }
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (c == u'%' || c == u'/' || c == u'\\') {
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c;
        }
    }
    if (out.compare(kRootSection, Qt::CaseInsensitive) == 0) {
        out.replace(0, 1, QStringLiteral("%%1").arg(out[0].unicode(), 2, 16).toUpper());
    }
    return out;
}

QString unescapedName(const QString& escaped) {
    if (escaped == QLatin1String("%")) {
        return {};
    }
    return QString::fromUtf8(QByteArray::fromPercentEncoding(escaped.toUtf8()));
}

QString settingsKey(const QString& section, const QString& key) {
    if (section == kRootSection) {
        return escapedName(key);
    }
    return escapedName(section) + QLatin1Char('/') + escapedName(key);
}

// A list with an "@" element (QSettings writes "@String(...)" for text with NUL
// characters) reads as a variant list, joined the same way.
QString textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant& part : value.toList()) {
            parts << part.toString();
        }
        return parts.join(QStringLiteral(", "));
    }
    return value.toString();
}

bool isPlainName(const QString& name) {
    return std::all_of(name.cbegin(), name.cend(),
                       [](QChar c) { return c == u'/' || isPlainChar(c.unicode()); });
}

QByteArray iniSpelling(QStringView name) {
    QByteArray out;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'/') {
            out += '\\';
        } else if (isPlainChar(u)) {
            out += char(u);
        } else {
            const int digits = u <= 0xFF ? 2 : 4;
            out += (digits == 2 ? "%" : "%U") +
                   QByteArray::number(u, 16).toUpper().rightJustified(digits, '0');
        }
    }
    return out;
}

// A header runs to its "]" or the end of its line. Lines that continue a quoted value may
// add names QSettings did not read; that only keeps more.
QSet<QByteArray> spelledKeys(const QByteArray& bytes) {
    QSet<QByteArray> keys;
    QByteArray section;
    for (QByteArray line : QByteArray(bytes).replace('\r', '\n').split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            section = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
            if (section.compare("general", Qt::CaseInsensitive) == 0) {
                section.clear();
            }
        } else if (const qsizetype eq = line.indexOf('='); eq > 0) {
            keys.insert(section + '/' + line.left(eq).trimmed());
        }
    }
    return keys;
}

} // namespace tintwave::platform::detail
