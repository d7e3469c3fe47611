#include "runtime/sdl/sdl_lifetime.h"

#include "runtime/sdl/environment_hints.h"

#include <SDL.h>

int32_t QV_SDL_State = 0;
int32_t QV_SDL_VideoState = 0;

namespace {

// Every SDL_Init goes through here, so SDL finds its hints set whichever
// layer starts it first. SDL's own crash handler is left out: it
// shuts SDL down inside the signal handler, which can wait for ever on a lock
// the interrupted frame holds; a crash ends the process as the signal says.
int InitSDL(uint32_t subsystem)
{
    QV_SetEnvironmentHints();
    return SDL_Init(subsystem | SDL_INIT_NOPARACHUTE);
}

}  // namespace

int32_t QV_StartSDLSubsystem(uint32_t subsystem)
{
    if (QV_SDL_State == 0) {
        if (InitSDL(subsystem) != 0)
            return 0;
        QV_SDL_State = 1;
        return 1;
    }
    return SDL_InitSubSystem(subsystem) == 0 ? 1 : 0;
}

int32_t QV_StartSDLVideo()
{
    if (QV_SDL_VideoState != 0)
        return 1;
    if (QV_StartSDLSubsystem(SDL_INIT_VIDEO) == 0)
        return 0;
    QV_SDL_VideoState = 1;
    return 1;
}

void QV_StopSDLVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    QV_SDL_VideoState = 0;
}

int32_t QV_StartSDLAudio()
{
    return InitSDL(SDL_INIT_AUDIO) == 0 ? 1 : 0;
}

void QV_StopSDLAudio()
{
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void QV_QuitSDL()
{
    if (QV_SDL_State == 0)
        return;
    QV_SDL_State = 0;
    QV_SDL_VideoState = 0;
    SDL_Quit();
}

const char* QV_SDLError()
{
    return SDL_GetError();
}
