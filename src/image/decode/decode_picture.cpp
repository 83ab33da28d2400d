#include "image/decode/convert.h"
#include "image/decode/decode_limits.h"
#include "image/decode/decoders.h"
#include "image/decode/file_bytes.h"

#include <algorithm>
#include <utility>

namespace vexilon {
namespace {

struct DecoderStep {
    OpeningCheck mayAccept;
    PictureDecoder decode;
    ReadExtent extent;
    bool streamed; // a file is decoded as it is read, never held in memory
};

// The order is part of the behaviour: the first decoder whose opening checks
// pass decides, even if a later one could have read the file.
constexpr DecoderStep kDecoders[] = {
    {mayBeJpeg, decodeJpeg, wholeFile, true},  {mayBeBmp, decodeBmp, bmpExtent, false},
    {mayBeTiff, decodeTiff, wholeFile, false}, {mayBePng, decodePng, wholeFile, false},
    {mayBePcx, decodePcx, wholeFile, false},   {mayBeGif, decodeGif, wholeFile, false},
    {mayBeWebp, decodeWebp, wholeFile, false}, {mayBePhotoCd, decodePhotoCd, photoCdExtent, false},
};

int settle(DecodeOutcome outcome, Bmp24Image& attempt, Bmp24Image& image) {
    if (outcome != DecodeOutcome::Decoded) {
        return kConvertNotAPicture;
    }
    attempt.finish();
    image = std::move(attempt);
    return kConvertOk;
}

std::span<const std::uint8_t> upTo(std::span<const std::uint8_t> bytes, std::uint64_t count) {
    return bytes.first(static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes.size())));
}

// The file's bytes as far as a decoder needs them, read at most once: a
// decoder that refuses passes them on to the next.
class FileReader {
public:
    explicit FileReader(const PictureFile& file) : file_(file) {}

    std::optional<std::span<const std::uint8_t>> upTo(std::uint64_t count) {
        const std::uint64_t wanted = std::min(count, file_.size());
        if (!read_.data || read_.size < wanted) {
            if (wanted > kMaxPictureFileBytes) {
                return std::nullopt;
            }
            std::optional<FileBytes> bytes = file_.readHead(wanted);
            if (!bytes) {
                return std::nullopt;
            }
            read_ = std::move(*bytes);
        }
        return vexilon::upTo(read_.bytes(), wanted);
    }

private:
    const PictureFile& file_;
    FileBytes read_;
};

} // namespace

std::uint64_t wholeFile(std::span<const std::uint8_t>, std::uint64_t fileSize) {
    return fileSize;
}

int decodePicture(std::span<const std::uint8_t> source, Bmp24Image& image) {
    const std::span<const std::uint8_t> head = upTo(source, kFileHeadBytes);
    for (const DecoderStep& step : kDecoders) {
        if (!step.mayAccept(head, source.size())) {
            continue;
        }
        Bmp24Image attempt;
        const DecodeOutcome outcome =
            step.decode(upTo(source, step.extent(head, source.size())), attempt);
        if (outcome != DecodeOutcome::Refused) {
            return settle(outcome, attempt, image);
        }
    }
    return kConvertNotAPicture;
}

int decodePictureFile(const std::string& path, Bmp24Image& image) {
    const std::optional<PictureFile> file = PictureFile::open(path);
    return file ? decodePictureFile(*file, image) : kConvertNotAPicture;
}

int decodePictureFile(const PictureFile& file, Bmp24Image& image) {
    const std::optional<FileBytes> head = file.readHead(kFileHeadBytes);
    if (!head) {
        return kConvertNotAPicture;
    }
    FileReader reader(file);
    for (const DecoderStep& step : kDecoders) {
        if (!step.mayAccept(head->bytes(), file.size())) {
            continue;
        }
        Bmp24Image attempt;
        DecodeOutcome outcome = DecodeOutcome::Failed;
        if (step.streamed) {
            if (const FileStream stream = file.stream()) {
                outcome = decodeJpegFile(stream.get(), attempt);
            }
        } else if (const auto bytes = reader.upTo(step.extent(head->bytes(), file.size()))) {
            outcome = step.decode(*bytes, attempt);
        }
        if (outcome != DecodeOutcome::Refused) {
            return settle(outcome, attempt, image);
        }
    }
    return kConvertNotAPicture;
}

} // namespace vexilon
