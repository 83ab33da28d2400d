#pragma once

namespace vexilon {

// Draws the standard controls of every window in the toolkit's own themed
// style (Fusion), the same on every desktop.
void useThemedDrawing();

} // namespace vexilon
