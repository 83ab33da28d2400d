#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vexilon::sim {

// The image the machine keeps after an upload: 512 x 512 dots, true where the
// laser is to burn.
class DotImage {
public:
    static constexpr int kSide = 512;

    // Reads the uploaded block (a 1-bit 512 x 512 BMP whose rows come from the
    // top down, bit 0 = a dot to burn). Nothing for a block of another shape.
    static std::optional<DotImage> fromImageData(std::span<const std::uint8_t> data);
    // For tests and for the model's own bookkeeping: a blank image.
    DotImage();

    bool dot(int x, int y) const { return dots_[static_cast<std::size_t>(y * kSide + x)] != 0; }
    void setDot(int x, int y, bool burn) {
        dots_[static_cast<std::size_t>(y * kSide + x)] = burn ? 1 : 0;
    }
    long long dotCount() const;

private:
    std::vector<std::uint8_t> dots_;
};

} // namespace vexilon::sim
