#include "platform/memory/MemorySettingsStore.h"

namespace tintwave::platform {

namespace {

class CountedAccess : public ExclusiveAccess {
public:
    explicit CountedAccess(int& held)
        : held_(held) {
        ++held_;
    }
    ~CountedAccess() override { --held_; }

private:
    int& held_;
};

} // namespace

MemorySettingsStore::MemorySettingsStore(NoticeHandler onNotice)
    : onNotice_(std::move(onNotice)) {
}

QString MemorySettingsStore::GetSetting(const QString& application, const QString& section,
                                        const QString& key) {
    return data_.value(application).value(section).value(key);
}

void MemorySettingsStore::SaveSetting(const QString& application, const QString& section,
                                      const QString& key, const QString& value) {
    if (refuseWrites) {
        notify(QStringLiteral("The settings cannot be written."));
        return;
    }
    if (locksHeld == 0) {
        ++unlockedWrites;
    }
    data_[application][section][key] = value;
    log << QStringLiteral("save %1/%2/%3=%4").arg(application, section, key, value);
}

void MemorySettingsStore::DeleteSetting(const QString& application, const QString& section) {
    if (refuseWrites) {
        notify(QStringLiteral("The settings cannot be written."));
        return;
    }
    if (locksHeld == 0) {
        ++unlockedWrites;
    }
    data_[application].remove(section);
    log << QStringLiteral("delete %1/%2").arg(application, section);
}

void MemorySettingsStore::sync() {
    ++syncCount;
}

std::unique_ptr<ExclusiveAccess> MemorySettingsStore::lockExclusive(const QString&) {
    if (refuseLock) {
        notify(QStringLiteral("The settings are locked by another copy."));
        return nullptr;
    }
    return std::make_unique<CountedAccess>(locksHeld);
}

bool MemorySettingsStore::hasSection(const QString& application, const QString& section) const {
    return data_.value(application).contains(section);
}

bool MemorySettingsStore::hasKey(const QString& application, const QString& section,
                                 const QString& key) const {
    return data_.value(application).value(section).contains(key);
}

QStringList MemorySettingsStore::sections(const QString& application) const {
    return data_.value(application).keys();
}

void MemorySettingsStore::notify(const QString& notice) {
    notices << notice;
    if (onNotice_) {
        onNotice_(notice);
    }
}

} // namespace tintwave::platform
