// SDL's lifetime in the runtime: every start and stop of SDL or one of its
// subsystems, made by any layer, goes through here.
//
// SDL is started by whichever layer comes first; the others add their own
// subsystem to it. Video, which carries the event queue, is tracked on its
// own so that whoever stops it (closing the screen) lets the next layer that
// needs it (the keyboard, a screen opened again) start it anew. Freeing the
// sprite layer shuts SDL down as a whole.
#pragma once

#include <cstdint>

// Nonzero once some layer has called SDL_Init; cleared when SDL shuts down.
extern int32_t QV_SDL_State;
// Nonzero while SDL's video subsystem runs.
extern int32_t QV_SDL_VideoState;

// Starts `subsystem` (an SDL_INIT_* flag): SDL_Init when no layer has started
// SDL yet, SDL_InitSubSystem otherwise. Returns 1 on success, 0 on failure.
int32_t QV_StartSDLSubsystem(uint32_t subsystem);

// Starts SDL video unless it already runs. Returns 1 when video is running,
// 0 when it cannot be started.
int32_t QV_StartSDLVideo();
// Stops SDL video, and the screen and the event queue with it.
void QV_StopSDLVideo();

// Starts and stops SDL audio. Audio is started with an SDL_Init of its own
// and leaves the flags alone: sound comes first at start-up and may fail
// without ending the game, and the video start that follows should be SDL's
// full start whether sound was chosen or not.
int32_t QV_StartSDLAudio();
void QV_StopSDLAudio();

// Shuts every SDL subsystem down, when a layer has started SDL.
void QV_QuitSDL();

// SDL's own words for its last failure (SDL_GetError), for the program to
// show; empty when it has none.
const char* QV_SDLError();
