#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace vexilon {
namespace {

struct GifMemory {
    std::span<const std::uint8_t> file;
    std::size_t pos = 0;
};

int readGif(GifFileType* gif, GifByteType* out, int count) {
    auto* memory = static_cast<GifMemory*>(gif->UserData);
    const std::size_t n =
        std::min(static_cast<std::size_t>(std::max(count, 0)), memory->file.size() - memory->pos);
    std::memcpy(out, memory->file.data() + memory->pos, n);
    memory->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// The first frame's colours.
struct Frame {
    const ColorMapObject* colours = nullptr;
    int transparent = NO_TRANSPARENT_COLOR;
};

// Extensions before the first frame: only the graphics control block,
// which names the transparent index, matters.
bool readExtension(GifFileType* gif, Frame& frame) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) {
        return false;
    }
    GraphicsControlBlock control{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
        frame.transparent = control.TransparentColor;
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
            return false;
        }
    }
    return true;
}

// Rows of an interlaced frame come in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

// What the frame leaves of the picture is white; filled only once the frame
// has been read, so that a file claiming a huge picture it does not hold
// fails before that memory is touched.
void whiteAroundFrame(const GifImageDesc& place, Bmp24Image& image) {
    const auto white = [&](std::int32_t y, std::int64_t from, std::int64_t to) {
        std::memset(image.row(y) + 3 * from, 0xFF, static_cast<std::size_t>(3 * (to - from)));
    };
    for (std::int32_t y = 0; y < image.height(); ++y) {
        if (y < place.Top || y >= place.Top + place.Height) {
            white(y, 0, image.width());
            continue;
        }
        white(y, 0, place.Left);
        white(y, place.Left + place.Width, image.width());
    }
}

// Transparent pixels are white.
bool putRow(const std::vector<GifPixelType>& line, const Frame& frame, const GifImageDesc& place,
            std::uint8_t* out) {
    for (int x = 0; x < place.Width; ++x) {
        const int index = line[static_cast<std::size_t>(x)];
        std::uint8_t* pixel = out + 3 * static_cast<std::size_t>(place.Left + x);
        if (index == frame.transparent) {
            std::memset(pixel, 0xFF, 3);
            continue;
        }
        if (index >= frame.colours->ColorCount) {
            return false;
        }
        const GifColorType& c = frame.colours->Colors[index];
        pixel[0] = c.Blue;
        pixel[1] = c.Green;
        pixel[2] = c.Red;
    }
    return true;
}

bool readFrame(GifFileType* gif, const Frame& frame, Bmp24Image& image) {
    const GifImageDesc& place = gif->Image;
    std::vector<GifPixelType> line(static_cast<std::size_t>(place.Width));
    for (const int y : rowOrder(place.Height, place.Interlace)) {
        if (DGifGetLine(gif, line.data(), place.Width) != GIF_OK ||
            !putRow(line, frame, place, image.row(place.Top + y))) {
            return false;
        }
    }
    whiteAroundFrame(place, image);
    return true;
}

DecodeOutcome decodeFirstFrame(GifFileType* gif, Bmp24Image& image) {
    Frame frame;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &record) != GIF_OK) {
            return DecodeOutcome::Failed;
        }
        if (record == EXTENSION_RECORD_TYPE && !readExtension(gif, frame)) {
            return DecodeOutcome::Failed;
        }
    } while (record != IMAGE_DESC_RECORD_TYPE && record != TERMINATE_RECORD_TYPE);
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) {
        return DecodeOutcome::Failed;
    }
    frame.colours = gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap;
    // A frame reaching past the logical screen widens the picture, as
    // viewers show it.
    const GifImageDesc& place = gif->Image;
    const std::int64_t width =
        std::max<std::int64_t>(gif->SWidth, std::int64_t{place.Left} + place.Width);
    const std::int64_t height =
        std::max<std::int64_t>(gif->SHeight, std::int64_t{place.Top} + place.Height);
    if (frame.colours == nullptr || place.Left < 0 || place.Top < 0 || place.Width <= 0 ||
        place.Height <= 0 || !pictureSizeAllowed(width, height) ||
        !image.allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height))) {
        return DecodeOutcome::Failed;
    }
    return readFrame(gif, frame, image) ? DecodeOutcome::Decoded : DecodeOutcome::Failed;
}

} // namespace

bool mayBeGif(std::span<const std::uint8_t> head, std::uint64_t) {
    return head.size() >= 6 && std::memcmp(head.data(), "GIF8", 4) == 0 &&
           (head[4] == '7' || head[4] == '9') && head[5] == 'a';
}

// The first frame of the picture, on its logical screen.
DecodeOutcome decodeGif(std::span<const std::uint8_t> file, Bmp24Image& image) {
    if (!mayBeGif(file, file.size())) {
        return DecodeOutcome::Refused;
    }
    GifMemory memory{file};
    int error = 0;
    const GifFile gif(DGifOpen(&memory, readGif, &error));
    if (!gif) {
        return DecodeOutcome::Refused;
    }
    return decodeFirstFrame(gif.get(), image);
}

} // namespace vexilon
