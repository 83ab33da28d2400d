// The Photo CD decoder needs a file of at least 786,432 bytes, far more than
// a fuzzer's inputs: this target assembles one from each input. The first
// byte chooses the file's shape (the whole base image, a little short of it,
// or longer) and whether the signature is set; the rest is repeated over
// the file, so the header and the image data both come from the input.

#include "../decode/decoded_check.h"
#include "image/decode/decoders.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kSignatureOffset = 0x800;
constexpr char kSignature[] = "PCD_IPI";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t shape = data[0];
    const std::span<const std::uint8_t> pattern(data + 1, size - 1);
    std::size_t fileSize = vexilon::kPhotoCdBaseEnd;
    if (shape % 3 == 1) {
        fileSize -= 1 + pattern.size() % 4096;
    } else if (shape % 3 == 2) {
        fileSize += pattern.size();
    }
    std::vector<std::uint8_t> file(fileSize);
    for (std::size_t i = 0; i < fileSize; ++i) {
        file[i] = pattern[i % pattern.size()];
    }
    if ((shape & 4) == 0) {
        std::memcpy(file.data() + kSignatureOffset, kSignature, sizeof kSignature - 1);
    }
    vexilon::fuzz::decodeAndCheck(file);
    return 0;
}
