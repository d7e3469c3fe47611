// What SDL's event queue says about the game's screen rather than its keys:
// a request to quit, the keyboard's focus gone, the screen uncovered, and
// Alt+Enter asking for the other kind of screen. The keyboard's examination
// drains the queue and hands these events here; they are read until the
// next examination.
#pragma once

#include <cstdint>

union SDL_Event;

// 1 once an examination has taken a quit request (the window's close button,
// or SIGINT/SIGTERM, which SDL turns into one) from the queue, until the
// keyboard is started again.
int32_t QV_QuitRequested();

// 1 when the last examination took the loss of the keyboard's focus (the
// player went to another window).
int32_t QV_ScreenFocusLost();

// 1 when the last examination took SDL's word that part of the screen was
// uncovered and must be shown again (sdl12-compat says so; classic SDL 1.2
// shows it again itself).
int32_t QV_ScreenExposed();

// 1 when the last examination took Alt+Enter, the player's request to
// switch between window and full screen. Neither that Enter's press nor its
// release reaches the game, so it is never taken for a key of the game.
int32_t QV_ScreenSwitchAsked();

namespace tervane::input {

// Called by the keyboard as it starts: forgets every event, the quit
// request too.
void ForgetScreenEvents();

// Called as an examination begins: what the last one took is over.
void StartScreenEvents();

// True when `event` is one of the screen's, now recorded; the keyboard takes
// every other key event.
bool TakeScreenEvent(const SDL_Event& event);

}  // namespace tervane::input
