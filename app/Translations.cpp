#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tintwave::app {

namespace {

// Loads one translation and installs it on the application, which then owns it.
bool install(const QLocale& locale, const QString& name, const QString& directory) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, name, QStringLiteral("_"), directory)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

bool installTranslations(const QLocale& locale) {
    // Qt's own translations are optional: without them its dialogs stay English.
    install(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Built into the program as resources (translations/CMakeLists.txt).
    return install(locale, QStringLiteral("tintwave"), QStringLiteral(":/i18n"));
}

} // namespace tintwave::app
