// Hints for sdl12-compat, the SDL 1.2 that many distributions ship, which
// runs the SDL 1.2 calls on SDL 2. Its full screen does not switch the
// monitor's mode: it scales the 640 x 480 frame to the desktop. Classic
// SDL 1.2 reads none of these variables.
#pragma once

// Asks sdl12-compat for nearest-neighbour scaling, which keeps the pixel
// art sharp where the default bilinear filter blurs it, and costs half as
// much where the scaling is done in software.
//
// Asks SDL 2 to present through its software renderer onto the window's
// own framebuffer (X11 shared memory, as classic SDL 1.2 does), not through
// OpenGL: the runtime draws and enlarges every pixel itself, so OpenGL
// only adds an upload, and where it has no graphics card it rasterizes in
// software at about four times the CPU of the whole game. SDL 2 falls back
// to its other renderers where the software one cannot run.
//
// A value the user has set in the environment is kept. Call before SDL
// starts: sdl12-compat reads its hints from the environment.
void QV_SetCompatHints();
