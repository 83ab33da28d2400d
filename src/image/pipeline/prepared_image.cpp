#include "image/pipeline/prepared_image.h"

namespace vexilon {

Bitmap blackAndWhite(std::span<const std::uint8_t> snapshotBmp) {
    Bitmap snapshot;
    if (!snapshot.loadFromBmpBytes(snapshotBmp)) {
        return {};
    }
    return snapshot.convertDepth(1);
}

Bitmap uploadOrientation(const Bitmap& prepared) {
    return prepared.rotateQuarter(true).rotateQuarter(true).mirror(true, false);
}

Bitmap rotatedPrepared(const Bitmap& uploadOriented) {
    return uploadOriented.mirror(true, false).rotateQuarter(false);
}

std::vector<std::uint8_t> imageData(const Bitmap& uploadOriented) {
    return uploadOriented.toBmpBytes();
}

} // namespace vexilon
