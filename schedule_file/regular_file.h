#pragma once
// Reading a whole small regular file, refusing anything else before it is
// read: a folder, a FIFO, a socket, a device, a file over the limit. Nothing
// here waits for a writer at the other end of a pipe. Internal to the file
// unit (POSIX and Qt).

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <filesystem>

namespace quorvandel::schedule_file {

// The file's bytes in `bytes`, or false and the reason in words. Files over
// MaxScheduleFileBytes are refused.
bool readRegularFile(const std::filesystem::path& path, QByteArray& bytes, QString& reason);

}  // namespace quorvandel::schedule_file
