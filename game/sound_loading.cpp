#include "game/sound_loading.h"

#include "game/assets.h"
#include "runtime/sound/sound.h"

#include <system_error>
#include <thread>
#include <vector>

namespace {

struct ReadSound {
    int32_t number;
    QV_WaveSamples wave;
};

// Read on the main thread, then the loader's alone until it is joined: the
// join is what hands the store back to the main thread.
std::vector<ReadSound> Unstored;
std::thread Loader;

// Converting is the long part, and needs none of SDL's state but the audio lock.
void StoreReadSounds()
{
    for (ReadSound& sound : Unstored)
        QV_StoreWave(sound.number, sound.wave);
    Unstored.clear();
}

}  // namespace

void StartLoadingSounds(int32_t useAudio)
{
    if (useAudio == 0 || Loader.joinable())
        return;
    for (const BuiltInSound& sound : BuiltInSounds()) {
        QV_WaveSamples wave;
        if (QV_ReadWave(sound.file.address, sound.file.size, wave) != 0)
            Unstored.push_back({sound.number, wave});
    }
#ifdef __EMSCRIPTEN__
    // The web version has no threads, and no exceptions to say so: the
    // sounds load before the screen opens.
    StoreReadSounds();
#else
    try {
        Loader = std::thread(StoreReadSounds);
    } catch (const std::system_error&) {
        // Out of threads the sounds are still loaded, only not beside the screen.
        StoreReadSounds();
    }
#endif
}

void FinishLoadingSounds()
{
    if (Loader.joinable())
        Loader.join();
}

void LoadBuiltInAssets(int32_t useAudio)
{
    StartLoadingSounds(useAudio);
    LoadBuiltInPictures();
    FinishLoadingSounds();
}
