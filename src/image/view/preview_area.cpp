#include "image/view/preview_area.h"

#include "image/bitmap/ruler_strips.h"
#include "image/pipeline/prepared_image.h"
#include "image/view/qt_pictures.h"
#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"

#include <QImage>

#include <fstream>

namespace vexilon {

QByteArray byteArray(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

void PreviewArea::clearCanvas() const {
    canvas.clear(0, 0, kPreparedSide, kPreparedSide);
}

const RulerPictures& rulerPictures() {
    static const RulerPictures pictures{pictureFromBmpBytes(byteArray(verticalRulerStrip())),
                                        pictureFromBmpBytes(byteArray(horizontalRulerStrip()))};
    return pictures;
}

void PreviewArea::drawRulerStrips() const {
    const RulerPictures& rulers = rulerPictures();
    drawScaled(rightRuler, rulers.vertical, 0, 0, 12, kPreparedSide);
    drawScaled(bottomRuler, rulers.horizontal, 0, 0, kPreparedSide, 12);
}

void writePreviewFile(const std::filesystem::path& file, const QByteArray& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.constData(), bytes.size());
}

} // namespace vexilon
