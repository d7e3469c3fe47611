// The drawing layer's primitives, for builds without SDL_gfx: a pixel, a
// line, a filled box, circle and ellipse outlines and a line of 8 x 8 text on
// an SDL surface. Each takes the arguments of the SDL_gfx call of its name and
// sets the very pixels that call sets, in the same 16-bit arithmetic, inside
// the surface's clip rectangle, and returns what it returns: 0, or -1 for a
// negative radius or a lock that SDL refuses.
//
// Colours are 0xRRGGBBAA and always drawn opaque, as the drawing layer draws:
// the alpha byte is not read. A surface that SDL requires locked is locked
// around the drawing, except by text, which blits its glyphs and so fails
// with -1 on a surface locked by its caller.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace tervane::primitives {

int32_t pixelColor(SDL_Surface* dst, Sint16 x, Sint16 y, Uint32 color);
// Both ends included.
int32_t lineColor(SDL_Surface* dst, Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2, Uint32 color);
// The corners in any order, both included.
int32_t boxColor(SDL_Surface* dst, Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2, Uint32 color);
int32_t circleColor(SDL_Surface* dst, Sint16 x, Sint16 y, Sint16 radius, Uint32 color);
int32_t ellipseColor(SDL_Surface* dst, Sint16 x, Sint16 y, Sint16 radiusX, Sint16 radiusY, Uint32 color);
// Character after character from x, y, their top-left corner, 8 pixels apart.
int32_t stringColor(SDL_Surface* dst, Sint16 x, Sint16 y, const char* text, Uint32 color);

}  // namespace tervane::primitives
