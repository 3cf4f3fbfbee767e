#include "platform/qt/QSettingsStore.h"

#include <QStandardPaths>

namespace tintwave::platform {

// Each application's own INI file in the user's configuration folder (on Linux
// $XDG_CONFIG_HOME or ~/.config).
QSettingsStore::Place QSettingsStore::userPlace(const QString& application) {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return iniPlace(config + u'/' + application + u'/' + application + QStringLiteral(".ini"));
}

} // namespace tintwave::platform
