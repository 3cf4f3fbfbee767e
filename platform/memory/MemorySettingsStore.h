#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace tintwave::platform {

// A settings store held in memory, for tests. It records every write and delete in
// order, so tests can pin the exact sequence of store operations.
class MemorySettingsStore : public SettingsStore {
public:
    QString GetSetting(const QString& application, const QString& section,
                       const QString& key) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section) override;
    void sync() override;
    QString takeNotice() override;
    // Counts holders; refused (with pendingNotice set) while refuseLock is true.
    std::unique_ptr<ExclusiveAccess> lockExclusive(const QString& application) override;

    bool hasSection(const QString& application, const QString& section) const;
    bool hasKey(const QString& application, const QString& section, const QString& key) const;
    // Section names of one application, sorted.
    QStringList sections(const QString& application) const;

    // "save app/section/key=value" and "delete app/section", oldest first.
    QStringList log;
    // Handed out (once) by takeNotice().
    QString pendingNotice;
    int syncCount = 0;
    bool refuseLock = false;
    int locksHeld = 0;
    // Writes and deletes made while no lock was held.
    int unlockedWrites = 0;

private:
    using Section = QMap<QString, QString>;
    QMap<QString, QMap<QString, Section>> data_;
};

} // namespace tintwave::platform
