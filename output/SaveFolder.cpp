#include "output/SaveFolder.h"

#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace tintwave::output {

namespace {

const QString kSection = QStringLiteral("options");
const QString kFolderKey = QStringLiteral("saveFolder");

} // namespace

QString saveProposal(platform::SettingsStore& store, const QString& fileName) {
    const QString folder = store.value(kSection, kFolderKey);
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

QString withExtension(const QString& path, const QString& extension) {
    const QFileInfo file(path);
    const QString name = file.fileName();
    // A dot that starts or ends the name starts no extension.
    if (name.isEmpty() || name.mid(1, name.size() - 2).contains(QLatin1Char('.')) ||
        (file.exists() && !file.isFile())) {
        return path;
    }
    return path.endsWith(QLatin1Char('.')) ? path + extension.mid(1) : path + extension;
}

void rememberSaveFolder(platform::SettingsStore& store, const QString& savedPath) {
    const QString folder = QFileInfo(savedPath).absolutePath();
    // Saving again to the same folder writes nothing.
    if (store.value(kSection, kFolderKey) != folder) {
        store.setValue(kSection, kFolderKey, folder);
    }
}

} // namespace tintwave::output
