#pragma once

#include "platform/SettingsStore.h"

#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace tintwave::platform {

// The settings store on QSettings. Each application gets its own INI file,
// <config>/<application>/<application>.ini (on Linux $XDG_CONFIG_HOME or ~/.config);
// on Windows the settings live in the user's registry instead.
//
// Section "general" is the INI file's root, where QSettings puts the keys of a
// "[general]" header, so a hand-edited file reads as expected and the section keeps its
// name. Writes reach the file at once.
//
// A file QSettings cannot read completely is never silently rewritten: before the first
// write over it, its bytes are copied beside it as "<file>.corrupt-<date>-<time>" and a
// notice names both files. A failed write gives a notice too.
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
    QSettingsStore();
    // Keeps every application's settings in this one INI file.
    explicit QSettingsStore(const QString& iniFile);
    ~QSettingsStore() override;

    QString GetSetting(const QString& application, const QString& section,
                       const QString& key) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section) override;
    void sync() override;
    QString takeNotice() override;
    // The returned access refers to this store and must not outlive it.
    std::unique_ptr<ExclusiveAccess> lockExclusive(const QString& application) override;

    // How long lockExclusive() waits for another copy, and the age after which a lock
    // whose holder still runs counts as abandoned.
    void setLockTimes(int waitMs, int staleMs);

    // The file that holds an application's settings; empty where they are not kept in a
    // file (the Windows registry).
    QString fileName(const QString& application) const;

private:
    class Backend;
    class FileLock;
    Backend& backend(const QString& application);
    // Runs one write under the lock; a write made while an access is held is part of it.
    void writeExclusively(const QString& application,
                          const std::function<QString(Backend&)>& write);
    void notify(const QString& notice);

    QString fixedFile_;
    std::map<QString, std::unique_ptr<Backend>> backends_; // by application
    QStringList notices_;
    int lockWaitMs_ = 15000;
    int staleLockMs_ = 10000;
};

} // namespace tintwave::platform
