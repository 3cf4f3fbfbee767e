#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <vector>

namespace tintwave::app {

// Installs the windows' translation for the locale's language where there is one, and
// with it Qt's own for its dialogs and context menus; English, the captions' source
// language, needs none. They stay installed while the returned translators live.
std::vector<std::unique_ptr<QTranslator>> installTranslations(const QLocale& locale);

} // namespace tintwave::app
