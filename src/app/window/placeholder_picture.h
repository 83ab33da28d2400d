#pragma once

#include <QByteArray>
#include <QImage>

namespace vexilon {

// The picture the preview area shows before any picture is taken in: a white
// 512 x 512 square with "Drag and drop pictures to here" in black bold serif
// type across its middle.
QImage placeholderImage();

// The same as BMP file bytes, as a picture box takes them.
QByteArray placeholderPicture();

} // namespace vexilon
