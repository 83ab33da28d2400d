#include "image/bitmap/ruler_strips.h"

#include "image/bitmap/bmp_file.h"
#include "image/bitmap/digit_glyphs.h"

#include <algorithm>
#include <array>

namespace vexilon {

namespace {

constexpr int kLength = 512;
constexpr int kBreadth = 12;
constexpr int kLabelEvery = 5;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// 512 / 38 pixels apart, as the canvas has always been marked.
constexpr std::array<int, 38> kTicks = {
    0,   13,  27,  40,  54,  67,  81,  94,  108, 121, 134, 148, 161, 175, 188, 202, 215, 229, 242,
    256, 269, 282, 296, 309, 323, 336, 350, 363, 377, 390, 403, 417, 430, 444, 457, 471, 484, 498};

// Paints in strip coordinates: along runs the long side, across the short.
class Strip {
public:
    explicit Strip(bool vertical)
        : vertical_(vertical), image_(*Dib::create(vertical ? kBreadth : kLength,
                                                   vertical ? kLength : kBreadth, 24, {})) {
        fill(0, kLength, 0, kBreadth, kWhite);
    }

    // Paints along [from, to) x across [acrossFrom, acrossTo).
    void fill(int from, int to, int acrossFrom, int acrossTo, Rgb colour) {
        for (int along = from; along < to; ++along) {
            for (int across = acrossFrom; across < acrossTo; ++across) {
                set(along, across, colour);
            }
        }
    }

    // Draws a label centred on a tick, kept inside the strip so that the
    // first one is not cut in half. The label cell stays upright.
    void label(int tick, char digit, int acrossFrom, int acrossTo) {
        const int cellAlong = vertical_ ? 9 : 7;
        const int cellAcross = acrossTo - acrossFrom;
        const GlyphImage glyph = vertical_ ? renderDigit(digit, cellAcross, cellAlong)
                                           : renderDigit(digit, cellAlong, cellAcross);
        const int start = std::clamp(tick - cellAlong / 2, 0, kLength - cellAlong);
        for (int x = 0; x < glyph.width; ++x) {
            for (int y = 0; y < glyph.height; ++y) {
                const int along = start + (vertical_ ? y : x);
                const int across = acrossFrom + (vertical_ ? x : y);
                set(along, across, glyph.at(x, y));
            }
        }
    }

    std::vector<std::uint8_t> bytes() const { return encodeBmpFile(image_); }

private:
    void set(int along, int across, Rgb colour) {
        if (vertical_) {
            image_.setColour(across, along, colour);
        } else {
            image_.setColour(along, across, colour);
        }
    }

    bool vertical_;
    Dib image_;
};

// Where the marks lie across a strip, and how far its middle tick moves.
struct Layout {
    int tickFrom;
    int tickTo;
    int labelTo;
    int middleTickShift;
};

constexpr Layout kVertical{7, 10, 7, -1};
constexpr Layout kHorizontal{8, 10, 8, 0};

void drawTicksAndLabels(Strip& strip, const Layout& layout) {
    for (std::size_t k = 0; k < kTicks.size(); ++k) {
        const int at = kTicks[k] + (k == kTicks.size() / 2 ? layout.middleTickShift : 0);
        strip.fill(at, at + 1, layout.tickFrom, layout.tickTo, kBlack);
        if (k % kLabelEvery == 0) {
            strip.label(at, (k / kLabelEvery) % 2 == 0 ? '0' : '5', 0, layout.labelTo);
        }
    }
    strip.fill(0, kLength, 10, kBreadth, kBlack);
}

std::vector<std::uint8_t> buildVertical() {
    Strip strip(true);
    drawTicksAndLabels(strip, kVertical);
    // The vertical strip also marks its last pixel.
    strip.fill(kLength - 1, kLength, kVertical.tickFrom, kVertical.tickTo, kBlack);
    return strip.bytes();
}

std::vector<std::uint8_t> buildHorizontal() {
    Strip strip(false);
    drawTicksAndLabels(strip, kHorizontal);
    strip.fill(509, kLength, 0, kBreadth, kBlack);
    return strip.bytes();
}

} // namespace

const std::vector<std::uint8_t>& verticalRulerStrip() {
    static const std::vector<std::uint8_t> strip = buildVertical();
    return strip;
}

const std::vector<std::uint8_t>& horizontalRulerStrip() {
    static const std::vector<std::uint8_t> strip = buildHorizontal();
    return strip;
}

} // namespace vexilon
