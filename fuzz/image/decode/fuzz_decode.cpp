// libFuzzer entry for the picture decoders behind convertToBmp24.
#include "decoded_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    vexilon::fuzz::decodeAndCheck(file);
    if (const auto layout = vexilon::readBmpLayout(file)) {
        vexilon::bmpFitsFile(*layout, size);
    }
    return 0;
}
