#include "ui/base/files/read_fully.h"

#include <cerrno>

#include <unistd.h>

namespace vexilon {

std::optional<std::size_t> readFully(int fd, std::uint8_t* into, std::size_t count,
                                     std::uint64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, into + done, count - done, static_cast<off_t>(offset + done));
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool writeFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace vexilon
