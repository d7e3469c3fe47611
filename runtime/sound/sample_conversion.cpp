#include "runtime/sound/sample_conversion.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/core/strings.h"

namespace tervane::sound {
namespace {

int64_t FrameBytes(const SDL_AudioSpec& format)
{
    return int64_t(format.format & 0xFF) / 8 * format.channels;
}

// SDL 1.2 changes the rate only by doubling or halving and plays whatever
// ratio is left over at the wrong speed (8000 Hz comes out as 32000 Hz), so
// the rate is changed here instead, by picking for every output frame the
// input frame that sounds at the same moment. For the power-of-two ratios
// this gives exactly SDL's own repeated and dropped frames.
void PickFrames(const uint8_t* from, int64_t fromRate, uint8_t* to, int64_t toRate, int64_t frames, int64_t frameBytes)
{
    for (int64_t frame = 0; frame < frames; ++frame)
        std::memcpy(to + frame * frameBytes, from + frame * fromRate / toRate * frameBytes, size_t(frameBytes));
}

} // namespace

bool ConvertSamples(const SDL_AudioSpec& source, const uint8_t* samples, uint32_t length,
                    const SDL_AudioSpec& target, ConvertedSamples& result)
{
    const int64_t frameBytes = FrameBytes(source);
    if (frameBytes <= 0 || source.freq <= 0 || target.freq <= 0)
        return false;

    // Format and channels only: the rate is already the target's when SDL sees the samples.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, source.format, source.channels, target.freq, target.format, target.channels,
                          target.freq) < 0)
        return false;

    const int64_t frames = int64_t(length / frameBytes) * target.freq / source.freq;
    const int64_t pickedBytes = frames * frameBytes;
    const int64_t blockBytes = std::max<int64_t>(pickedBytes * cvt.len_mult, 1);
    if (blockBytes > std::numeric_limits<int32_t>::max())
        return false;
    auto* block = static_cast<uint8_t*>(SYS_AllocateMemory(int32_t(blockBytes)));
    if (block == nullptr)
        return false;

    PickFrames(samples, source.freq, block, target.freq, frames, frameBytes);
    cvt.buf = block;
    cvt.len = int(pickedBytes);
    if (SDL_ConvertAudio(&cvt) < 0) {
        SYS_FreeMemory(block);
        return false;
    }
    result = {block, int32_t(cvt.len_cvt)};
    return true;
}

} // namespace tervane::sound
