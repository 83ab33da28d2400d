#pragma once

#include "image/decode/large_buffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace vexilon {

struct FileBytes {
    LargeBuffer data;
    std::size_t size = 0;
    std::uint64_t fileSize = 0; // the whole file's, even when only its head was read

    std::span<const std::uint8_t> bytes() const { return {data.get(), size}; }
};

struct StreamCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileStream = std::unique_ptr<std::FILE, StreamCloser>;

// A picture file opened for reading. Whatever is dropped on the console may
// be a named pipe nobody writes to or a device: opening never waits, and
// only regular files are kept.
class PictureFile {
public:
    static std::optional<PictureFile> open(const std::string& path);

    PictureFile(PictureFile&& other) noexcept;
    PictureFile& operator=(PictureFile&&) = delete;
    ~PictureFile();

    // The size when the file was opened.
    std::uint64_t size() const { return size_; }

    // At most count bytes from the start of the file; fewer when it is
    // shorter (or shrank meanwhile). Nothing on a read error or when the
    // memory cannot be had.
    std::optional<FileBytes> readHead(std::uint64_t count) const;

    // A stream of its own over the file, at its start; null on failure.
    FileStream stream() const;

private:
    PictureFile(int descriptor, std::uint64_t size) : fd_(descriptor), size_(size) {}

    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Reads at most limit bytes from the start of a regular file. Nothing when it
// cannot be opened or read, or when the file is larger than
// kMaxPictureFileBytes and limit asks for all of it.
std::optional<FileBytes> readFileBytes(const std::string& path, std::uint64_t limit = UINT64_MAX);

// Creates or truncates path and writes bytes; true only when all are written.
bool writeFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace vexilon
