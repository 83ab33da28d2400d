#include "image/decode/convert.h"

#include "image/decode/bmp_layout.h"
#include "image/decode/decoders.h"
#include "image/decode/file_bytes.h"

#include <filesystem>

namespace vexilon {
namespace {

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

PictureSize pictureSize(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    // The intermediate image is a 24-bit BMP: its header says it all, and
    // the rows need not be read twice for the two questions.
    if (const auto head = readFileBytes(path, Bmp24Image::kHeaderBytes)) {
        const auto layout = readBmpLayout(head->bytes());
        if (layout && isPlain24(*layout) && bmpFitsFile(*layout, head->fileSize)) {
            return {static_cast<std::int32_t>(layout->width),
                    static_cast<std::int32_t>(layout->height)};
        }
    }
    Bmp24Image image;
    if (decodePictureFile(path, image) != kConvertOk) {
        return {};
    }
    return {image.width(), image.height()};
}

} // namespace

int convertToBmp24(const std::string& source, const std::string& target) {
    if (source.empty() || target.empty()) {
        return kConvertNameMissing;
    }
    std::error_code error;
    if (!std::filesystem::exists(source, error)) {
        return kConvertSourceMissing;
    }
    // The source is read completely, and closed, before the target is
    // opened: the two may even be the same file.
    Bmp24Image image;
    if (decodePictureFile(source, image) != kConvertOk) {
        return kConvertNotAPicture;
    }
    return writeFileBytes(target, image.bytes()) ? kConvertOk : kConvertWriteFailed;
}

std::int32_t imageWidth(const std::string& path) {
    return pictureSize(path).width;
}

std::int32_t imageHeight(const std::string& path) {
    return pictureSize(path).height;
}

} // namespace vexilon
