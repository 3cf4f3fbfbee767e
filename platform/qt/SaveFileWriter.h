#pragma once

#include "platform/FileWriter.h"

namespace tintwave::platform {

// Writes a regular file through a temporary file that replaces it only once it is complete,
// so a failed write leaves it exactly as it was. A FIFO, device, socket or descriptor path
// (/dev/stdout) is written into directly, since it cannot be replaced without destroying it.
class SaveFileWriter : public FileWriter {
public:
    WriteError writeFile(const QString& path, const QByteArray& bytes) override;
};

} // namespace tintwave::platform
