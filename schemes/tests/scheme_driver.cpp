// One running copy of the program, reduced to its scheme store, for tests that start
// several at once on one settings file:
//   scheme_driver <ini> list                 titles, one per line
//   scheme_driver <ini> add <name>...        adds each name as a scheme, in order
//   scheme_driver <ini> remove <n> [times]   removes scheme n, that many times
// Exit status 1 when an add was refused; store notices go to standard error.
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/QSettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace tintwave;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    platform::QSettingsStore store(args[1]);
    platform::MemorySchemeMenu menu;
    schemes::SchemeStore schemes(store, menu);
    schemes.load();
    QTextStream out(stdout), err(stderr);
    const QString command = args[2];
    int status = 0;
    if (command == QLatin1String("list")) {
        for (const QString& title : schemes.titles())
            out << title << '\n';
    } else if (command == QLatin1String("add")) {
        palette::Palette p = palette::Palette::empty();
        for (const QString& name : args.mid(3)) {
            p[0] = int(name.size());
            if (!schemes.add(name, p))
                status = 1;
        }
    } else if (command == QLatin1String("remove") && args.size() >= 4) {
        const int times = args.size() > 4 ? args[4].toInt() : 1;
        for (int i = 0; i < times; ++i)
            schemes.deleteIt(args[3].toInt());
    } else {
        return 2;
    }
    const QString notice = store.takeNotice();
    if (!notice.isEmpty())
        err << notice << '\n';
    return status;
}
