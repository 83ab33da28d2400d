#pragma once

namespace vexilon {

// Makes the faces the windows are designed with resolve to their installed
// metric twins: "微软雅黑" and "Microsoft YaHei" to WenQuanYi Micro Hei,
// "Arial" to Liberation Sans, "Calibri" to Carlito.
void registerFontSubstitutions();

} // namespace vexilon
