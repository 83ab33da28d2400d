#pragma once

#include "image/bitmap/dib.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vexilon {

// Reads a BMP file image: "BM", a 40-byte or 12-byte (core) info header, an
// uncompressed image of 1, 4, 8, 16, 24 or 32 bits per pixel. A core header
// comes back in the 40-byte form with its 3-byte table entries widened. Never
// reads outside bytes; on failure sets error and returns nullopt.
std::optional<Dib> parseBmpFile(std::span<const std::uint8_t> bytes, std::string& error);

// The image as a BMP file: 14-byte file header, 40-byte info header, colour
// table and pixel rows, exactly as the image holds them.
std::vector<std::uint8_t> encodeBmpFile(const Dib& image);

} // namespace vexilon
