// Reading the layout of a RIFF WAVE image in memory without trusting any size
// written in it. SDL 1.2's WAVE reader allocates and reads whatever its chunk
// headers claim and misbehaves on odd channel counts, so the loader hands it
// only images that pass this check, cut off right after their data chunk.
#pragma once

#include <cstdint>

namespace tervane::sound {

// The bytes from the image's start through the end of its data chunk, or 0
// when the image is refused. Accepted are "RIFF" <size> "WAVE", a "fmt "
// chunk of at least 16 bytes right after it describing uncompressed PCM of
// 8 or 16 bits, mono or stereo, at a rate from LowestRate up, then any
// chunks before the "data" chunk, each chunk lying inside `size` bytes. The
// RIFF size field is not read. Chunks are taken as packed end to end, as SDL
// reads them.
int32_t WaveImageLength(const uint8_t* data, int32_t size);

// Below this the conversion to the device's rate would turn a few bytes into
// hundreds of megabytes, and nothing slower is a sound worth holding.
inline constexpr int32_t LowestRate = 1000;

}  // namespace tervane::sound
