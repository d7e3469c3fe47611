// The screen: the one display surface of the program, the display target
// that sprite display draws on, clearing, and presenting a frame at a steady
// rate.
//
// SDL's video subsystem is started by QV_InitSprite (sprites.h) before a
// screen is opened, and shut down with the whole of SDL by QV_FreeSprites.
#pragma once

#include <SDL.h>

#include <cstdint>

// The open screen, 0 while none is open: the surface the game draws its
// frame on. It belongs to SDL, except where the screen is shown enlarged
// (a window at a scale above 1, full screen on a larger desktop): it is then
// this layer's own back buffer, which presenting enlarges into SDL's surface.
extern SDL_Surface* QV_Screen_Current;
// The size the open screen was asked for.
extern int32_t QV_Screen_RealWidth;
extern int32_t QV_Screen_RealHeight;
// The size of the current display target, which sprite display clips against.
extern int32_t QV_Screen_Width;
extern int32_t QV_Screen_Height;
// The current display target: the screen or a sprite's surface; 0 until the
// first QV_FlipBuffers or QV_UseScreen, so nothing is drawn into a frame
// that was never cleared.
extern SDL_Surface* QV_Sprite_CurrentBitmap;

// The largest scale a screen is shown enlarged by.
constexpr int32_t QV_MAX_WINDOW_SCALE = 4;

// A size in pixels.
struct QV_ScreenSize {
    int32_t width;
    int32_t height;
};

// The desktop's size, as the video driver gave it before the first screen
// of this start of video set a mode of its own; 0 x 0 when the driver does
// not tell (the dummy driver of classic SDL 1.2) or video does not run.
QV_ScreenSize QV_DesktopSize();

// The largest scale, up to QV_MAX_WINDOW_SCALE, at which a width x height
// screen fits inside `area` each way; 0 when it does not fit at all.
int32_t QV_LargestScaleWithin(int32_t width, int32_t height, QV_ScreenSize area);

// Opens full screen at `depth` bits per pixel, closing any open screen
// first. On a desktop with room around width x height the mode is the
// desktop's own size, so the display keeps its mode, titled "Tervane", and
// the screen is shown enlarged by the largest scale that fits, centred on
// black; on a desktop no larger, or of unknown size, the mode is width x
// height. Returns the screen, or 0 with no screen open.
SDL_Surface* QV_OpenScreen(int32_t width, int32_t height, int32_t depth);

// Opens the screen at the desktop's depth in a top-level window of its own,
// titled "Tervane". SDL cannot place it inside another window or at a
// position, so `window`, `x` and `y` are not used. With `scale` N above 1
// the window is N times the size each way and shows every pixel of the
// width x height screen as N x N; `scale` runs from 1 to
// QV_MAX_WINDOW_SCALE. Returns the screen or 0.
SDL_Surface* QV_OpenWindowedScreen(void* window, int32_t x, int32_t y, int32_t width, int32_t height,
                                   int32_t scale = 1);

// Shuts the screen and the video subsystem down; nothing when none is open.
void QV_CloseScreen();

// Waits for the next frame's deadline (see QV_SetFrameRate), presents the
// back buffer (enlarged in a scaled window) and makes the screen the display
// target again.
void QV_FlipBuffers();

// Shows the frame last presented again, whole, at once: for a display that
// lost part of it while no frame was presented (a pause).
void QV_ShowScreenAgain();

// Fills the whole screen, whatever the display target, with the colour.
void QV_ClearScreen(int32_t red, int32_t green, int32_t blue);

// Makes the screen the display target again, at its full size. Returns it.
SDL_Surface* QV_UseScreen();

// The screen as just opened: black, and no display target until the next
// QV_FlipBuffers, so that another run in the same process draws its first
// frame as the program's first run did.
void QV_BlankScreen();

// Returns QV_Screen_Current.
SDL_Surface* QV_ScreenID();

// Holds QV_FlipBuffers to `rate` frames per second; 0 (the default) or less
// presents every frame at once.
void QV_SetFrameRate(int32_t rate);

// The display's refresh rate is the video driver's affair: no effect.
void QV_SetRefreshRate(int32_t rate);
