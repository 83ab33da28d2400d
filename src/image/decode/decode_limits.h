#pragma once

#include <cstdint>

namespace vexilon {

// A picture wider or taller than this is refused. At the limit the
// intermediate image alone takes 768 MiB, far beyond anything intake needs to
// scale down to 490 pixels.
inline constexpr std::int32_t kMaxPictureSide = 16384;

// No picture within kMaxPictureSide needs a larger file; bigger files are
// refused before they are read so that they cannot exhaust memory.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{2} << 30;

// Ceiling for any single buffer libjpeg or libtiff asks for on our behalf
// (a progressive JPEG's coefficients, a TIFF strip).
inline constexpr std::int64_t kMaxLibraryBuffer = std::int64_t{1} << 30;

} // namespace vexilon
