// The 32 mixing channels and the callback that mixes them into the device's
// stream. The mixer is handed samples, a length and a volume; what a sound
// is, and where its samples come from, is the store's business.
#pragma once

#include <array>

#include "runtime/sound/sound.h"

namespace tervane::sound {

// A volume in percent: the loudest there is, and a sound's after loading.
inline constexpr int32_t FullVolume = 100;

using ChannelTable = std::array<QV_SoundChannel, QV_SOUND_CHANNELS>;

// The table the callback mixes. While the device runs, read it under the
// audio lock.
const ChannelTable& Channels();

// The functions below change the table: call them holding the audio lock, or
// with the device closed. `sound` only labels a channel, so that the caller
// can reach every copy it started under one label.

// Plays `length` bytes from `samples` at `volume` on the first free channel;
// dropped when all 32 are busy.
void StartChannel(int32_t sound, const uint8_t* samples, int32_t length, int32_t volume);

// Ends every channel labelled `sound`.
void StopChannelsOf(int32_t sound);

// Sets the volume of every channel labelled `sound`.
void SetChannelsVolume(int32_t sound, int32_t volume);

// Frees every channel.
void FreeAllChannels();

// SDL's audio callback: adds every busy channel's next samples to `stream`.
void FillAudio(void* userdata, Uint8* stream, int length);

}  // namespace tervane::sound
