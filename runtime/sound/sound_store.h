// The numbered sound records, as the rest of the sound layer reaches them.
#pragma once

#include "runtime/sound/sound.h"

namespace tervane::sound {

// The format the device granted, which every sound is converted to.
extern SDL_AudioSpec DeviceFormat;

// Creates an empty store of 50 records. Returns false when memory runs out.
bool CreateStore();

// Frees every sound's samples and the store itself. Call it with the device
// closed, so that no channel can still be mixing them.
void ReleaseStore();

// The record of sound number `sound`, empty or not; nullptr for a number
// outside the store, and always before the store exists.
QV_SoundObject* SoundRecord(int32_t sound);

}  // namespace tervane::sound
