#include "game/sound_loading.h"

#include "game/assets.h"

#include <system_error>
#include <thread>

namespace {

// Joinable from the start of a load until FinishLoadingSounds: the join is
// what hands the store back to the main thread.
std::thread Loader;

}  // namespace

void StartLoadingSounds(int32_t useAudio)
{
    if (useAudio == 0 || Loader.joinable())
        return;
    try {
        Loader = std::thread(LoadBuiltInSounds);
    } catch (const std::system_error&) {
        // Out of threads the sounds are still loaded, only not beside the screen.
        LoadBuiltInSounds();
    }
}

void FinishLoadingSounds()
{
    if (Loader.joinable())
        Loader.join();
}
