#include "runtime/input/screen_events.h"

#include <SDL.h>

namespace {

struct ScreenEventsState {
    int32_t quitRequested = 0;
    int32_t focusLost = 0;
    int32_t exposed = 0;
    int32_t switchAsked = 0;
    // The Enter key (main or keypad) whose press was Alt+Enter, so its
    // release is kept from the game too; SDLK_UNKNOWN for none.
    int32_t switchingEnter = SDLK_UNKNOWN;
};

ScreenEventsState screenEvents;

bool IsEnter(int32_t symbol)
{
    return symbol == SDLK_RETURN || symbol == SDLK_KP_ENTER;
}

// Alt+Enter and the release of its Enter are the screen's, not the game's.
// A press of Enter without Alt means that release never came (it can go
// astray while the screen is reopened), so the game sees Enter again.
bool TakenForScreenSwitch(const SDL_KeyboardEvent& key)
{
    const int32_t symbol = key.keysym.sym;
    if (!IsEnter(symbol))
        return false;
    if (key.type == SDL_KEYDOWN) {
        const bool switching = (key.keysym.mod & KMOD_ALT) != 0;
        screenEvents.switchingEnter = switching ? symbol : SDLK_UNKNOWN;
        if (switching)
            screenEvents.switchAsked = 1;
        return switching;
    }
    if (symbol != screenEvents.switchingEnter)
        return false;
    screenEvents.switchingEnter = SDLK_UNKNOWN;
    return true;
}

}  // namespace

int32_t QV_QuitRequested()
{
    return screenEvents.quitRequested;
}

int32_t QV_ScreenFocusLost()
{
    return screenEvents.focusLost;
}

int32_t QV_ScreenExposed()
{
    return screenEvents.exposed;
}

int32_t QV_ScreenSwitchAsked()
{
    return screenEvents.switchAsked;
}

namespace tervane::input {

void ForgetScreenEvents()
{
    screenEvents = {};
}

void StartScreenEvents()
{
    screenEvents.focusLost = 0;
    screenEvents.exposed = 0;
    screenEvents.switchAsked = 0;
}

bool TakeScreenEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: return TakenForScreenSwitch(event.key);
    case SDL_QUIT: screenEvents.quitRequested = 1; return true;
    case SDL_VIDEOEXPOSE: screenEvents.exposed = 1; return true;
    case SDL_ACTIVEEVENT:
        if (event.active.gain == 0 && (event.active.state & SDL_APPINPUTFOCUS) != 0)
            screenEvents.focusLost = 1;
        return true;
    default: return false;
    }
}

}  // namespace tervane::input
