// Arbitrary bytes for the WAVE loader. Whatever it accepts is then played to
// the end, so a length that claims more samples than the conversion made
// shows up as a read past their block.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "runtime/sound/mixer.h"
#include "runtime/sound/sound.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (QV_InitSound() == nullptr)
        std::abort();
    // The test mixes by hand; SDL's audio thread must not mix alongside.
    SDL_PauseAudio(1);
    SDL_LockAudio();
    SDL_UnlockAudio();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr int StreamBytes = 2048;
    if (size > size_t(std::numeric_limits<int32_t>::max()))
        return 0;
    // Slot 0 is reloaded every time, which also stops and frees the last sound.
    if (QV_CatchSound(0, data, int32_t(size)) == 0)
        return 0;
    QV_PlaySound(0);
    std::vector<Uint8> stream(StreamBytes);
    for (int32_t mixed = 0; mixed <= QV_Sound_ObjectsArea[0].length; mixed += StreamBytes)
        tervane::sound::FillAudio(nullptr, stream.data(), StreamBytes);
    return 0;
}
