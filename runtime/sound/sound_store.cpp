// The store of numbered sounds: loading WAVE data into it, converted to the
// device's format, freeing what it holds, and starting, stopping and setting
// the loudness of its sounds by number on the mixer's channels.
#include "runtime/sound/sound_store.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "runtime/core/strings.h"
#include "runtime/sound/audio_lock.h"
#include "runtime/sound/mixer.h"
#include "runtime/sound/sample_conversion.h"
#include "runtime/sound/wave_image.h"

QV_SoundObject* QV_Sound_ObjectsArea = nullptr;
int32_t QV_Sound_ObjectsNumber = 0;

namespace tervane::sound {
namespace {

// Records the store starts with, and adds beyond a number that lies past its end.
constexpr int32_t StoreHeadroom = 50;

int64_t StoreBytes(int64_t records)
{
    return records * int64_t(sizeof(QV_SoundObject));
}

// Puts the samples into the slot. Channels still playing the slot's old
// samples stop in the same locked step, so the old block is free to go.
void FillSlot(int32_t sound, const ConvertedSamples& converted)
{
    uint8_t* old;
    {
        AudioLock lock;
        QV_SoundObject& record = QV_Sound_ObjectsArea[sound];
        old = record.samples;
        if (old != nullptr)
            StopChannelsOf(sound);
        record = {converted.samples, converted.length, FullVolume};
    }
    SYS_FreeMemory(old);
}

// The whole file, or nothing when it cannot be read or is too large to hand
// on with a 32-bit size.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& contents)
{
    std::ifstream file(name, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > std::numeric_limits<int32_t>::max())
        return false;
    contents.resize(size_t(size));
    file.seekg(0);
    return bool(file.read(reinterpret_cast<char*>(contents.data()), size));
}

}  // namespace

bool CreateStore()
{
    QV_Sound_ObjectsArea = static_cast<QV_SoundObject*>(SYS_AllocateMemory(int32_t(StoreBytes(StoreHeadroom))));
    QV_Sound_ObjectsNumber = QV_Sound_ObjectsArea != nullptr ? StoreHeadroom : 0;
    return QV_Sound_ObjectsArea != nullptr;
}

void ReleaseStore()
{
    for (int32_t sound = 0; sound < QV_Sound_ObjectsNumber; ++sound)
        SYS_FreeMemory(QV_Sound_ObjectsArea[sound].samples);
    SYS_FreeMemory(QV_Sound_ObjectsArea);
    QV_Sound_ObjectsArea = nullptr;
    QV_Sound_ObjectsNumber = 0;
}

QV_SoundObject* SoundRecord(int32_t sound)
{
    if (QV_Sound_ObjectsArea == nullptr || sound < 0 || sound >= QV_Sound_ObjectsNumber)
        return nullptr;
    return &QV_Sound_ObjectsArea[sound];
}

}  // namespace tervane::sound

using namespace tervane::sound;

int32_t QV_Sound_CheckReAlloc(int32_t sound)
{
    if (QV_Sound_ObjectsArea == nullptr || sound < 0)
        return 0;
    if (sound < QV_Sound_ObjectsNumber)
        return 1;
    const int64_t records = int64_t(sound) + StoreHeadroom;
    if (StoreBytes(records) > std::numeric_limits<int32_t>::max())
        return 0;
    // The callback never reads the records, only the samples they point to,
    // so the store may move without the audio lock.
    void* grown = SYS_ReAllocateMemory(QV_Sound_ObjectsArea, int32_t(StoreBytes(QV_Sound_ObjectsNumber)),
                                       int32_t(StoreBytes(records)));
    if (grown == nullptr)
        return 0;
    QV_Sound_ObjectsArea = static_cast<QV_SoundObject*>(grown);
    QV_Sound_ObjectsNumber = int32_t(records);
    return 1;
}

int32_t QV_ReadWave(const void* memory, int32_t size, QV_WaveSamples& wave)
{
    const auto* data = static_cast<const uint8_t*>(memory);
    const int32_t imageLength = WaveImageLength(data, size);
    if (imageLength == 0)
        return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(data, imageLength);
    if (stream == nullptr)
        return 0;
    wave = {};
    return SDL_LoadWAV_RW(stream, 1, &wave.format, &wave.samples, &wave.length) != nullptr ? 1 : 0;
}

int32_t QV_StoreWave(int32_t sound, QV_WaveSamples& wave)
{
    ConvertedSamples converted;
    const bool convertedOk = QV_Sound_ObjectsArea != nullptr && sound >= 0 &&
        ConvertSamples(wave.format, wave.samples, wave.length, DeviceFormat, converted);
    SDL_FreeWAV(wave.samples);
    wave.samples = nullptr;
    if (!convertedOk)
        return 0;
    if (QV_Sound_CheckReAlloc(sound) == 0) {
        SYS_FreeMemory(converted.samples);
        return 0;
    }
    FillSlot(sound, converted);
    return 1;
}

int32_t QV_CatchSound(int32_t sound, const void* memory, int32_t size)
{
    if (QV_Sound_ObjectsArea == nullptr || sound < 0)
        return 0;
    QV_WaveSamples wave;
    if (QV_ReadWave(memory, size, wave) == 0)
        return 0;
    return QV_StoreWave(sound, wave);
}

int32_t QV_LoadSound(int32_t sound, const char* fileName)
{
    const size_t nameBytes = fileName != nullptr ? std::strlen(fileName) + 1 : 1;
    if (nameBytes > size_t(std::numeric_limits<int32_t>::max()))
        return 0;
    std::string name(nameBytes, '\0');
    SYS_ConvertFilename(fileName, name.data(), int32_t(nameBytes));
    name.resize(nameBytes - 1);

    std::vector<uint8_t> contents;
    if (!ReadWholeFile(name, contents))
        return 0;
    return QV_CatchSound(sound, contents.data(), int32_t(contents.size()));
}

void QV_FreeSound(int32_t sound)
{
    QV_SoundObject* record = SoundRecord(sound);
    if (record == nullptr || record->samples == nullptr)
        return;
    uint8_t* samples = record->samples;
    {
        AudioLock lock;
        StopChannelsOf(sound);
        record->samples = nullptr;
        // An empty slot must have no length, or the next start would mix
        // from the freed samples' null address.
        record->length = 0;
    }
    SYS_FreeMemory(samples);
}

void QV_PlaySound2(int32_t sound, int32_t /*mode: every sound plays once*/)
{
    const QV_SoundObject* record = SoundRecord(sound);
    if (record == nullptr)
        return;
    AudioLock lock;
    StartChannel(sound, record->samples, record->length, record->volume);
}

void QV_PlaySound(int32_t sound)
{
    QV_PlaySound2(sound, 0);
}

void QV_StopSound(int32_t sound)
{
    AudioLock lock;
    StopChannelsOf(sound);
}

void QV_SoundVolume(int32_t sound, int32_t volume)
{
    QV_SoundObject* record = SoundRecord(sound);
    if (record == nullptr)
        return;
    volume = std::clamp(volume, 0, FullVolume);
    AudioLock lock;
    record->volume = volume;
    SetChannelsVolume(sound, volume);
}
