#include "image/decode/file_bytes.h"

#include "image/decode/decode_limits.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vexilon {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

std::optional<FileBytes> readFileBytes(const std::string& path, std::uint64_t limit) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uint64_t fileSize = std::filesystem::file_size(path, error);
    if (error || (limit >= fileSize && fileSize > kMaxPictureFileBytes)) {
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    FileBytes result;
    result.fileSize = fileSize;
    const std::size_t wanted = static_cast<std::size_t>(std::min(limit, fileSize));
    result.data = allocateLargeBuffer(wanted);
    if (!result.data) {
        return std::nullopt;
    }
    // A file that shrank meanwhile is read as far as it goes.
    result.size = std::fread(result.data.get(), 1, wanted, file.get());
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return result;
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
