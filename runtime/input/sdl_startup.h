// SDL start-up shared by the sprite, keyboard and joystick layers.
//
// SDL is started by whichever of those layers comes first; the others add
// their own subsystem to it. The flags are process-wide and belong to no one
// layer, which is why they live here.
#pragma once

#include <cstdint>

// Nonzero once some layer has called SDL_Init (cleared by QV_FreeSprites).
extern int32_t QV_SDL_State;
// Nonzero once SDL's video subsystem, which carries the event queue, runs.
extern int32_t QV_SDL_VideoState;

// Starts `subsystem` (an SDL_INIT_* flag): SDL_Init when no layer has started
// SDL yet, SDL_InitSubSystem otherwise. Returns 1 on success, 0 on failure.
int32_t QV_StartSDLSubsystem(uint32_t subsystem);

// Starts SDL video unless it already runs, keeping QV_SDL_VideoState.
// Returns 1 when video is running, 0 when it cannot be started.
int32_t QV_StartSDLVideo();
