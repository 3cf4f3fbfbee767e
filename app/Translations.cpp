#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tintwave::app {

std::vector<std::unique_ptr<QTranslator>> installTranslations(const QLocale& locale) {
    // The program's translation is built in as resources (translations/CMakeLists.txt).
    auto own = std::make_unique<QTranslator>();
    if (!own->load(locale, QStringLiteral("tintwave"), QStringLiteral("_"),
                   QStringLiteral(":/i18n"))) {
        return {};
    }
    // Qt's own comes only in the same language, so that the windows speak one; it is
    // optional, and without it Qt's dialogs stay English.
    std::vector<std::unique_ptr<QTranslator>> installed;
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QLocale(own->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installed.push_back(std::move(qt));
    }
    installed.push_back(std::move(own)); // installed last, it is asked first
    for (const auto& translator : installed) {
        QCoreApplication::installTranslator(translator.get());
    }
    return installed;
}

} // namespace tintwave::app
