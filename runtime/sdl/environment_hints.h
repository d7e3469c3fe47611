// Hints that SDL and the X11 library under it read from the environment, set
// before SDL starts. A value the user has set in the environment is kept.
#pragma once

// For sdl12-compat, the SDL 1.2 that many distributions ship, which runs the
// SDL 1.2 calls on SDL 2 (classic SDL 1.2 reads none of these):
// - nearest-neighbour scaling, which keeps the pixel art sharp where the
//   default bilinear filter blurs it, and costs half as much where the
//   scaling is done in software;
// - presenting through SDL 2's software renderer onto the window's own
//   framebuffer (X11 shared memory, as classic SDL 1.2 does), not through
//   OpenGL: the runtime draws and enlarges every pixel itself, so OpenGL
//   only adds an upload, and where it has no graphics card it rasterizes in
//   software at about four times the CPU of the whole game. SDL 2 falls back
//   to its other renderers where the software one cannot run.
//
// For both, when SDL_VIDEODRIVER is not set, only the video drivers that
// show a window: x11 on classic SDL 1.2, which would otherwise fall back to
// drawing the game as colour text art into the terminal (caca); x11, then
// wayland, on sdl12-compat, which would otherwise fall back to a screen
// nobody sees (offscreen). Without a display, video then fails to start.
//
// For both, an empty compose table for the X11 input method that SDL opens
// with every window: the game reads keys, never composed text, and reading
// the locale's table was half the instructions of start-up. A dead key
// then reaches the game as a key instead of waiting for the next one.
void QV_SetEnvironmentHints();

// True once the hints have kept SDL to the drivers that show a window.
bool QV_WindowDriversOnly();
