// The mixing channels, as the rest of the sound layer reaches them.
#pragma once

#include <array>

#include "runtime/sound/sound.h"

namespace tervane::sound {

using ChannelTable = std::array<QV_SoundChannel, QV_SOUND_CHANNELS>;

// The table the callback mixes. While the device runs, read it under the
// audio lock.
const ChannelTable& Channels();

// Ends every channel playing `sound`. Call it holding the audio lock.
void StopChannelsOf(int32_t sound);

// Frees every channel. Call it holding the audio lock or with the device closed.
void FreeAllChannels();

} // namespace tervane::sound
