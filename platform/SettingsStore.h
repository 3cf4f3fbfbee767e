#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tintwave::platform {

// The application name under which the program keeps all its settings.
inline const QString kSettingsApplication = QStringLiteral("tintwave");

// Receives, as it happens, what the user should be told about the store: an unreadable
// file that was set aside, a write that failed, a lock that could not be had. Each
// store takes one when it is made, so no notice can go unseen.
using NoticeHandler = std::function<void(const QString& notice)>;

// Held while a read-modify-write of the store must not interleave with another running
// copy's; releasing it (destroying the object) pushes the writes made meanwhile out.
class ExclusiveAccess {
public:
    virtual ~ExclusiveAccess() = default;
};

// Per-user store of one application's text values, addressed by section and key; values
// survive restarts. The application is fixed when the store is made. A missing key reads as
// empty text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual QString value(const QString& section, const QString& key) = 0;
    virtual void setValue(const QString& section, const QString& key, const QString& value) = 0;
    // Removes the whole section with all its keys.
    virtual void removeSection(const QString& section) = 0;
    // The names of the sections that hold keys, in no particular order.
    virtual QStringList sections() = 0;

    // Pushes pending writes out and picks up what other running copies wrote meanwhile.
    virtual void sync() = 0;

    // Exclusive access to the settings across running copies, for one read-modify-write:
    // sync, read, write, then release. Nothing when another copy held it for too long;
    // then a notice says so and the caller should change nothing. The default suits a
    // store that only this process sees.
    virtual std::unique_ptr<ExclusiveAccess> lockExclusive() {
        return std::make_unique<ExclusiveAccess>();
    }

    // What a reader found the settings to contradict themselves (a count of schemes the
    // file does not hold): the store handles it as a file it cannot read completely and
    // keeps a copy of the settings as they are, saying so. Call it under exclusive access,
    // before rewriting what is damaged. False when no copy was kept; then rewrite nothing.
    virtual bool keepDamagedCopy() = 0;
};

} // namespace tintwave::platform
