#pragma once

#include <QImage>

namespace vexilon {

// The picture that explains the motor step pause, 1199 x 512: a rose drawn in
// black lines on white, an arrow to the same rose burnt into a light wooden
// board with some of its lines broken up, and between them the texts
// "Motor Step Pause :" (red), "Smaller, Faster", "But", "too small",
// "may cause" above the arrow and "Recommend : 30" below it.
QImage explanatoryImage();

} // namespace vexilon
