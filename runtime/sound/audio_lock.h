// SDL runs the mixing callback while holding its audio lock; the game thread
// holds the same lock for the span of each change to the channel table.
#pragma once

#include <SDL.h>

namespace tervane::sound {

class AudioLock {
public:
    AudioLock() { SDL_LockAudio(); }
    ~AudioLock() { SDL_UnlockAudio(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

}  // namespace tervane::sound
