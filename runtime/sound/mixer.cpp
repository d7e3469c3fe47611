// The 32 mixing channels and the callback that mixes them into the device's
// stream.
#include "runtime/sound/mixer.h"

#include <algorithm>

namespace tervane::sound {
namespace {

struct MixerState {
    ChannelTable channels{};
};

MixerState Mixer;

// SDL's mixing volume for a volume in percent: 100 gives SDL_MIX_MAXVOLUME.
int SdlVolume(int32_t volume)
{
    return volume * SDL_MIX_MAXVOLUME / FullVolume;
}

}  // namespace

const ChannelTable& Channels()
{
    return Mixer.channels;
}

void StartChannel(int32_t sound, const uint8_t* samples, int32_t length, int32_t volume)
{
    auto& channels = Mixer.channels;
    const auto free = std::find_if(channels.begin(), channels.end(),
                                   [](const QV_SoundChannel& channel) { return channel.remaining == 0; });
    if (free != channels.end())
        *free = {samples, length, sound, volume};
}

void StopChannelsOf(int32_t sound)
{
    for (QV_SoundChannel& channel : Mixer.channels) {
        if (channel.sound == sound)
            channel.remaining = 0;
    }
}

void SetChannelsVolume(int32_t sound, int32_t volume)
{
    for (QV_SoundChannel& channel : Mixer.channels) {
        if (channel.sound == sound)
            channel.volume = volume;
    }
}

void FreeAllChannels()
{
    for (QV_SoundChannel& channel : Mixer.channels)
        channel.remaining = 0;
}

// Runs on SDL's audio thread under SDL's audio lock. The stream arrives
// silent; clipping of loud sums is SDL_MixAudio's.
void FillAudio(void* /*userdata*/, Uint8* stream, int length)
{
    for (QV_SoundChannel& channel : Mixer.channels) {
        if (channel.remaining <= 0)
            continue;
        const int32_t count = std::min<int32_t>(length, channel.remaining);
        SDL_MixAudio(stream, channel.position, Uint32(count), SdlVolume(channel.volume));
        channel.position += count;
        channel.remaining -= count;
    }
}

}  // namespace tervane::sound
