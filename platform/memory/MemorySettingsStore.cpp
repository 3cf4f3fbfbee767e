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

MemorySettingsStore::MemorySettingsStore(NoticeHandler onNotice, QString application)
    : onNotice_(std::move(onNotice))
    , application_(std::move(application)) {
}

QString MemorySettingsStore::value(const QString& section, const QString& key) {
    return data_.value(section).value(key);
}

bool MemorySettingsStore::admitWrite() {
    if (refuseWrites) {
        notify(QStringLiteral("The settings cannot be written."));
        return false;
    }
    if (locksHeld == 0) {
        ++unlockedWrites;
    }
    return true;
}

void MemorySettingsStore::setValue(const QString& section, const QString& key,
                                   const QString& value) {
    if (admitWrite()) {
        data_[section][key] = value;
        log << QStringLiteral("save %1/%2/%3=%4").arg(application_, section, key, value);
    }
}

void MemorySettingsStore::removeSection(const QString& section) {
    if (admitWrite()) {
        data_.remove(section);
        log << QStringLiteral("delete %1/%2").arg(application_, section);
    }
}

void MemorySettingsStore::sync() {
    ++syncCount;
}

std::unique_ptr<ExclusiveAccess> MemorySettingsStore::lockExclusive() {
    if (refuseLock) {
        notify(QStringLiteral("The settings are locked by another copy."));
        return nullptr;
    }
    return std::make_unique<CountedAccess>(locksHeld);
}

bool MemorySettingsStore::hasSection(const QString& section) const {
    return data_.contains(section);
}

bool MemorySettingsStore::hasKey(const QString& section, const QString& key) const {
    return data_.value(section).contains(key);
}

bool MemorySettingsStore::keepDamagedCopy() {
    if (!admitWrite()) {
        return false;
    }
    log << QStringLiteral("keep damaged copy");
    notify(QStringLiteral("The settings were damaged; a copy was kept."));
    return true;
}

QStringList MemorySettingsStore::sections() {
    return data_.keys();
}

void MemorySettingsStore::notify(const QString& notice) {
    notices << notice;
    if (onNotice_) {
        onNotice_(notice);
    }
}

} // namespace tintwave::platform
