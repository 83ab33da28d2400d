#pragma once

#include <QByteArray>
#include <QString>

namespace vexilon {

// A file name is whatever bytes the file system holds, not necessarily
// UTF-8 (an old archive's "caf\xe9.png"). These two carry such a name through
// QString without loss: valid UTF-8 reads as text, and every byte that is
// not part of valid UTF-8 becomes the lone surrogate U+DC80..U+DCFF, which
// no valid UTF-8 can produce, so that the way back gives the same bytes.
QString fileNameText(const QByteArray& bytes);
QByteArray fileNameBytes(const QString& text);

} // namespace vexilon
