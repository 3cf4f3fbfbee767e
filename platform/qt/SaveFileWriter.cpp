#include "platform/qt/SaveFileWriter.h"

#include <QSaveFile>

namespace tintwave::platform {

WriteError SaveFileWriter::writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    // A small write only fills QSaveFile's buffer; the flush inside commit() would fail
    // without commit() noticing (Qt 6.4) and put an empty file in place of the old one.
    // Flushing here first catches a full disk while the old file is still there.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace tintwave::platform
