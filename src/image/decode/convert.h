#pragma once

#include "image/decode/bmp24_image.h"

#include <cstdint>
#include <span>
#include <string>

namespace vexilon {

// Results of convertToBmp24; callers look only for kConvertOk.
inline constexpr int kConvertOk = 1;
inline constexpr int kConvertSourceMissing = -1;
inline constexpr int kConvertNotAPicture = -3;
inline constexpr int kConvertWriteFailed = -4;
inline constexpr int kConvertNameMissing = -7;

// Decodes the picture file source (JPEG, 24-bit BMP, TIFF, PNG, PCX or Photo
// CD base image) and writes it to target as a bottom-up 24-bit BMP, the
// intermediate image. The target is created or truncated only once the
// picture has been decoded.
int convertToBmp24(const std::string& source, const std::string& target);

// Decodes a picture file held in memory into image, trying the decoders in
// the same order. kConvertOk with image complete, else kConvertNotAPicture.
int decodePicture(std::span<const std::uint8_t> source, Bmp24Image& image);

// Width and height of the picture in a file (the intermediate image in every
// use); 0 when the file cannot be read as a picture.
std::int32_t imageWidth(const std::string& path);
std::int32_t imageHeight(const std::string& path);

} // namespace vexilon
