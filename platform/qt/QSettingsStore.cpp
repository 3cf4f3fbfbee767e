#include "platform/qt/QSettingsStore.h"

#include "platform/qt/DamagedFileRecovery.h"
#include "platform/qt/IniSpelling.h"
#include "platform/qt/SettingsFileLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <optional>
#include <utility>

namespace tintwave::platform {

using detail::kRootSection;

namespace {

// The writes made under one exclusive access.
struct Batch {
    std::optional<bool> writable; // whether the file may be rewritten, checked once
    bool written = false;
    bool unsynced = false; // written to QSettings, not yet synced
    QStringList notices;
};

QDateTime modifiedTime(const QString& file) {
    return QFileInfo(file).fileTime(QFileDevice::FileModificationTime);
}

void setModifiedTime(const QString& file, const QDateTime& time) {
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) {
        f.setFileTime(time, QFileDevice::FileModificationTime);
    }
}

} // namespace

// The settings file (or registry branch) and what is known about its contents.
class QSettingsStore::Backend {
public:
    explicit Backend(Place place)
        : place_(std::move(place))
        , settings_(place_.open())
        , recovery_(place_.file) {
        readAllSections();
    }

    QString read(const QString& section, const QString& key) {
        return detail::textOf(settings_->value(detail::settingsKey(section, key)));
    }

    // Writes happen only within a batch, which syncs them when it ends.
    void write(const QString& section, const QString& key, const QString& value) {
        if (!mayWrite()) {
            return;
        }
        settings_->setValue(detail::settingsKey(section, key), value);
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
            settings_->remove(detail::escapedName(section));
        }
        batch_->written = batch_->unsynced = true;
    }

    void sync() { syncSettings(); }

    QStringList sections() {
        QStringList names;
        for (const QString& group : settings_->childGroups()) {
            names << detail::unescapedName(group);
        }
        if (!settings_->childKeys().isEmpty()) {
            names << kRootSection;
        }
        return names;
    }

    bool isReadable() { return recovery_.isReadable(); }

    // Within a batch: a file found damaged when opened is set aside and rewritten.
    void settleDamage() { (void)mayWrite(); }

    // Within a batch only.
    bool keepDamagedCopy() {
        if (!batch_ || !mayWrite()) {
            return false;
        }
        return recovery_.keepCopy(batch_->notices);
    }

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
    // Before QSettings first rewrites the file in a batch, a file it could not read
    // completely is set aside; when that fails nothing is written.
    bool mayWrite() {
        if (!batch_->writable) {
            bool setAside = false;
            batch_->writable = recovery_.prepareRewrite(*settings_, batch_->notices, setAside);
            // The rewrite is due even when nothing else is written.
            batch_->written = batch_->unsynced = batch_->written || setAside;
        }
        return *batch_->writable;
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
        const QDateTime before = modifiedTime(place_.file);
        syncAndReadAll();
        batch_->unsynced = false;
        if (before.isValid() && modifiedTime(place_.file) <= before) {
            setModifiedTime(place_.file, before.addMSecs(1));
        }
    }

    void rereadFile() {
        const QDateTime now = place_.file.isEmpty() ? QDateTime() : modifiedTime(place_.file);
        if (now.isValid()) {
            setModifiedTime(place_.file, now.addMSecs(1));
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
        } else {
            recovery_.noteWritten();
        }
    }

    Place place_;
    std::unique_ptr<QSettings> settings_;
    detail::DamagedFileRecovery recovery_;
    std::optional<Batch> batch_;
};

// The lock file held and the batch open on the backend; releasing writes the batch out,
// then lets the next copy in, then hands the batch's notices on.
class QSettingsStore::HeldAccess : public ExclusiveAccess {
public:
    HeldAccess(QSettingsStore& store, Backend& backend, std::unique_ptr<QLockFile> lock)
        : store_(store)
        , backend_(backend)
        , lock_(std::move(lock)) {
        backend_.beginBatch();
    }
    ~HeldAccess() override {
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

QSettingsStore::QSettingsStore(const QString& application, NoticeHandler onNotice, Access access)
    : place_(userPlace(application))
    , onNotice_(std::move(onNotice))
    , readOnly_(access == Access::ReadOnly) {
}

QSettingsStore::QSettingsStore(const IniFile& file, NoticeHandler onNotice, Access access)
    : place_(iniPlace(file.path))
    , onNotice_(std::move(onNotice))
    , readOnly_(access == Access::ReadOnly) {
}

QSettingsStore::~QSettingsStore() = default;

QSettingsStore::Place QSettingsStore::iniPlace(const QString& file) {
    return {file, [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); }, file};
}

QString QSettingsStore::fileName() const {
    return place_.file;
}

// A damaged file is dealt with as soon as it is opened, so the user hears of it at
// start-up: a read-only store says so, any other sets it aside under the lock.
QSettingsStore::Backend& QSettingsStore::backend() {
    if (!backend_) {
        backend_ = std::make_unique<Backend>(place_);
        if (!backend_->isReadable()) {
            if (readOnly_) {
                tellDamage();
            } else if (const auto access = lockExclusive()) {
                backend_->settleDamage();
            }
        }
    }
    return *backend_;
}

void QSettingsStore::tellDamage() {
    if (!std::exchange(damageTold_, true)) {
        notify(QCoreApplication::translate("tintwave::platform::QSettingsStore",
                                           "The settings file \"%1\" is damaged; Tintwave reads "
                                           "what it can and leaves the file as it is.")
                   .arg(QDir::toNativeSeparators(place_.file)));
    }
}

QStringList QSettingsStore::sections() {
    return backend().sections();
}

bool QSettingsStore::keepDamagedCopy() {
    if (readOnly_) {
        tellDamage();
        return false;
    }
    return backend().keepDamagedCopy();
}

void QSettingsStore::notify(const QString& notice) {
    if (!notice.isEmpty() && onNotice_) {
        onNotice_(notice);
    }
}

QString QSettingsStore::value(const QString& section, const QString& key) {
    return backend().read(section, key);
}

void QSettingsStore::setValue(const QString& section, const QString& key, const QString& value) {
    writeExclusively([&](Backend& b) { b.write(section, key, value); });
}

void QSettingsStore::removeSection(const QString& section) {
    writeExclusively([&](Backend& b) { b.remove(section); });
}

void QSettingsStore::writeExclusively(const std::function<void(Backend&)>& write) {
    if (readOnly_) {
        return;
    }
    Backend& b = backend();
    std::unique_ptr<ExclusiveAccess> access; // none needed inside a held access
    if (!b.inBatch() && !(access = lockExclusive())) {
        return;
    }
    write(b);
}

void QSettingsStore::sync() {
    if (backend_) {
        backend_->sync();
    }
}

void QSettingsStore::setLockTimes(int waitMs, int staleMs) {
    lockWaitMs_ = waitMs;
    staleLockMs_ = staleMs;
}

std::unique_ptr<ExclusiveAccess> QSettingsStore::lockExclusive() {
    Backend& b = backend();
    if (b.inBatch() || readOnly_) { // a read-only store changes nothing to keep apart // already
                                    // held here: the writes join the open batch
        return std::make_unique<ExclusiveAccess>();
    }
    detail::SettingsFileLock lock =
        detail::lockSettingsFile(place_.lockedFile, lockWaitMs_, staleLockMs_);
    if (!lock.refusal.isEmpty()) {
        notify(lock.refusal);
        return nullptr;
    }
    return std::make_unique<HeldAccess>(*this, b, std::move(lock.held));
}

} // namespace tintwave::platform
