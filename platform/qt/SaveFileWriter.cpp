#include "platform/qt/SaveFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <fcntl.h>

namespace tintwave::platform {

namespace {

// The open descriptor that a path such as /dev/stdout, /dev/fd/3 or /proc/self/fd/3 names.
// Writing to the descriptor keeps what the shell set up (">>" appends to a log); opening the
// file it points to anew would empty that log, and fails for a pipe.
std::optional<int> descriptorNamed(const QString& path) {
    static const QRegularExpression fdPath(
        QStringLiteral("^/(?:dev|proc/self|proc/thread-self)/fd/(\\d{1,9})$"));
    QString name = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QRegularExpressionMatch match = fdPath.match(name);
        if (match.hasMatch()) {
            const int fd = match.captured(1).toInt();
            return fcntl(fd, F_GETFD) != -1 ? std::optional(fd) : std::nullopt;
        }
        const QFileInfo link(name);
        if (!link.isSymLink()) {
            return std::nullopt;
        }
        name = link.symLinkTarget();
    }
    return std::nullopt;
}

// A FIFO, device or socket that is already there: it can only be written into, and replacing it
// with a regular file would destroy it.
bool isSpecialFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

} // namespace

WriteError SaveFileWriter::writeFile(const QString& path, const QByteArray& bytes) {
    const std::optional<int> fd = descriptorNamed(path);
    if (fd || isSpecialFile(path)) {
        QFile file(path);
        const bool opened = fd ? file.open(*fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
                               : file.open(QIODevice::WriteOnly);
        if (!opened || file.write(bytes) != bytes.size() || !file.flush()) {
            return file.errorString();
        }
        return std::nullopt;
    }

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
