// Puts keyboard events into SDL's queue, as the keyboard would.
#pragma once

#include <SDL.h>

#include <cstdint>

inline void PushKeyEvent(int32_t symbol, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(symbol);
    SDL_PushEvent(&event);
}

inline void PushKeyDown(int32_t symbol)
{
    PushKeyEvent(symbol, true);
}

inline void PushKeyUp(int32_t symbol)
{
    PushKeyEvent(symbol, false);
}

inline void PushQuitRequest()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}
