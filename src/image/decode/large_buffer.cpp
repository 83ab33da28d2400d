#include "image/decode/large_buffer.h"

#include <sys/mman.h>

namespace vexilon {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

LargeBuffer allocateLargeBuffer(std::size_t size) {
    if (size < kHugePage) {
        return LargeBuffer(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
    }
    void* p = nullptr;
    if (posix_memalign(&p, kHugePage, size) != 0) {
        return nullptr;
    }
    // Only a hint: without transparent huge pages the buffer works as well.
    madvise(p, size, MADV_HUGEPAGE);
    return LargeBuffer(static_cast<std::uint8_t*>(p));
}

} // namespace vexilon
