#include "image/pipeline/reduced_jpeg.h"

#include "image/decode/decode_limits.h"
#include "image/decode/jpeg_job.h"
#include "image/decode/orientation.h"
#include "image/pipeline/fitting.h"

#include <utility>

namespace vexilon {
namespace {

constexpr unsigned kScaleDenominator = 8;
// Reductions by less than half are not worth a decode of their own.
constexpr unsigned kLargestScale = 4;

// The smallest scale (in eighths) whose output still covers the minimum.
bool chooseScale(JpegJob& job, int minWidth, int minHeight) {
    for (unsigned scale = 1; scale <= kLargestScale; ++scale) {
        if (!job.scaleTo(scale, kScaleDenominator)) {
            return false;
        }
        const jpeg_decompress_struct& c = job.info();
        if (c.output_width >= static_cast<JDIMENSION>(minWidth) &&
            c.output_height >= static_cast<JDIMENSION>(minHeight)) {
            return true;
        }
    }
    return false;
}

// The picture's own size is that of the upright picture; the stored one,
// turned after decoding, must cover the fitted size with its sides as stored.
struct UprightFit {
    std::int32_t width = 0;
    std::int32_t height = 0;
    Placement storedMinimum;
};

UprightFit uprightFit(JDIMENSION storedWidth, JDIMENSION storedHeight, int orientation) {
    UprightFit fit{
        static_cast<std::int32_t>(storedWidth), static_cast<std::int32_t>(storedHeight), {}};
    if (swapsSides(orientation)) {
        std::swap(fit.width, fit.height);
    }
    fit.storedMinimum = fitPicture(fit.width, fit.height);
    if (swapsSides(orientation)) {
        std::swap(fit.storedMinimum.width, fit.storedMinimum.height);
    }
    return fit;
}

} // namespace

ReducedDecode decodeReducedJpeg(std::FILE* file, std::int32_t& width, std::int32_t& height,
                                Bmp24Image& image) {
    if (!rewoundJpegFile(file)) {
        return ReducedDecode::NotReduced;
    }
    JpegJob job;
    if (!job.readHeader(file)) {
        return ReducedDecode::NotReduced;
    }
    const jpeg_decompress_struct& c = job.info();
    // Within what every decoder takes in, so that this path never accepts a
    // picture the full decoders would refuse.
    if ((c.num_components != 1 && c.num_components != 3) ||
        !pictureSizeAllowed(c.image_width, c.image_height)) {
        return ReducedDecode::NotReduced;
    }
    const int orientation = job.orientation();
    const UprightFit fit = uprightFit(c.image_width, c.image_height, orientation);
    width = fit.width;
    height = fit.height;
    if (!isScaled(width, height) ||
        !chooseScale(job, fit.storedMinimum.width, fit.storedMinimum.height)) {
        return ReducedDecode::NotReduced;
    }
    Bmp24Image reduced;
    if (!reduced.allocate(static_cast<std::int32_t>(c.output_width),
                          static_cast<std::int32_t>(c.output_height))) {
        return ReducedDecode::NotReduced;
    }
    if (!job.readPixels(reduced) || !turnUpright(reduced, orientation)) {
        return ReducedDecode::NotReduced;
    }
    reduced.finish();
    image = std::move(reduced);
    return ReducedDecode::Decoded;
}

} // namespace vexilon
