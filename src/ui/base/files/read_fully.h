#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vexilon {

// Reads `count` bytes of an open file from `offset` on, going on after
// short reads and interrupted calls, until the count is met or the file
// ends. The number of bytes read (fewer only at the end of the file), or
// nothing when the file cannot be read.
std::optional<std::size_t> readFully(int fd, std::uint8_t* into, std::size_t count,
                                     std::uint64_t offset);

// Writes all of `bytes` at the file's position, going on after short writes
// and interrupted calls. False when the file takes no more.
bool writeFully(int fd, std::string_view bytes);

} // namespace vexilon
