#pragma once

#include <QString>

namespace tintwave::platform {
class SettingsStore;
}

namespace tintwave::output {

// Section "options", key "saveFolder": the folder of the file saved last, where the Save
// dialog opens next time, also after a restart and in other running copies.

// The name the Save dialog proposes: fileName in the folder saved to last, or fileName
// alone (the dialog's own start folder) before the first save.
QString saveProposal(platform::SettingsStore& store, const QString& fileName);

// path with extension (".html" and the like) added when its file name has none, so the
// file opens with what reads its format. A path to an existing device, FIFO or folder
// stays as it is: the code goes into it.
QString withExtension(const QString& path, const QString& extension);

// Notes the folder of a file just saved.
void rememberSaveFolder(platform::SettingsStore& store, const QString& savedPath);

} // namespace tintwave::output
