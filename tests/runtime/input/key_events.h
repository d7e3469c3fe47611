// Puts keyboard events into SDL's queue, as the keyboard would.
#pragma once

#include "runtime/input/keyboard.h"

#include <SDL.h>

#include <cstdint>

inline void PushKeyEvent(int32_t symbol, bool down, SDLMod modifiers = KMOD_NONE)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(symbol);
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
}

// Alt+Enter pressed, Enter let go after Alt, as a player switches the screen.
inline void PushAltEnter()
{
    PushKeyEvent(SDLK_RETURN, true, KMOD_LALT);
    PushKeyEvent(SDLK_RETURN, false);
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

// Lets go of every key the keyboard layer sees held. One key at a time,
// because SDL's queue holds only a few dozen events.
inline void LetGoOfHeldKeys()
{
    for (int32_t key = 0; key < QV_KEYBOARD_KEYS; ++key) {
        if (QV_KeyboardPushed(key) != 0) {
            PushKeyUp(key);
            QV_ExamineKeyboard();
        }
    }
}
