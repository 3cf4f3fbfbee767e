#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tintwave::platform {

// Empty on success; otherwise the reason the write failed, for the user to read.
using WriteError = std::optional<QString>;

// Writes whole files. A failed write leaves an existing regular file as it was.
class FileWriter {
public:
    virtual ~FileWriter() = default;

    virtual WriteError writeFile(const QString& path, const QByteArray& bytes) = 0;
};

} // namespace tintwave::platform
