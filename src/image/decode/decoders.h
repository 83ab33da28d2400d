#pragma once

#include "image/decode/bmp24_image.h"
#include "image/decode/file_bytes.h"

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

// Each decoder reads the file from its start and, once its opening checks
// pass, allocates the image and fills every row. On Refused it leaves the
// image untouched.
using PictureDecoder = DecodeOutcome (*)(std::span<const std::uint8_t> file, Bmp24Image& image);

// What a decoder's opening checks need of the file before it is read: the
// head (its first kFileHeadBytes bytes, or all of a shorter file) and its
// size. False only for files the decoder surely refuses, so that a file no
// decoder takes is never read whole.
inline constexpr std::size_t kFileHeadBytes = 4096;
using OpeningCheck = bool (*)(std::span<const std::uint8_t> head, std::uint64_t fileSize);

bool mayBeJpeg(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBeBmp(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBeTiff(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBePng(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBePcx(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBeGif(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBeWebp(std::span<const std::uint8_t> head, std::uint64_t fileSize);
bool mayBePhotoCd(std::span<const std::uint8_t> head, std::uint64_t fileSize);

// How much of the file, from its start, a decoder whose opening checks
// passed reads; more than the file holds means all of it.
using ReadExtent = std::uint64_t (*)(std::span<const std::uint8_t> head, std::uint64_t fileSize);

std::uint64_t wholeFile(std::span<const std::uint8_t> head, std::uint64_t fileSize);
// An uncompressed BMP ends with its last pixel row; the head alone when the
// picture is beyond the size limit, which the decoder then refuses.
std::uint64_t bmpExtent(std::span<const std::uint8_t> head, std::uint64_t fileSize);
// The Photo CD decoder reads no further than the end of the base image.
inline constexpr std::uint64_t kPhotoCdBaseEnd = 786432;
std::uint64_t photoCdExtent(std::span<const std::uint8_t> head, std::uint64_t fileSize);

DecodeOutcome decodeJpeg(std::span<const std::uint8_t> file, Bmp24Image& image);
// The same, reading an open file as it goes: a JPEG is not held in memory
// beside its picture.
DecodeOutcome decodeJpegFile(std::FILE* file, Bmp24Image& image);
DecodeOutcome decodeBmp(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodeTiff(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePng(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePcx(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodeGif(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodeWebp(std::span<const std::uint8_t> file, Bmp24Image& image);
DecodeOutcome decodePhotoCd(std::span<const std::uint8_t> file, Bmp24Image& image);

// decodePicture for a file: a JPEG is decoded as it is read; any other file
// is read (whole, or as far as its decoder needs) only once the head has
// passed that decoder's opening checks. kConvertOk or kConvertNotAPicture.
int decodePictureFile(const std::string& path, Bmp24Image& image);
int decodePictureFile(const PictureFile& file, Bmp24Image& image);

} // namespace vexilon
