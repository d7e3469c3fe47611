#include "runtime/sdl/sdl_library.h"

#include <SDL.h>

bool QV_RunsOnSDL2()
{
    // sdl12-compat reports 1.2.50 and up; classic SDL 1.2 ended at 1.2.15.
    // The library linked does not change while the process runs, and the
    // screen asks on every paced frame.
    static const bool onSDL2 = [] {
        const SDL_version* version = SDL_Linked_Version();
        return SDL_VERSIONNUM(version->major, version->minor, version->patch) >= SDL_VERSIONNUM(1, 2, 50);
    }();
    return onSDL2;
}
