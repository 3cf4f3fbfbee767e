#include "platform/qt/QSettingsStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QVariantMap>
#include <algorithm>
#include <optional>
#include <utility>

namespace tintwave::platform {

namespace {

// The section QSettings reads "[general]" into: the file's root.
const QString kRootSection = QStringLiteral("general");

// Section and key names as QSettings names: "/" and "\" would nest groups, an empty name
// would mean the root, and "General" in any other spelling than "general" would collide
// with the root on reading, so those are written as %XX escapes ("%" itself included).
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

QString qtKey(const QString& section, const QString& key) {
    if (section == kRootSection) {
        return escapedName(key);
    }
    return escapedName(section) + QLatin1Char('/') + escapedName(key);
}

// A value as text. A hand-edited "a, b" reads back as a list; it is joined again. A list
// with an "@" element (QSettings writes "@String(...)" for text with NUL characters)
// reads as a variant list, joined the same way.
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

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

bool writeTo(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
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

// Whether QSettings writes this character of a name as it is.
bool isPlainChar(char16_t u) {
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'-' || u == u'.';
}

// Whether a key with its section ("/" between) needs no escaping in an INI file.
bool isPlainName(const QString& name) {
    return std::all_of(name.cbegin(), name.cend(),
                       [](QChar c) { return c == u'/' || isPlainChar(c.unicode()); });
}

// A section or key name as QSettings spells it in an INI file: "/" as "\", characters
// other than ASCII letters, digits, "_", "-" and "." as %XX or %UXXXX.
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

// The names an INI file spells, each as "<section>/<key>" as written ("" for the root),
// split the way QSettings splits them: a header runs to its "]" or the end of its line.
// Lines that continue a quoted value may add names QSettings did not read; that only
// keeps more.
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
QString keepCopy(const QString& path, const QByteArray& bytes) {
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

// The writes made under one exclusive access.
struct Batch {
    std::optional<bool> writable; // whether the file may be rewritten, checked once
    bool written = false;
    bool unsynced = false; // written to QSettings, not yet synced
    QStringList notices;
};

} // namespace

// One settings file (or registry branch) and what is known about its contents.
class QSettingsStore::Backend {
public:
    explicit Backend(Place place)
        : place_(std::move(place))
        , settings_(place_.open()) {
        readAllSections();
    }

    QString read(const QString& section, const QString& key) {
        return textOf(settings_->value(qtKey(section, key)));
    }

    // Writes happen only within a batch, which syncs them when it ends.
    void write(const QString& section, const QString& key, const QString& value) {
        if (!mayWrite()) {
            return;
        }
        settings_->setValue(qtKey(section, key), value);
        batch_->written = batch_->unsynced = true;
    }

    void remove(const QString& section) {
        if (!mayWrite()) {
            return;
        }
        if (section == kRootSection) {
            // The root also holds the other sections as groups; only its own keys go.
            for (const QString& key : settings_->childKeys()) {
                settings_->remove(key);
            }
        } else {
            settings_->remove(escapedName(section));
        }
        batch_->written = batch_->unsynced = true;
    }

    void sync() { syncSettings(); }

    // Between these two, writes stay in memory and the file is checked only once. A batch
    // runs under the lock and starts from the file as it is.
    bool inBatch() const { return batch_.has_value(); }
    void beginBatch() {
        batch_.emplace();
        rereadFile();
    }
    // Writes the batch out; returns the notices of its writes, one per line.
    QString endBatch() {
        if (batch_->written) {
            finishWrite();
        }
        const QString notices = batch_->notices.join(u'\n');
        batch_.reset();
        return notices;
    }

private:
    bool mayWrite() {
        if (!batch_->writable) {
            batch_->writable = guardUnreadableFile();
        }
        return *batch_->writable;
    }

    // Before QSettings rewrites the file, makes sure nothing it could not read is lost:
    // such a file is copied aside first. False when that copy failed; then nothing is
    // written and the original stays as it is.
    bool guardUnreadableFile() {
        const QString& path = place_.file;
        if (path.isEmpty()) {
            return true;
        }
        const QByteArray bytes = fileBytes(path);
        if (bytes.isEmpty() || bytes == knownReadable_ || readsCompletely(bytes)) {
            knownReadable_ = bytes;
            return true;
        }
        const QString copy = keepCopy(path, bytes);
        if (copy.isEmpty()) {
            batch_->notices << QCoreApplication::translate(
                                   "tintwave::platform::QSettingsStore",
                                   "The settings file \"%1\" is damaged and could not "
                                   "be copied aside, so nothing was saved to it.")
                                   .arg(QDir::toNativeSeparators(path));
            return false;
        }
        keepOnlyReadableKeys(bytes);
        knownReadable_ = bytes; // set aside; from here on it may be rewritten
        batch_->notices << QCoreApplication::translate(
                               "tintwave::platform::QSettingsStore",
                               "The settings file \"%1\" was damaged and could not be "
                               "read completely. A copy of it was kept as \"%2\"; "
                               "Tintwave goes on with the settings it could read.")
                               .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy));
        return true;
    }

