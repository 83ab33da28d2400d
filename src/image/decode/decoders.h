#pragma once

#include "image/decode/bmp24_image.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace vexilon {

enum class DecodeOutcome {
    Refused, // the opening checks failed: the next decoder may try
    Failed,  // the file was accepted but cannot be decoded
    Decoded, // every row of the image has been written
};

// Each decoder reads the whole file from its start and, once its opening
// checks pass, allocates the image and fills every row. On Refused it leaves
// the image untouched.
using PictureDecoder = DecodeOutcome (*)(std::span<const std::uint8_t> file, Bmp24Image& image);

DecodeOutcome decodeJpeg(std::span<const std::uint8_t> file, Bmp24Image& image);
// The same, reading an open file as it goes: a JPEG is not held in memory
// beside its picture.
DecodeOutcome decodeJpegFile(std::FILE* file, Bmp24Image& image);
DecodeOutcome decodeBmp(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodeTiff(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePng(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePcx(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePhotoCd(std::span<const std::uint8_t> file, Bmp24Image& image);

// decodePicture for a file: a JPEG is decoded as it is read, any other file
// is read whole first. kConvertOk or kConvertNotAPicture.
int decodePictureFile(const std::string& path, Bmp24Image& image);

} // namespace vexilon
