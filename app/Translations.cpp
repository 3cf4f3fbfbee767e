#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tintwave::app {

std::vector<std::unique_ptr<QTranslator>> installTranslations(const QLocale& locale) {
    // Qt's own translations are optional: without them its dialogs stay English. The
    // program's are built in as resources (translations/CMakeLists.txt).
    const std::pair<QString, QString> sources[] = {
        {QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QStringLiteral("tintwave"), QStringLiteral(":/i18n")},
    };
    std::vector<std::unique_ptr<QTranslator>> installed;
    for (const auto& [name, directory] : sources) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, name, QStringLiteral("_"), directory) &&
            QCoreApplication::installTranslator(translator.get())) {
            installed.push_back(std::move(translator));
        }
    }
    return installed;
}

} // namespace tintwave::app
