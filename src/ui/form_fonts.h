#pragma once

class QWidget;

namespace vexilon {

// Designer forms can state a font's size only in points. Our forms give the
// family in the font property and the character height in pixels in the
// dynamic property "fontPixelSize"; this applies those heights to `root` and
// every widget inside it. Call it right after setupUi().
inline constexpr char kFontPixelSizeProperty[] = "fontPixelSize";

void applyFormFontPixelSizes(QWidget* root);

} // namespace vexilon
