#pragma once

namespace vexilon {

// Hands every large block (a decoded picture, a canvas) back
// to the system as soon as it is freed. Called once, before the window.
void releaseLargeBlocksWhenFreed();

} // namespace vexilon
