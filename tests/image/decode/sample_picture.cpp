#include "sample_picture.h"

#include "image/bitmap/bmp_builder.h"

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace vexilon::samples {

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

RgbPicture patternPicture(std::int32_t width, std::int32_t height, int colours) {
    RgbPicture p{width, height,
                 Bytes(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            unsigned r = static_cast<unsigned>(x * 37 + y * 11);
            unsigned g = static_cast<unsigned>(y * 53 + x * 3 + 7);
            unsigned b = static_cast<unsigned>((x ^ y) * 29 + 100);
            if (colours > 0) {
                const unsigned k =
                    static_cast<unsigned>(x + y * width) % static_cast<unsigned>(colours);
                r = k * 7;
                g = 255 - k;
                b = k * 13;
            }
            std::uint8_t* px = p.at(x, y);
            px[0] = static_cast<std::uint8_t>(r);
            px[1] = static_cast<std::uint8_t>(g);
            px[2] = static_cast<std::uint8_t>(b);
        }
    }
    return p;
}

IndexedPicture indexColours(const RgbPicture& picture) {
    IndexedPicture out;
    std::map<std::uint32_t, std::uint8_t> seen;
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        const std::uint32_t key = (std::uint32_t{picture.rgb[i]} << 16) |
                                  (std::uint32_t{picture.rgb[i + 1]} << 8) | picture.rgb[i + 2];
        auto found = seen.find(key);
        if (found == seen.end()) {
            if (seen.size() == 256) {
                throw std::invalid_argument("more than 256 colours");
            }
            found = seen.emplace(key, static_cast<std::uint8_t>(seen.size())).first;
            out.palette.insert(out.palette.end(),
                               picture.rgb.begin() + static_cast<std::ptrdiff_t>(i),
                               picture.rgb.begin() + static_cast<std::ptrdiff_t>(i + 3));
        }
        out.indices.push_back(found->second);
    }
    return out;
}

Bytes intermediateOf(const RgbPicture& picture) {
    return test::picture24(picture.width, picture.height, [&](int x, int y) {
        const std::uint8_t* px = picture.at(x, y);
        return std::array<std::uint8_t, 3>{px[0], px[1], px[2]};
    });
}

} // namespace vexilon::samples
