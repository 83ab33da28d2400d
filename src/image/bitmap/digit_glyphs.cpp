#include "image/bitmap/digit_glyphs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexilon {

namespace {

struct Point {
    double x;
    double y;
};

// Strokes about 1.25 pixels wide; horizontal and vertical strokes run along
// pixel centres so that they stay crisp and only the curves are shaded.
constexpr double kStrokeHalfWidth = 0.62;
constexpr int kSamples = 6; // per axis, per channel
// Share of each subpixel's own coverage in its channel; the rest is the
// pixel's mean, which tones the colour fringes down.
constexpr double kOwnShare = 0.6;

void appendArc(std::vector<Point>& path, Point centre, double rx, double ry, double fromDegrees,
               double toDegrees, int steps) {
    for (int i = 0; i <= steps; ++i) {
        const double angle =
            (fromDegrees + (toDegrees - fromDegrees) * i / steps) * std::numbers::pi / 180.0;
        path.push_back({centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)});
    }
}

// The digit's strokes in pixel coordinates of a width x height cell, y down.
std::vector<Point> strokePath(char digit, double width, double height) {
    const double left = 1.5;
    const double right = width - 1.5;
    const double top = 0.5;
    const double bottom = height - 0.5;
    const double middleX = (left + right) / 2;
    std::vector<Point> path;
    if (digit == '0') {
        appendArc(path, {middleX, height / 2}, (right - left) / 2, (bottom - top) / 2, 0.0, 360.0,
                  48);
    } else if (digit == '5') {
        const double bowlTop = top + (height - 1) * 0.375;
        const double bowlRadiusY = (bottom - bowlTop) / 2;
        path = {{right, top}, {left, top}, {left, bowlTop + 0.6}};
        appendArc(path, {middleX, bowlTop + bowlRadiusY}, (right - left) / 2, bowlRadiusY, -150.0,
                  145.0, 36);
    }
    return path;
}

double segmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool inked(const std::vector<Point>& path, Point p) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (segmentDistance(p, path[i - 1], path[i]) <= kStrokeHalfWidth) {
            return true;
        }
    }
    return false;
}

// Share of a one-pixel box centred on (cx, cy) that the strokes cover.
double coverage(const std::vector<Point>& path, double cx, double cy) {
    int hits = 0;
    for (int i = 0; i < kSamples; ++i) {
        for (int j = 0; j < kSamples; ++j) {
            const double x = cx - 0.5 + (i + 0.5) / kSamples;
            const double y = cy - 0.5 + (j + 0.5) / kSamples;
            hits += inked(path, {x, y}) ? 1 : 0;
        }
    }
    return static_cast<double>(hits) / (kSamples * kSamples);
}

std::uint8_t shade(double covered) {
    return static_cast<std::uint8_t>(std::lround(255.0 * (1.0 - covered)));
}

} // namespace

GlyphImage renderDigit(char digit, int width, int height) {
    GlyphImage glyph{width, height, {}};
    if (width <= 0 || height <= 0) {
        return glyph;
    }
    glyph.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto path = strokePath(digit, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Red, green and blue subpixels lie left to right in the pixel.
            const double cy = y + 0.5;
            const double red = coverage(path, x + 1.0 / 6, cy);
            const double green = coverage(path, x + 3.0 / 6, cy);
            const double blue = coverage(path, x + 5.0 / 6, cy);
            const double mean = (red + green + blue) / 3;
            auto mix = [mean](double own) { return kOwnShare * own + (1 - kOwnShare) * mean; };
            glyph.pixels[static_cast<std::size_t>(y * width + x)] = {
                shade(mix(red)), shade(mix(green)), shade(mix(blue))};
        }
    }
    return glyph;
}

} // namespace vexilon
