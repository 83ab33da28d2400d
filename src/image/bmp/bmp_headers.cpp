#include "image/bmp/bmp_headers.h"

#include "image/bmp/little_endian.h"

#include <cstring>
#include <limits>

namespace vexilon {

std::optional<BmpHeaders> readBmpHeaders(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBmpFileHeaderSize + 4) {
        return std::nullopt;
    }
    BmpHeaders headers;
    headers.signature[0] = bytes[0];
    headers.signature[1] = bytes[1];
    headers.fileSize = le::read32(bytes, 2);
    headers.pixelOffset = le::read32(bytes, 10);
    headers.infoSize = le::read32(bytes, kBmpFileHeaderSize);
    InfoHeader& info = headers.info;
    if (headers.core()) {
        if (bytes.size() < kBmpFileHeaderSize + kCoreHeaderSize) {
            return std::nullopt;
        }
        info.width = le::read16(bytes, 18);
        info.height = le::read16(bytes, 20);
        info.planes = le::read16(bytes, 22);
        info.bitCount = le::read16(bytes, 24);
        return headers;
    }
    if (headers.infoSize < kInfoHeaderSize || bytes.size() < kBmpHeadersSize) {
        return std::nullopt;
    }
    info.width = le::readSigned32(bytes, 18);
    info.height = le::readSigned32(bytes, 22);
    info.planes = le::read16(bytes, 26);
    info.bitCount = le::read16(bytes, 28);
    info.compression = le::read32(bytes, 30);
    info.imageSize = le::read32(bytes, 34);
    info.xPixelsPerMetre = le::readSigned32(bytes, 38);
    info.yPixelsPerMetre = le::readSigned32(bytes, 42);
    info.coloursUsed = le::read32(bytes, 46);
    info.coloursImportant = le::read32(bytes, 50);
    return headers;
}

bool writeBmpHeaders(std::uint8_t* out, const InfoHeader& info, std::uint64_t tableBytes,
                     std::uint64_t pixelBytes) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    if (tableBytes > kLargest || pixelBytes > kLargest - kBmpHeadersSize - tableBytes) {
        return false;
    }
    const auto pixelOffset = static_cast<std::uint32_t>(kBmpHeadersSize + tableBytes);
    std::memset(out, 0, kBmpHeadersSize);
    out[0] = 'B';
    out[1] = 'M';
    le::write32(out + 2, pixelOffset + static_cast<std::uint32_t>(pixelBytes));
    le::write32(out + 10, pixelOffset);
    le::write32(out + 14, kInfoHeaderSize);
    le::write32(out + 18, static_cast<std::uint32_t>(info.width));
    le::write32(out + 22, static_cast<std::uint32_t>(info.height));
    le::write16(out + 26, info.planes);
    le::write16(out + 28, info.bitCount);
    le::write32(out + 30, info.compression);
    le::write32(out + 34, info.imageSize);
    le::write32(out + 38, static_cast<std::uint32_t>(info.xPixelsPerMetre));
    le::write32(out + 42, static_cast<std::uint32_t>(info.yPixelsPerMetre));
    le::write32(out + 46, info.coloursUsed);
    le::write32(out + 50, info.coloursImportant);
    return true;
}

} // namespace vexilon
