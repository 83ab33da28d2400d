#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace vexilon {

struct FreeBuffer {
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using LargeBuffer = std::unique_ptr<std::uint8_t[], FreeBuffer>;

// Uninitialised memory for a picture or a file; null when it cannot be had.
// Buffers of several MiB are aligned to and advised for huge pages: a
// picture then costs a few dozen page faults instead of tens of thousands,
// which is much of the time of a conversion.
LargeBuffer allocateLargeBuffer(std::size_t size);

} // namespace vexilon
