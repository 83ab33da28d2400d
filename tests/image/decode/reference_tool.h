#pragma once

// ImageMagick as the independent reference: it writes test files in the
// kinds our decoders read, and reads them back, over white, as plain pixels.

#include "decode_test_support.h"
#include "sample_picture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace vexilon::samples {

inline bool runTool(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

inline std::string shellQuoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// A picture as PAM, with an alpha channel when `alpha` holds one per pixel.
inline void writePam(const std::filesystem::path& path, const RgbPicture& picture,
                     const Bytes& alpha = {}) {
    std::ostringstream head;
    head << "P7\nWIDTH " << picture.width << "\nHEIGHT " << picture.height << "\nDEPTH "
         << (alpha.empty() ? 3 : 4) << "\nMAXVAL 255\nTUPLTYPE "
         << (alpha.empty() ? "RGB" : "RGB_ALPHA") << "\nENDHDR\n";
    const std::string text = head.str();
    Bytes bytes(text.begin(), text.end());
    for (std::size_t i = 0; i * 3 < picture.rgb.size(); ++i) {
        bytes.insert(bytes.end(), picture.rgb.begin() + 3 * i, picture.rgb.begin() + 3 * i + 3);
        if (!alpha.empty()) {
            bytes.push_back(alpha[i]);
        }
    }
    writeFile(path, bytes);
}

// A binary PPM's pixels; nothing for anything else.
inline std::optional<RgbPicture> readPpm(const std::filesystem::path& path) {
    const Bytes bytes = readFile(path);
    std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    std::string magic;
    RgbPicture picture;
    int maxval = 0;
    if (!(in >> magic >> picture.width >> picture.height >> maxval) || magic != "P6" ||
        maxval != 255) {
        return std::nullopt;
    }
    const std::size_t start = static_cast<std::size_t>(in.tellg()) + 1;
    const std::size_t size =
        3 * static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (bytes.size() < start + size) {
        return std::nullopt;
    }
    picture.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                       bytes.begin() + static_cast<std::ptrdiff_t>(start + size));
    return picture;
}

// What ImageMagick reads from the file: its first frame, put over white.
inline std::optional<RgbPicture> referencePixels(const std::filesystem::path& file,
                                                 const std::string& options = "") {
    const std::filesystem::path out = file.string() + ".ref.ppm";
    if (!runTool("convert " + shellQuoted(file) + "[0] " + options +
                 " -background white -alpha remove -alpha off -depth 8 ppm:" + shellQuoted(out))) {
        return std::nullopt;
    }
    return readPpm(out);
}

// The intermediate image's pixels, top row first.
inline RgbPicture pixelsOf(const Bytes& intermediate) {
    RgbPicture picture;
    picture.width = static_cast<std::int32_t>(intermediate[18] | intermediate[19] << 8 |
                                              intermediate[20] << 16);
    picture.height = static_cast<std::int32_t>(intermediate[22] | intermediate[23] << 8 |
                                               intermediate[24] << 16);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::array<int, 3> rgb = rgbAt(intermediate, x, y);
            picture.rgb.insert(picture.rgb.end(), rgb.begin(), rgb.end());
        }
    }
    return picture;
}

// Pixels whose channels differ by more than `tolerance`; -1 for another size.
inline int differingPixels(const RgbPicture& a, const RgbPicture& b, int tolerance = 0) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) {
        return -1;
    }
    int differing = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
        bool same = true;
        for (std::size_t c = 0; c < 3; ++c) {
            same = same && std::abs(a.rgb[i + c] - b.rgb[i + c]) <= tolerance;
        }
        differing += same ? 0 : 1;
    }
    return differing;
}

} // namespace vexilon::samples
