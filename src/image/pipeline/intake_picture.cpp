#include "image/pipeline/intake_picture.h"

#include "image/decode/convert.h"
#include "image/decode/decoders.h"
#include "image/pipeline/reduced_jpeg.h"

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexilon {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opening a named pipe for reading would wait for a writer, and a device may
// never answer: the file is opened without waiting, then kept only if it is
// a regular file.
File openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    File file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
    }
    return file;
}

} // namespace

bool decodeForIntake(const std::string& path, IntakePicture& picture) {
    if (path.empty()) {
        return false;
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    Bmp24Image pixels;
    {
        const File file = openRegularFile(path);
        if (!file) {
            return false;
        }
        if (decodeReducedJpeg(file.get(), width, height, pixels) == ReducedDecode::NotReduced) {
            if (decodePictureFile(path, pixels) != kConvertOk) {
                return false;
            }
            width = pixels.width();
            height = pixels.height();
        }
    }
    picture.width = width;
    picture.height = height;
    picture.placement = fitPicture(width, height);
    picture.pixels = std::move(pixels);
    return true;
}

PixelImage fittedPixels(const IntakePicture& picture) {
    return scaleByAreaAverage(picture.pixels, picture.placement.width, picture.placement.height);
}

} // namespace vexilon
