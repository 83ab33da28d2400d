#pragma once

#include "image/decode/large_buffer.h"
#include <cstddef>

#include <cstdint>
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

// Reads at most limit bytes from the start of a regular file. Nothing when it
// cannot be opened or read, or when the file is larger than
// kMaxPictureFileBytes and limit asks for all of it.
std::optional<FileBytes> readFileBytes(const std::string& path, std::uint64_t limit = UINT64_MAX);

// Creates or truncates path and writes bytes; true only when all are written.
bool writeFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace vexilon
