#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "schedule_file_format.h"

namespace quorvandel::schedule_file {

namespace {

// Why a file of that kind and size is not read, or nothing.
QString kindFault(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return QStringLiteral("it is a folder, not a file");
    if (!S_ISREG(info.st_mode)) return QStringLiteral("it is not a regular file");
    if (info.st_size > MaxScheduleFileBytes)
        return QStringLiteral("it is %1 bytes long; ").arg(info.st_size) + fileSizeLimit();
    return {};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool readRegularFile(const std::filesystem::path& path, QByteArray& bytes, QString& reason) {
    // Look before opening: opening some devices already does something.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        reason = qt_error_string(errno);
        return false;
    }
    reason = kindFault(info);
    if (!reason.isEmpty()) return false;

    // Non-blocking, so that a FIFO put in the file's place since the look
    // above opens at once, and is then refused like any other non-file.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        reason = qt_error_string(errno);
        return false;
    }
    if (::fstat(fd.get(), &info) != 0) {
        reason = qt_error_string(errno);
        return false;
    }
    reason = kindFault(info);
    if (!reason.isEmpty()) return false;

    // Read to the end, which may lie past the size seen above if the file
    // grew since; one byte over the limit is enough to refuse it.
    const auto limit = static_cast<qsizetype>(MaxScheduleFileBytes + 1);
    bytes.resize(std::min(static_cast<qsizetype>(info.st_size) + 1, limit));
    qsizetype total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total == limit) break;
            bytes.resize(std::min(2 * total, limit));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + total, static_cast<std::size_t>(bytes.size() - total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            reason = qt_error_string(errno);
            return false;
        }
        if (got == 0) break;
        total += got;
    }
    if (total > MaxScheduleFileBytes) {
        reason = QStringLiteral("it grew while it was read; ") + fileSizeLimit();
        return false;
    }
    bytes.truncate(total);
    return true;
}

}  // namespace quorvandel::schedule_file
