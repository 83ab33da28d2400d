#pragma once

#include <filesystem>

namespace vexilon {

// The device behind port number `portNumber`: the link "COM<n>" in
// `linkDirectory` when there is one (even a dangling one: the user pinned that
// number), otherwise the USB serial devices of `deviceDirectory` (ttyUSB*,
// then ttyACM*, each in numeric order) that no link pins take the numbers
// without a link, in order, from 1 up. Empty when the number stands for no
// device.
std::filesystem::path portDevicePath(int portNumber, const std::filesystem::path& linkDirectory,
                                     const std::filesystem::path& deviceDirectory = "/dev");

} // namespace vexilon
