// Turning decoded WAVE samples into the device's format, once, at load time,
// so that the callback only has to add them up.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace tervane::sound {

struct ConvertedSamples {
    uint8_t* samples;  // a SYS_AllocateMemory block, never nullptr on success
    int32_t length;    // bytes, whole frames of the target format
};

// Converts `length` bytes of samples in the `source` format (as SDL decoded
// them) to the rate, format and channels of `target`, keeping their length
// in time: the result has length / source frame size * target rate / source
// rate frames, truncated. Returns false when SDL has no conversion for the
// pair, the result would not fit a 32-bit length, the resampler fails or
// memory runs out.
bool ConvertSamples(const SDL_AudioSpec& source, const uint8_t* samples, uint32_t length, const SDL_AudioSpec& target,
                    ConvertedSamples& result);

}  // namespace tervane::sound
