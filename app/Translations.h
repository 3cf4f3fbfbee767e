#pragma once

#include <QLocale>

namespace tintwave::app {

// Installs the windows' translation for the locale's language, and Qt's own for its
// dialogs and context menus, where there are ones. English, the captions' source
// language, needs none. Returns whether the program's own translation was installed.
bool installTranslations(const QLocale& locale);

} // namespace tintwave::app
