#include "app/settings/whole_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexilon {
namespace {

// Closes the descriptor and, unless released, deletes the temporary file.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::filesystem::path path)
        : fd_(fd), path_(std::move(path)), released_(fd < 0) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        closeFile();
        if (!released_) {
            ::unlink(path_.c_str());
        }
    }

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }
    bool closeFile() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }
    void release() { released_ = true; }

private:
    int fd_;
    std::filesystem::path path_;
    bool released_;
};

bool writeAll(int fd, std::string_view bytes) {
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

std::string temporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
           std::to_string(ticks % 1'000'000'007) + "-" + std::to_string(counter++) + ".tmp";
}

// Creates the temporary file exclusively, so that a stale or foreign file of
// the same name is never reused; gives an invalid descriptor on failure.
TemporaryFile createTemporary(const std::filesystem::path& target) {
    std::filesystem::path directory = target.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = directory / temporaryName(target);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return TemporaryFile(fd, std::move(candidate));
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return TemporaryFile(-1, {});
}

// Permission to write the existing file itself, not only its directory: the
// rename alone would replace a file the user has made read-only.
bool mayOverwrite(const std::filesystem::path& file, const struct stat& status) {
    if (!S_ISREG(status.st_mode) || (status.st_mode & 0222) == 0) {
        return false;
    }
    const int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

void syncDirectory(const std::filesystem::path& file) {
    std::filesystem::path directory = file.parent_path();
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

WholeFile readWholeFile(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return {missing ? WholeFileStatus::Missing : WholeFileStatus::Failed, {}};
    }
    if (!S_ISREG(status.st_mode)) {
        return {WholeFileStatus::Failed, {}};
    }
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return {errno == ENOENT ? WholeFileStatus::Missing : WholeFileStatus::Failed, {}};
    }
    WholeFile result{WholeFileStatus::Read, {}};
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result = {WholeFileStatus::Failed, {}};
            break;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return result;
}

bool replaceWholeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path target = file;
    std::error_code error;
    if (std::filesystem::is_symlink(file, error)) {
        target = std::filesystem::canonical(file, error);
        if (error) {
            return false;
        }
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && !mayOverwrite(target, old)) {
        return false;
    }
    TemporaryFile temporary = createTemporary(target);
    if (temporary.fd() < 0 || !writeAll(temporary.fd(), bytes)) {
        return false;
    }
    if (exists) {
        // Only root may hand a file to another owner; anyone else keeps the
        // file under their own name, which is the one they can write anyway.
        // The owner goes first, as a change of owner may clear mode bits.
        struct stat created {};
        if (::fstat(temporary.fd(), &created) == 0 &&
            (created.st_uid != old.st_uid || created.st_gid != old.st_gid)) {
            [[maybe_unused]] const int ignored = ::fchown(temporary.fd(), old.st_uid, old.st_gid);
        }
        if (::fchmod(temporary.fd(), old.st_mode & 07777) != 0) {
            return false;
        }
    }
    if (::fsync(temporary.fd()) != 0 || !temporary.closeFile()) {
        return false;
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return false;
    }
    temporary.release();
    syncDirectory(target);
    return true;
}

} // namespace vexilon
