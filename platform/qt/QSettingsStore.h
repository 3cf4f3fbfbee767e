#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <functional>
#include <memory>

namespace tintwave::platform {

// The settings store on QSettings. Each application gets its own INI file,
// <config>/<application>/<application>.ini (on Linux $XDG_CONFIG_HOME or ~/.config);
// on Windows the settings live in the user's registry instead. The pieces live beside
// this file: the names QSettings uses (IniSpelling), the damaged-file copy
// (DamagedFileRecovery) and the lock across running copies (SettingsFileLock).
//
// Section "general" is the INI file's root, where QSettings puts the keys of a
// "[general]" header, so a hand-edited file reads as expected and the section keeps its
// name. Writes reach the file at once.
//
// A file QSettings cannot read completely is never silently rewritten: when the store
// first opens it (or before a write over a file another copy damaged later), its bytes
// are copied beside it as "<file>.corrupt-<date>-<time>" and a notice names both files;
// the file is then rewritten with only the settings read from it, without keys and
// sections QSettings made of its damaged lines. Every read sees the file parsed whole, so
// what is shown is what the rewrite keeps. A failed write gives a notice too. Notices go
// to the handler given at construction, never while the lock is held. A read-only store
// never writes: it says a file is damaged and leaves it as it is.
//
// lockExclusive() holds "<file>.tintwave-lock" (a QLockFile beside the settings file; not
// QSettings' own "<file>.lock", which QSettings takes itself while syncing). While it is
// held, writes collect in memory and reach the file in one sync when it is released, so
// a removal that renumbers thousands of schemes rewrites the file once. A write made
// without it takes it for itself. Holding it starts from the file as it is on disk, even
// when another copy's change kept the file's size and time. A lock left by a copy that
// died is taken over at once, one older than the stale time in any case.
class QSettingsStore : public SettingsStore {
public:
    // An INI file that holds the settings, in place of the user's.
    struct IniFile {
        QString path;
    };

    enum class Access { ReadWrite, ReadOnly };

    // The user's settings of one application, in their own place (userPlace()).
    QSettingsStore(const QString& application, NoticeHandler onNotice,
                   Access access = Access::ReadWrite);
    QSettingsStore(const IniFile& file, NoticeHandler onNotice, Access access = Access::ReadWrite);
    ~QSettingsStore() override;

    QString value(const QString& section, const QString& key) override;
    void setValue(const QString& section, const QString& key, const QString& value) override;
    void removeSection(const QString& section) override;
    QStringList sections() override;
    void sync() override;
    bool keepDamagedCopy() override;
    // The returned access refers to this store and must not outlive it. The notices of
    // the writes made under it are handed on together once it is released. Asked for
    // again while one is held here, it joins the one held.
    std::unique_ptr<ExclusiveAccess> lockExclusive() override;

    // How long lockExclusive() waits for another copy, and the age after which a lock
    // whose holder still runs counts as abandoned.
    void setLockTimes(int waitMs, int staleMs);

    // The file that holds the settings; empty where they are not kept in a file (the
    // Windows registry).
    QString fileName() const;

private:
    class Backend;
    class HeldAccess;

    // Where the settings live: an INI file, or, with no file, the QSettings that open()
    // makes. The lock is taken beside lockedFile.
    struct Place {
        QString file;
        std::function<std::unique_ptr<QSettings>()> open;
        QString lockedFile;
    };
    static Place iniPlace(const QString& file);

    // The user's place for an application's settings: on Windows the user's registry
    // (QSettingsStoreRegistry.cpp), elsewhere <config>/<application>/<application>.ini
    // (QSettingsStoreFile.cpp). The build compiles one of the two.
    static Place userPlace(const QString& application);

    Backend& backend();
    // Runs one write under the lock; a write made while an access is held is part of it.
    void writeExclusively(const std::function<void(Backend&)>& write);
    void notify(const QString& notice);
    // Read-only: says once that the file is damaged.
    void tellDamage();

    Place place_;
    NoticeHandler onNotice_;
    bool readOnly_;
    bool damageTold_ = false;          // read-only: the damaged file was mentioned
    std::unique_ptr<Backend> backend_; // opened on first use
    int lockWaitMs_ = 15000;
    int staleLockMs_ = 10000;
};

} // namespace tintwave::platform
