// The desktop program: the Qt implementations of the platform, the main window (built
// hidden, its start-up already run), and the splash window over it.
#include "app/AboutWindow.h"
#include "app/AppIcon.h"
#include "app/MainWindow.h"
#include "app/Services.h"
#include "app/Translations.h"
#include "platform/SettingsStore.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/SaveFileWriter.h"
#include "platform/qt/SystemRandomSource.h"
#include "platform/widgets/QtDesktop.h"
#include "platform/widgets/QtDialogs.h"

#include <QApplication>

using namespace tintwave;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::kSettingsApplication);
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    const auto translations = app::installTranslations(QLocale::system());
    // Ties the windows to the launcher entry (Wayland's app id, the task bar's icon).
    QGuiApplication::setDesktopFileName(QLatin1String(app::kDesktopId));

    app::NoticeRelay notices;
    platform::QSettingsStore settings(
        platform::kSettingsApplication,
        [&notices](const QString& notice) { notices.report(notice); });
    platform::SystemRandomSource random;
    platform::QtColorDialog colorDialog;
    platform::QtSaveDialog saveDialog;
    platform::QtInputPrompt inputPrompt;
    platform::QtMessageDisplay messages;
    platform::QtClipboard clipboard;
    platform::SaveFileWriter files;
    platform::QtUrlOpener urls;
    platform::QtSystemColors systemColors;
    const app::Services services{settings,    random,       colorDialog, saveDialog,
                                 inputPrompt, messages,     clipboard,   files,
                                 urls,        systemColors, notices};

    app::MainWindow mainWindow(services);

    // The splash shows the main window when clicked away. Between its closing and the
    // main window appearing nothing is visible, so the program must not end on that.
    QApplication::setQuitOnLastWindowClosed(false);
    auto* splash = new app::AboutWindow(&mainWindow, urls);
    QObject::connect(splash, &QObject::destroyed, &app, [&mainWindow] {
        QApplication::setQuitOnLastWindowClosed(true);
        // Closed without the click (by the window manager): nothing is left to use.
        if (!mainWindow.isVisible()) {
            QApplication::quit();
        }
    });
    splash->showAsSplash();
    return app.exec();
}
