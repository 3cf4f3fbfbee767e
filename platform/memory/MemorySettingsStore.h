#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace tintwave::platform {

// A settings store held in memory, for tests. It records every write and removal in
// order, so tests can pin the exact sequence of store operations, and every notice.
class MemorySettingsStore : public SettingsStore {
public:
    explicit MemorySettingsStore(NoticeHandler onNotice = {},
                                 QString application = kSettingsApplication);

    QString value(const QString& section, const QString& key) override;
    void setValue(const QString& section, const QString& key, const QString& value) override;
    void removeSection(const QString& section) override;
    void sync() override;
    // Counts holders; refused, with a notice, while refuseLock is true.
    std::unique_ptr<ExclusiveAccess> lockExclusive() override;
    // Logs "keep damaged copy" with a notice; refused while refuseWrites is true.
    bool keepDamagedCopy() override;
    // Section names, sorted.
    QStringList sections() override;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    // Gives a notice as the real store does (for a damaged file, a failed write).
    void notify(const QString& notice);

    // "save app/section/key=value" and "delete app/section", oldest first, with the
    // application the store was made for.
    QStringList log;
    // Every notice given, oldest first; each also goes to the handler.
    QStringList notices;
    int syncCount = 0;
    bool refuseLock = false;
    // Drops every write and removal with a notice, as a store whose folder cannot be written.
    bool refuseWrites = false;
    int locksHeld = 0;
    // Writes and removals made while no lock was held.
    int unlockedWrites = 0;

private:
    // Counts a write about to be made; false when it is refused.
    bool admitWrite();

    NoticeHandler onNotice_;
    QString application_;
    using Section = QMap<QString, QString>;
    QMap<QString, Section> data_;
};

} // namespace tintwave::platform