    // The file is rewritten with only the keys read from readable lines, with their values
    // as read; the original bytes are in the copy set aside.
    void keepOnlyReadableKeys(const QByteArray& bytes) {
        const QSet<QByteArray> spelled = spelledKeys(bytes);
        QVariantMap kept;
        for (const QString& key : settings_->allKeys()) {
            if (isReadableKey(key, spelled)) {
                kept.insert(key, settings_->value(key));
            }
        }
        settings_->clear();
        for (auto it = kept.cbegin(); it != kept.cend(); ++it) {
            settings_->setValue(it.key(), it.value());
        }
    }

    // QSettings reads the file again only when its size or modification time (to the
    // millisecond) differs from what it noted, so two things could leave a running copy
    // with an old view that its next write would put back over other copies' changes:
    // - file systems stamp times coarsely (to a few milliseconds on Linux), so another
    //   copy's removal and add of equal size within one tick look like no change;
    // - QSettings also reads outside the lock (on opening, on its deferred sync) and
    //   notes size and time in a separate look that may already see the next write.
    // So every write leaves the file newer than before, and each exclusive access starts
    // by advancing the time once more, making QSettings read the file afresh while no
    // other copy can write. Both run under the lock, so times only ever increase.
    void syncSettings() {
        const bool unsynced = batch_ && batch_->unsynced;
        if (!unsynced || place_.file.isEmpty()) {
            syncAndReadAll();
            return;
        }
        const QDateTime before = modifiedTime();
        syncAndReadAll();
        batch_->unsynced = false;
        if (before.isValid() && modifiedTime() <= before) {
            setModifiedTime(before.addMSecs(1));
        }
    }

    void rereadFile() {
        const QDateTime now = place_.file.isEmpty() ? QDateTime() : modifiedTime();
        if (now.isValid()) {
            setModifiedTime(now.addMSecs(1));
        }
        syncAndReadAll();
    }

    // QSettings parses a section of the file only when a key in it is first asked for, and
    // finds that section by name order, so a header like "[scheme3\a]" (a group within
    // scheme3) hides what "[scheme3]" holds until a write parses everything at once. Parsing
    // all after each read shows the values the next write keeps.
    void readAllSections() { (void)settings_->childKeys(); }
    void syncAndReadAll() {
        settings_->sync();
        readAllSections();
    }

    QDateTime modifiedTime() const {
        return QFileInfo(place_.file).fileTime(QFileDevice::FileModificationTime);
    }

    void setModifiedTime(const QDateTime& time) {
        QFile file(place_.file);
        if (file.open(QIODevice::ReadOnly)) {
            file.setFileTime(time, QFileDevice::FileModificationTime);
        }
    }

    void finishWrite() {
        syncSettings();
        if (settings_->status() == QSettings::AccessError) {
            batch_->notices << QCoreApplication::translate(
                                   "tintwave::platform::QSettingsStore",
                                   "Tintwave could not save its settings to \"%1\": "
                                   "the file or its folder cannot be written.")
                                   .arg(QDir::toNativeSeparators(settings_->fileName()));
            // The error stays with a QSettings object for good; a fresh one shows
            // whether later writes succeed.
            settings_.reset();
            settings_ = place_.open();
            readAllSections();
        } else if (!place_.file.isEmpty()) {
            knownReadable_ = fileBytes(place_.file);
        }
    }

