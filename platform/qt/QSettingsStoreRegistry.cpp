#include "platform/qt/QSettingsStore.h"

#include <QDir>

namespace tintwave::platform {

// The user's registry branch HKEY_CURRENT_USER\Software\<application>\<application>, where
// the program kept its settings on Windows from the start. There is no file to guard, to
// date or to lock beside; lockExclusive() locks one in the temporary folder instead.
QSettingsStore::Place QSettingsStore::userPlace(const QString& application) {
    return {QString(),
            [application] {
                return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                   application, application);
            },
            QDir::temp().filePath(application)};
}

} // namespace tintwave::platform
