#pragma once

namespace vexilon {

// The name the desktop knows the console by: its desktop entry is
// "<id>.desktop", its AppStream component the same id.
inline constexpr const char* kDesktopId = "org.vexilon.Console";
inline constexpr const char* kDesktopAppName = "Vexilon Console";

} // namespace vexilon
