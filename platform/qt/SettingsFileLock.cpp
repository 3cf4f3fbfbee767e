#include "platform/qt/SettingsFileLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tintwave::platform::detail {

SettingsFileLock lockSettingsFile(const QString& file, int waitMs, int staleMs) {
    auto lock = std::make_unique<QLockFile>(file + QStringLiteral(".tintwave-lock"));
    lock->setStaleLockTime(staleMs);
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (lock->tryLock(waitMs)) {
        return {std::move(lock), {}};
    }
    if (lock->error() == QLockFile::LockFailedError) {
        return {nullptr, QCoreApplication::translate(
                             "tintwave::platform::QSettingsStore",
                             "Tintwave could not change its settings: another running copy "
                             "kept \"%1\" locked. Nothing was changed.")
                             .arg(QDir::toNativeSeparators(file))};
    }
    return {};
}

} // namespace tintwave::platform::detail
