#pragma once

class QWidget;

namespace vexilon {

// Qt never leaves a title bar blank: a window with an empty title shows the
// program's name. For a window meant to have no title, the X properties Qt
// wrote are emptied again; call it once the window exists (on showing).
// Elsewhere than on X11 it does nothing.
void keepTitleBarEmpty(QWidget& window);

} // namespace vexilon
