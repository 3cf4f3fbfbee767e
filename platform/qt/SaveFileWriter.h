#pragma once

#include "platform/FileWriter.h"

namespace tintwave::platform {

// Writes through a temporary file that replaces the target only once it is complete, so
// a failed write leaves an existing file exactly as it was.
class SaveFileWriter : public FileWriter {
public:
    WriteError writeFile(const QString& path, const QByteArray& bytes) override;
};

} // namespace tintwave::platform
