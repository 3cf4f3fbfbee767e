#include "platform/qt/DamagedFileRecovery.h"

#include "platform/qt/IniSpelling.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QVariantMap>
#include <optional>
#include <utility>

namespace tintwave::platform::detail {

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeTo(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every key and value QSettings reads from an INI file; nothing when it reports a format
// error. Sections are parsed lazily, so errors show only once all keys were asked for.
std::optional<QVariantMap> iniValues(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    QVariantMap values;
    for (const QString& key : settings.allKeys()) {
        values.insert(key, settings.value(key));
    }
    if (settings.status() == QSettings::FormatError) {
        return std::nullopt;
    }
    return values;
}

// Whether rewriting these bytes through QSettings loses nothing: QSettings reads them
// completely, and what it writes back reads as the same values (it writes some values it
// cannot read again, NUL characters in a list for one). QSettings keeps files it has read
// in a per-process cache and reports a format error only on the first read, so every
// verdict comes from private copies. Invalid UTF-8 counts as unreadable: it would come
// back as replacement characters.
bool readsCompletely(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes); // decoding happens on this conversion
    if (utf8.hasError()) {
        return false;
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("check.ini"));
    if (!dir.isValid() || !writeTo(copy, bytes)) {
        return true; // cannot tell; let QSettings go on as usual
    }
    const std::optional<QVariantMap> values = iniValues(copy);
    if (!values) {
        return false;
    }
    const QString rewritten = dir.filePath(QStringLiteral("rewritten.ini"));
    {
        QSettings settings(rewritten, QSettings::IniFormat);
        for (auto it = values->begin(); it != values->end(); ++it) {
            settings.setValue(it.key(), it.value());
        }
    }
    const QString reread = dir.filePath(QStringLiteral("reread.ini"));
    if (!QFile::copy(rewritten, reread)) {
        return true;
    }
    return iniValues(reread) == values;
}

// Whether a key QSettings read from a file came from a readable line: its name needs no
// escaping, or the file spells it escaped as QSettings writes it. Any other name was made
// of a damaged line (a header with a blank in it, text in another encoding, a stray "]");
// written back, it would come out percent-encoded as if it were a setting.
bool isReadableKey(const QString& key, const QSet<QByteArray>& spelled) {
    if (isPlainName(key)) {
        return true;
    }
    const qsizetype slash = key.indexOf(u'/');
    const QByteArray section = slash < 0 ? QByteArray() : iniSpelling(QStringView(key).left(slash));
    return spelled.contains(section + '/' + iniSpelling(QStringView(key).mid(slash + 1)));
}

// Writes bytes to "<path>.corrupt-<stamp>", never over an existing file. Returns the name
// used, or empty text when no copy could be made.
QString writeCopy(const QString& path, const QByteArray& bytes) {
    const QString base = path + QStringLiteral(".corrupt-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        QFile f(name);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (f.write(bytes) == bytes.size() && f.flush()) {
                return name;
            }
            f.remove();
            return {};
        }
        if (!f.exists()) {
            return {}; // the folder refuses new files
        }
    }
    return {};
}

QString copyFailedNotice(const QString& file) {
    return QCoreApplication::translate("tintwave::platform::QSettingsStore",
                                       "The settings file \"%1\" is damaged and could not be "
                                       "copied aside, so nothing was saved to it.")
        .arg(QDir::toNativeSeparators(file));
}

// Rewrites settings with only the keys read from readable lines, with their values as
// read; the original bytes are in the copy set aside.
void keepOnlyReadableKeys(QSettings& settings, const QByteArray& bytes) {
    const QSet<QByteArray> spelled = spelledKeys(bytes);
    QVariantMap kept;
    for (const QString& key : settings.allKeys()) {
        if (isReadableKey(key, spelled)) {
            kept.insert(key, settings.value(key));
        }
    }
    settings.clear();
    for (auto it = kept.cbegin(); it != kept.cend(); ++it) {
        settings.setValue(it.key(), it.value());
    }
}

} // namespace

DamagedFileRecovery::DamagedFileRecovery(QString file)
    : file_(std::move(file)) {
}

QString setAsideNotice(const QString& file, const QString& copy) {
    return QCoreApplication::translate("tintwave::platform::QSettingsStore",
                                       "The settings file \"%1\" was damaged and could not be "
                                       "read completely. A copy of it was kept as \"%2\"; "
                                       "Tintwave goes on with the settings it could read.")
        .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(copy));
}

bool DamagedFileRecovery::isReadable() {
    if (file_.isEmpty()) {
        return true;
    }
    const QByteArray bytes = fileBytes(file_);
    if (bytes.isEmpty() || bytes == knownReadable_ || readsCompletely(bytes)) {
        knownReadable_ = bytes;
        return true;
    }
    return false;
}

bool DamagedFileRecovery::prepareRewrite(QSettings& settings, QStringList& notices,
                                         bool& setAside) {
    setAside = false;
    if (isReadable()) {
        return true;
    }
    const QByteArray bytes = fileBytes(file_);
    const QString copy = writeCopy(file_, bytes);
    if (copy.isEmpty()) {
        notices << copyFailedNotice(file_);
        return false;
    }
    keepOnlyReadableKeys(settings, bytes);
    knownReadable_ = bytes; // set aside; from here on it may be rewritten
    copyKept_ = setAside = true;
    notices << setAsideNotice(file_, copy);
    return true;
}

bool DamagedFileRecovery::keepCopy(QStringList& notices) {
    if (file_.isEmpty()) {
        return true;
    }
    const QByteArray bytes = fileBytes(file_);
    if (copyKept_ || (!ownRewrite_.isNull() && bytes == ownRewrite_)) {
        return true;
    }
    const QString copy = writeCopy(file_, bytes);
    if (copy.isEmpty()) {
        notices << copyFailedNotice(file_);
        return false;
    }
    copyKept_ = true;
    notices << setAsideNotice(file_, copy);
    return true;
}

void DamagedFileRecovery::noteWritten() {
    if (!file_.isEmpty()) {
        knownReadable_ = fileBytes(file_);
        if (std::exchange(copyKept_, false)) {
            ownRewrite_ = knownReadable_;
        }
    }
}

} // namespace tintwave::platform::detail
