// Feeds arbitrary bytes to the BMP reader as a picture in memory. Whatever
// the check accepts must decode without touching memory outside the data or
// outside each output row's pixels.
#include "runtime/screen/image_decoders.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint8_t Sentinel = 0x5A;
// Pictures of an unknown bit count carry no pixels, so a few bytes can claim
// a size of up to 2 GB of output; decoding those only clears memory.
constexpr uint64_t MaxOutputBytes = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (QV_BMP_Check(nullptr, data, size) == 0)
        return 0;
    const int32_t width = QV_BMP_GetWidth();
    const int32_t height = QV_BMP_GetHeight();
    if (width <= 0 || height <= 0)
        std::abort();
    // One spare byte past the pixels of every row shows a row overrun.
    const uint64_t pitch = 3 * static_cast<uint64_t>(width) + 1;
    if (pitch * static_cast<uint64_t>(height) > MaxOutputBytes)
        return 0;

    std::vector<uint8_t> output(pitch * height, Sentinel);
    if (QV_BMP_Decode(output.data(), static_cast<int32_t>(pitch)) != 1)
        std::abort();
    for (int32_t row = 0; row < height; ++row) {
        if (output[row * pitch + pitch - 1] != Sentinel)
            std::abort();
    }
    return 0;
}
