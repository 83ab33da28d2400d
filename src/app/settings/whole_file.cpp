#include "app/settings/whole_file.h"

#include "ui/base/files/read_fully.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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

// ".<name>.<writer's pid>-<ticks>-<count>.tmp": the writer's process number
// lets a later write tell a temporary file left by a killed writer.
std::string temporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

std::string temporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return temporaryPrefix(target) + std::to_string(::getpid()) + "-" +
           std::to_string(ticks % 1'000'000'007) + "-" + std::to_string(counter++) + ".tmp";
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The writer's process number when `name` is one of our temporary names for
// `target`.
std::optional<pid_t> temporaryWriter(std::string_view name, const std::filesystem::path& target) {
    const std::string prefix = temporaryPrefix(target);
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) {
        return std::nullopt;
    }
    name = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    const std::size_t first = name.find('-');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t second = name.find('-', first + 1);
    const std::string_view pid = name.substr(0, first);
    if (second == std::string_view::npos || !allDigits(pid) || pid.size() > 9 ||
        !allDigits(name.substr(first + 1, second - first - 1)) ||
        !allDigits(name.substr(second + 1))) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(std::string(pid)));
}

bool processGone(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes one temporary file when its writer is gone. A writer holds a lock
// on its file until the file has been renamed, which also guards writers this
// process cannot see (another host, another process namespace).
void removeIfAbandoned(int directory, const char* name) {
    const int fd = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        S_ISREG(opened.st_mode) && ::fstatat(directory, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == opened.st_ino && named.st_dev == opened.st_dev) {
        ::unlinkat(directory, name, 0);
    }
    ::close(fd);
}

// Temporary files that killed writers left beside the target, which no later
// write would otherwise ever remove.
void removeAbandonedTemporaries(const std::filesystem::path& target) {
    std::filesystem::path directory = target.parent_path();
    DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<pid_t> writer = temporaryWriter(entry->d_name, target);
        if (writer && processGone(*writer)) {
            removeIfAbandoned(::dirfd(listing), entry->d_name);
        }
    }
    ::closedir(listing);
}

// Where a write goes: a symbolic link is followed to the file it names, even
// when that file does not exist yet, so that the write creates it. Relative
// links count from their own directory, chains are followed hop by hop.
std::optional<std::filesystem::path> writeTarget(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) {
            return error && error != std::errc::no_such_file_or_directory ? std::nullopt
                                                                          : std::optional(target);
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            return std::nullopt;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::nullopt;
}

// Creates the temporary file exclusively, so that a stale or foreign file of
// the same name is never reused, and locks it for as long as it is being
// written; gives an invalid descriptor on failure.
TemporaryFile createTemporary(const std::filesystem::path& target) {
    std::filesystem::path directory = target.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = directory / temporaryName(target);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // A writer elsewhere that took the new file for an abandoned one
            // may have removed it before it was locked: then start again.
            const bool locked = ::flock(fd, LOCK_EX) == 0;
            struct stat created {};
            struct stat named {};
            const bool stillNamed =
                ::fstat(fd, &created) == 0 && ::lstat(candidate.c_str(), &named) == 0 &&
                named.st_ino == created.st_ino && named.st_dev == created.st_dev;
            if (locked && stillNamed) {
                return TemporaryFile(fd, std::move(candidate));
            }
            ::close(fd);
            if (stillNamed) {
                ::unlink(candidate.c_str());
            }
            continue;
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
    // Grown by doubling, a large file would be held twice over while copied.
    result.bytes.reserve(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)));
    std::uint8_t buffer[16384];
    for (std::uint64_t at = 0;; at += sizeof buffer) {
        const std::optional<std::size_t> got = readFully(fd, buffer, sizeof buffer, at);
        if (!got) {
            result = {WholeFileStatus::Failed, {}};
            break;
        }
        result.bytes.append(reinterpret_cast<const char*>(buffer), *got);
        if (*got < sizeof buffer) {
            break;
        }
    }
    ::close(fd);
    return result;
}

namespace {

// The new file gets the old one's mode, and its owner where that may be
// given. Only root may hand a file to another owner; anyone else keeps the
// file under their own name, which is the one they can write anyway. The
// owner goes first, as a change of owner may clear mode bits.
bool takeOverOwnerAndMode(int fd, const struct stat& old) {
    struct stat created {};
    if (::fstat(fd, &created) == 0 &&
        (created.st_uid != old.st_uid || created.st_gid != old.st_gid)) {
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

} // namespace

bool replaceWholeFile(const std::filesystem::path& file, std::string_view bytes) {
    const std::optional<std::filesystem::path> resolved = writeTarget(file);
    if (!resolved) {
        return false;
    }
    const std::filesystem::path& target = *resolved;
    removeAbandonedTemporaries(target);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && !mayOverwrite(target, old)) {
        return false;
    }
    TemporaryFile temporary = createTemporary(target);
    if (temporary.fd() < 0 || !writeFully(temporary.fd(), bytes)) {
        return false;
    }
    if (exists && !takeOverOwnerAndMode(temporary.fd(), old)) {
        return false;
    }
    // Renamed while still open, so that its lock covers the whole write.
    if (::fsync(temporary.fd()) != 0 || ::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return false;
    }
    temporary.release();
    temporary.closeFile();
    syncDirectory(target);
    return true;
}

} // namespace vexilon
