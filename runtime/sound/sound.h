// The sound layer: the audio device, a store of numbered sounds held in the
// device's own sample format, and a 32-channel mixer run by SDL's audio
// callback.
//
// Every conversion happens once, when a sound is loaded, so the callback only
// adds ready samples. A thread changes the channel table and releases
// samples only while it holds SDL's audio lock; the callback runs under that
// lock and therefore never sees a half-made change or freed samples. The
// store itself takes one thread at a time: a thread that loads sounds while
// another plays them must be joined first.
#pragma once

#include <SDL.h>

#include <cstdint>

// One numbered sound. `samples` is 0 for an empty slot.
struct QV_SoundObject {
    uint8_t* samples;  // converted to the device format, owned by the record
    int32_t length;    // bytes of samples
    int32_t volume;    // 0 to 100, 100 after loading
};

// One mixing channel. It points into a record's samples and owns nothing.
struct QV_SoundChannel {
    const uint8_t* position;  // next byte to mix
    int32_t remaining;        // bytes still to mix; 0 = free
    int32_t sound;            // number of the sound it plays, kept after it ends
    int32_t volume;           // 0 to 100
};

inline constexpr int32_t QV_SOUND_CHANNELS = 32;

// ---- The device -----------------------------------------------------------

// Opens the audio device, empties the store (50 records) and starts the
// callback. Returns the store, or 0 when audio cannot be started. Calling it
// again while the device is open returns the same store.
QV_SoundObject* QV_InitSound();

// Closes the device and releases every sound and the store. Safe to call
// whether or not the layer was started.
void QV_FreeSounds();

// ---- The store ------------------------------------------------------------

extern QV_SoundObject* QV_Sound_ObjectsArea;
extern int32_t QV_Sound_ObjectsNumber;

// Loads the RIFF WAVE image of `size` bytes at `memory` (PCM, 8 or 16 bits,
// mono or stereo, 1000 Hz or more) as sound `sound`, converted to the device
// format. A sound already in the slot is stopped and replaced. Returns 1, or
// 0 with the slot left as it was when the data is not such an image, its
// chunks do not fit `size`, or memory runs out.
int32_t QV_CatchSound(int32_t sound, const void* memory, int32_t size);

// QV_CatchSound in its two halves, for a caller that converts on a thread
// of its own. Reading goes through SDL's WAVE reader, which under
// sdl12-compat looks SDL 2's hints up in a list that starting video changes
// without a lock, so it belongs on the thread that starts SDL; converting
// and storing touch nothing of SDL's but the audio lock.
struct QV_WaveSamples {
    SDL_AudioSpec format;  // the image's own rate, sample format and channels
    uint8_t* samples;      // from SDL_LoadWAV_RW, freed by QV_StoreWave
    uint32_t length;       // bytes of samples
};

// Reads the image as QV_CatchSound does. Returns 1 with `wave` holding its
// samples, or 0 with nothing to free.
int32_t QV_ReadWave(const void* memory, int32_t size, QV_WaveSamples& wave);

// Converts what QV_ReadWave read to the device format and puts it in slot
// `sound`, returning as QV_CatchSound; the samples read are freed either way.
int32_t QV_StoreWave(int32_t sound, QV_WaveSamples& wave);

// The same from a WAVE file; every "\" in the name is taken as "/".
int32_t QV_LoadSound(int32_t sound, const char* fileName);

// Stops the sound and frees its samples; the slot becomes empty.
void QV_FreeSound(int32_t sound);

// Grows the store to `sound` + 50 records when `sound` lies beyond its end.
// Returns 1 when the number is valid afterwards, 0 when memory ran out.
int32_t QV_Sound_CheckReAlloc(int32_t sound);

// ---- Playing --------------------------------------------------------------
// Numbers outside the store and empty slots are ignored.

// Starts the sound from its beginning on the first free channel; dropped when
// all 32 are busy. Every sound plays once: `mode` is not used.
void QV_PlaySound2(int32_t sound, int32_t mode);
void QV_PlaySound(int32_t sound);

// Stops every channel playing the sound.
void QV_StopSound(int32_t sound);

// Sets the sound's volume (clamped to 0..100), also on copies already playing.
void QV_SoundVolume(int32_t sound, int32_t volume);
