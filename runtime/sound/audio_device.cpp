// Opening and closing the audio device; the layer's start and release.
#include <SDL.h>

#include "runtime/sdl/sdl_lifetime.h"
#include "runtime/sound/audio_lock.h"
#include "runtime/sound/mixer.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_store.h"

SDL_AudioSpec tervane::sound::DeviceFormat;

namespace {

// The format asked for: 44100 Hz, AUDIO_S16LSB, stereo, 512 frames a callback.
SDL_AudioSpec wanted;

constexpr int DeviceRate = 44100;
constexpr Uint8 DeviceChannels = 2;
// 11.6 ms at 44100 Hz: short enough that a start is heard at once.
constexpr Uint16 DeviceFrames = 512;

void RequestDeviceFormat()
{
    wanted = {};
    wanted.freq = DeviceRate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = DeviceChannels;
    wanted.samples = DeviceFrames;
    wanted.callback = tervane::sound::FillAudio;
    wanted.userdata = nullptr;
}

bool DeviceOpen()
{
    return SDL_GetAudioStatus() != SDL_AUDIO_STOPPED;
}

}  // namespace

using namespace tervane::sound;

QV_SoundObject* QV_InitSound()
{
    if (DeviceOpen() && QV_Sound_ObjectsArea != nullptr)
        return QV_Sound_ObjectsArea;
    // A store left from a device SDL has since shut down can no longer be heard.
    ReleaseStore();
    if (QV_StartSDLAudio() == 0)
        return nullptr;
    RequestDeviceFormat();
    if (SDL_OpenAudio(&wanted, &DeviceFormat) < 0) {
        QV_StopSDLAudio();
        return nullptr;
    }
    if (!CreateStore()) {
        SDL_CloseAudio();
        return nullptr;
    }
    {
        AudioLock lock;
        FreeAllChannels();
    }
    SDL_PauseAudio(0);
    return QV_Sound_ObjectsArea;
}

void QV_FreeSounds()
{
    if (QV_Sound_ObjectsArea == nullptr)
        return;
    // Closing waits for the audio thread to end, so nothing mixes any more.
    SDL_CloseAudio();
    FreeAllChannels();
    ReleaseStore();
}
