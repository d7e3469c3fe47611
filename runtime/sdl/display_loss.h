// The X display going away: the X server or Xwayland ending, a remote session
// dropped. Xlib cannot go on without its connection: it ends the process the
// moment its handler for a lost connection returns, and every later call on
// that connection would fail or wait. What the program has left to do must
// be done in that handler, without the screen or any window.
#pragma once

#include <cstdint>

// What the program does once its display is gone; returns the exit status.
using QV_DisplayLostCall = int32_t (*)();

// From now on, losing the connection of the screen (SDL's) or of the windows
// (GTK's) runs `ending`, then ends the process with the status it returns,
// without the exit handlers, which would use the display again.
//
// GTK puts a handler of its own in place when it starts, so call this after
// any window or message box that comes first, and before SDL video first
// starts: classic SDL 1.2 puts its own in front of the one it finds each time
// video starts, lets go of its display there and hands on to it, and puts
// that one back when video stops. sdl12-compat's SDL 2 leaves it alone.
void QV_OnDisplayLost(QV_DisplayLostCall ending);
