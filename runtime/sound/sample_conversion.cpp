#include "runtime/sound/sample_conversion.h"

#include <soxr.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "runtime/core/strings.h"

namespace tervane::sound {
namespace {

// The resampler reads and writes 16-bit samples in the machine's byte order.
constexpr Uint16 ResamplingFormat = AUDIO_S16SYS;

int64_t FrameBytes(Uint16 format, Uint8 channels)
{
    return int64_t(format & 0xFF) / 8 * channels;
}

// A SYS_AllocateMemory block that is freed unless handed on.
class Block {
public:
    explicit Block(int64_t bytes)
        : bytes_(bytes <= std::numeric_limits<int32_t>::max()
                     ? static_cast<uint8_t*>(SYS_AllocateMemory(int32_t(std::max<int64_t>(bytes, 1))))
                     : nullptr)
    {
    }
    ~Block() { SYS_FreeMemory(bytes_); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    uint8_t* Get() const { return bytes_; }
    uint8_t* Release() { return std::exchange(bytes_, nullptr); }

private:
    uint8_t* bytes_;
};

// Converts `bytes` bytes at the start of `block` in place with SDL, which
// leaves the rate alone here. Returns the converted byte count, or -1.
int64_t ConvertInPlace(SDL_AudioCVT& cvt, uint8_t* block, int64_t bytes)
{
    cvt.buf = block;
    cvt.len = int(bytes);
    return SDL_ConvertAudio(&cvt) < 0 ? -1 : int64_t(cvt.len_cvt);
}

// Changes the rate of interleaved 16-bit frames, writing exactly `toFrames`.
//
// SoX's resampler (libsoxr), high quality: it keeps the images of a tone
// over 90 dB below it, is flat across 90 % of the source's band, and
// converts all the built-in sounds in a few milliseconds. speexdsp needs a
// slow interpolated filter table for 8000 to 44100 Hz (80:441) and took four
// times as long at like rejection, libsamplerate's fastest sinc over ten
// times. soxr lines its output up with the input, so sample n still sounds
// at n / rate, and clips rather than wraps what overshoots 16 bits.
bool Resample(const uint8_t* from, int64_t fromFrames, int fromRate, uint8_t* to, int64_t toFrames, int toRate,
              Uint8 channels)
{
    if (fromRate == toRate) {
        std::memcpy(to, from, size_t(toFrames * FrameBytes(ResamplingFormat, channels)));
        return true;
    }
    if (toFrames == 0)
        return true;
    // No dither: the same sound loads to the same samples every time.
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    // One thread: a pool of helpers would only compete with the rest of
    // start-up, which goes on beside the loading, for the cores.
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    size_t written = 0;
    // Frames soxr leaves unwritten at the very end stay silent in the zeroed block.
    return soxr_oneshot(fromRate, toRate, unsigned(channels), from, size_t(fromFrames), nullptr, to, size_t(toFrames),
                        &written, &io, &quality, &runtime) == nullptr;
}

}  // namespace

bool ConvertSamples(const SDL_AudioSpec& source, const uint8_t* samples, uint32_t length, const SDL_AudioSpec& target,
                    ConvertedSamples& result)
{
    const int64_t frameBytes = FrameBytes(source.format, source.channels);
    if (frameBytes <= 0 || source.freq <= 0 || target.freq <= 0)
        return false;

    // SDL changes the sample format and the channels; the rate is changed in
    // between, on 16-bit samples with the source's channels, the fewest there are.
    SDL_AudioCVT toResampling;
    SDL_AudioCVT toTarget;
    if (SDL_BuildAudioCVT(&toResampling, source.format, source.channels, source.freq, ResamplingFormat, source.channels,
                          source.freq) < 0 ||
        SDL_BuildAudioCVT(&toTarget, ResamplingFormat, source.channels, target.freq, target.format, target.channels,
                          target.freq) < 0)
        return false;

    const int64_t frames = int64_t(length / frameBytes);
    const int64_t targetFrames = frames * target.freq / source.freq;
    if (targetFrames > std::numeric_limits<int32_t>::max())
        return false;
    const int64_t resamplingFrameBytes = FrameBytes(ResamplingFormat, source.channels);

    Block decoded(frames * frameBytes * toResampling.len_mult);
    Block block(targetFrames * resamplingFrameBytes * toTarget.len_mult);
    if (decoded.Get() == nullptr || block.Get() == nullptr)
        return false;
    std::memcpy(decoded.Get(), samples, size_t(frames * frameBytes));
    if (ConvertInPlace(toResampling, decoded.Get(), frames * frameBytes) < 0 ||
        !Resample(decoded.Get(), frames, source.freq, block.Get(), targetFrames, target.freq, source.channels))
        return false;
    const int64_t converted = ConvertInPlace(toTarget, block.Get(), targetFrames * resamplingFrameBytes);
    if (converted < 0)
        return false;
    result = {block.Release(), int32_t(converted)};
    return true;
}

}  // namespace tervane::sound
