// Which SDL 1.2 the program runs on.
#pragma once

// True on sdl12-compat, which runs on SDL 2 and presents the screen by
// copying its pixels again in this process; false on classic SDL 1.2, which
// hands them to the display server.
bool QV_RunsOnSDL2();
