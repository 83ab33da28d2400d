#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vexilon {

class DrawPanel;
class PicBox;

// The four windows of the preview: the canvas the image pipeline composes
// on and the machine's dots are painted on, the picture view lying over it,
// and the two ruler panels inside it.
struct PreviewArea {
    DrawPanel& canvas;
    PicBox& picture;
    DrawPanel& rightRuler;
    DrawPanel& bottomRuler;

    // The whole 512 x 512 canvas back to its background colour.
    void clearCanvas() const;
    // The vertical strip on the right ruler, then the horizontal one below.
    void drawRulerStrips() const;
};

// The two ruler strips as pictures, built on first use and kept: drawing
// their anti-aliased digits takes a good part of a second's tenth.
struct RulerPictures {
    QImage vertical;
    QImage horizontal;
};
const RulerPictures& rulerPictures();

QByteArray byteArray(const std::vector<std::uint8_t>& bytes);

// Writes the file whole, creating or truncating it. Failures are not
// reported: the console carries on with what it has.
void writePreviewFile(const std::filesystem::path& file, const QByteArray& bytes);

} // namespace vexilon
