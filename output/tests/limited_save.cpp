// Saves once and reports how it went, for tests that run it under a file size limit:
//   limited_save raw <path> <bytes>    SaveFileWriter writes that many bytes
//   limited_save page <path> <chars>   savePage writes a page around that many characters
// Prints the error and exits 0 when the save reported one, 1 when it reported success.
#include "output/Page.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/SaveFileWriter.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace tintwave;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const QString path = args[2];
    const int size = args[3].toInt();
    platform::SaveFileWriter writer;
    platform::WriteError error;
    if (args[1] == QLatin1String("raw")) {
        error = writer.writeFile(path, QByteArray(size, 'n'));
    } else if (args[1] == QLatin1String("page")) {
        const QString code =
            QStringLiteral("<font color=\"#FF0000\">é</font>").repeated(size / 30 + 1);
        error = output::savePage(writer, path, code, kWhite, platform::FixedSystemColors());
    } else {
        return 2;
    }
    if (!error)
        return 1;
    QTextStream(stdout) << *error << '\n';
    return 0;
}
