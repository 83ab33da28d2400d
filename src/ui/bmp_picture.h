#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vexilon {

// A picture from the bytes of a BMP file; a null image when the bytes hold
// no readable BMP picture (empty, truncated, undecodable).
QImage pictureFromBmpBytes(const QByteArray& bytes);

// The same for a BMP file on disk; null when the file is missing or empty too.
QImage pictureFromBmpFile(const QString& path);

} // namespace vexilon
