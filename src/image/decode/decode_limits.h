#pragma once

#include <cstdint>

namespace vexilon {

// The limit on picture size counts pixels, so that a long panorama (20000 x
// 40) is taken in while memory stays bounded: at the limit the intermediate
// image alone takes 768 MiB, far beyond anything intake needs to scale down
// to 490 pixels. A side may reach 65535.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{16384} * 16384;
inline constexpr std::int32_t kMaxPictureSide = 65535;

// Whether a picture of this size may be decoded: both sides 1..kMaxPictureSide
// and at most kMaxPicturePixels pixels. Takes any 64-bit sides.
constexpr bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// No picture within the limit needs a larger file; bigger files are
// refused before they are read so that they cannot exhaust memory.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{2} << 30;

// Ceiling for any single buffer libjpeg or libtiff asks for on our behalf
// (a progressive JPEG's coefficients, a TIFF strip).
inline constexpr std::int64_t kMaxLibraryBuffer = std::int64_t{1} << 30;

} // namespace vexilon
