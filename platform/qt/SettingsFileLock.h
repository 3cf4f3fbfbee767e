#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace tintwave::platform::detail {

// What asking for the lock beside a settings file came to.
struct SettingsFileLock {
    // Held until reset or destroyed; none where no lock file can be made beside the file
    // (a read-only folder), in which case writing goes on unlocked and fails on its own.
    std::unique_ptr<QLockFile> held;
    // Not empty when another running copy kept the lock past the wait: the notice that
    // says so. Then nothing may be changed.
    QString refusal;
};

// Takes "<file>.tintwave-lock" (not QSettings' own "<file>.lock", which QSettings takes
// itself while syncing), making the file's folder if need be. Waits up to waitMs for
// another running copy; a lock left by a copy that died is taken over at once, one older
// than staleMs in any case.
SettingsFileLock lockSettingsFile(const QString& file, int waitMs, int staleMs);

} // namespace tintwave::platform::detail