    Place place_;
    std::unique_ptr<QSettings> settings_;
    QByteArray knownReadable_; // the file's bytes when last found readable
    std::optional<Batch> batch_;
};

// The lock file held and the batch open on one backend; releasing writes the batch out,
// then lets the next copy in, then hands the batch's notices on.
class QSettingsStore::FileLock : public ExclusiveAccess {
public:
    FileLock(QSettingsStore& store, Backend& backend, std::unique_ptr<QLockFile> lock)
        : store_(store)
        , backend_(backend)
        , lock_(std::move(lock)) {
        backend_.beginBatch();
    }
    ~FileLock() override {
        const QString notices = backend_.endBatch();
        if (lock_) {
            lock_->unlock();
        }
        // Only now: the user may take a while to read it, and other copies must not wait.
        store_.notify(notices);
    }

private:
    QSettingsStore& store_;
    Backend& backend_;
    std::unique_ptr<QLockFile> lock_;
};

QSettingsStore::QSettingsStore(NoticeHandler onNotice)
    : placeOf_(&QSettingsStore::userPlace)
    , onNotice_(std::move(onNotice)) {
}

QSettingsStore::QSettingsStore(const QString& iniFile, NoticeHandler onNotice)
    : placeOf_([iniFile](const QString&) { return iniPlace(iniFile); })
    , onNotice_(std::move(onNotice)) {
}

QSettingsStore::~QSettingsStore() = default;

QSettingsStore::Place QSettingsStore::iniPlace(const QString& file) {
    return {file, [file] {
                return std::make_unique<QSettings>(file, QSettings::IniFormat);
            }};
}

QString QSettingsStore::fileName(const QString& application) const {
    return placeOf_(application).file;
}

QSettingsStore::Backend& QSettingsStore::backend(const QString& application) {
    std::unique_ptr<Backend>& b = backends_[application];
    if (!b) {
        b = std::make_unique<Backend>(placeOf_(application));
    }
    return *b;
}

void QSettingsStore::notify(const QString& notice) {
    if (!notice.isEmpty() && onNotice_) {
        onNotice_(notice);
    }
}

QString QSettingsStore::GetSetting(const QString& application, const QString& section,
                                   const QString& key) {
    return backend(application).read(section, key);
}

void QSettingsStore::SaveSetting(const QString& application, const QString& section,
                                 const QString& key, const QString& value) {
    writeExclusively(application, [&](Backend& b) { b.write(section, key, value); });
}

void QSettingsStore::DeleteSetting(const QString& application, const QString& section) {
    writeExclusively(application, [&](Backend& b) { b.remove(section); });
}

void QSettingsStore::writeExclusively(const QString& application,
                                      const std::function<void(Backend&)>& write) {
    Backend& b = backend(application);
    std::unique_ptr<ExclusiveAccess> access; // none needed inside a held access
    if (!b.inBatch() && !(access = lockExclusive(application))) {
        return;
    }
    write(b);
}

void QSettingsStore::sync() {
    for (auto& [application, b] : backends_) {
        b->sync();
    }
}

void QSettingsStore::setLockTimes(int waitMs, int staleMs) {
    lockWaitMs_ = waitMs;
    staleLockMs_ = staleMs;
}

std::unique_ptr<ExclusiveAccess> QSettingsStore::lockExclusive(const QString& application) {
    Backend& b = backend(application);
    if (b.inBatch()) { // already held here: the writes join the open batch
        return std::make_unique<ExclusiveAccess>();
    }
    QString file = fileName(application);
    if (file.isEmpty()) { // the registry: lock a file in the temporary folder instead
        file = QDir::temp().filePath(application);
    }
    auto lock = std::make_unique<QLockFile>(file + QStringLiteral(".tintwave-lock"));
    lock->setStaleLockTime(staleLockMs_);
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!lock->tryLock(lockWaitMs_)) {
        if (lock->error() == QLockFile::LockFailedError) {
            notify(QCoreApplication::translate(
                       "tintwave::platform::QSettingsStore",
                       "Tintwave could not change its settings: another running copy "
                       "kept \"%1\" locked. Nothing was changed.")
                       .arg(QDir::toNativeSeparators(file)));
            return nullptr;
        }
        // No lock file can be made beside the settings (a read-only folder): go on
        // unlocked; a write there fails and says so on its own.
        lock.reset();
    }
    return std::make_unique<FileLock>(*this, b, std::move(lock));
}

} // namespace tintwave::platform
