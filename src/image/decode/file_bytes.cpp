#include "image/decode/file_bytes.h"

#include "image/decode/decode_limits.h"
#include "ui/base/files/read_fully.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexilon {

std::optional<PictureFile> PictureFile::open(const std::string& path) {
    // Devices are not even opened: opening a serial port alone changes its
    // lines. The check is repeated on what was opened, in case the path
    // changed meanwhile; O_NONBLOCK keeps a pipe from waiting for a writer.
    struct stat status {};
    // A name holding a NUL is not the name the system would open: it would
    // stop at the NUL and read some other file.
    if (path.find('\0') != std::string::npos || ::stat(path.c_str(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return PictureFile(fd, static_cast<std::uint64_t>(status.st_size));
}

PictureFile::PictureFile(PictureFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

PictureFile::~PictureFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<FileBytes> PictureFile::readHead(std::uint64_t count) const {
    FileBytes result;
    result.fileSize = size_;
    const auto wanted = static_cast<std::size_t>(std::min(count, size_));
    result.data = allocateLargeBuffer(wanted);
    if (!result.data) {
        return std::nullopt;
    }
    const std::optional<std::size_t> got = readFully(fd_, result.data.get(), wanted, 0);
    if (!got) {
        return std::nullopt;
    }
    result.size = *got;
    return result;
}

FileStream PictureFile::stream() const {
    const int copy = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        return nullptr;
    }
    // The copy shares the file position, which nothing else here uses.
    std::FILE* file = ::lseek(copy, 0, SEEK_SET) == 0 ? ::fdopen(copy, "rb") : nullptr;
    if (file == nullptr) {
        ::close(copy);
    }
    return FileStream(file);
}

std::optional<FileBytes> readFileBytes(const std::string& path, std::uint64_t limit) {
    const std::optional<PictureFile> file = PictureFile::open(path);
    if (!file || (limit >= file->size() && file->size() > kMaxPictureFileBytes)) {
        return std::nullopt;
    }
    return file->readHead(limit);
}

bool writeFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace vexilon
