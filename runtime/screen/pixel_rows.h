// Copies and fills done row by row by the runtime itself.
//
// SDL 1.2 copies same-format surfaces and fills rectangles with streaming
// stores that bypass the cache, so every pixel the next blit, the digest or
// the flip reads comes back from memory; and it draws colour-keyed surfaces
// by taking every pixel apart into red, green and blue and putting it back
// together. Copies here write through the cache, compare whole pixels with
// the key and draw exactly the pixels SDL would.
#pragma once

#include <SDL.h>

namespace tervane::screen {

// SDL_UpperBlit of `from` in `source` to (to.x, to.y) of `target`: the same
// clipping against the source and the target's clip rectangle, the same
// pixels, the same result (0, or -1 on failure) and `to` set to the
// rectangle drawn. BlitOpaque draws a source without colour key;
// BlitKeyed leaves out the pixels equal to the source's key. Surfaces
// whose pixels are not laid out alike, or that carry alpha, are left to SDL.
int BlitOpaque(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to);
int BlitKeyed(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to);

// SDL_FillRect of the whole of the surface's clip rectangle with `pixel`, a
// value in the surface's format. Returns 0, or -1 when the surface cannot be
// locked.
int FillSurface(SDL_Surface* surface, Uint32 pixel);

// SDL_ConvertSurface of `rgb`, a 24-bit surface whose pixels hold red,
// green and blue in their first, second and third bytes, to `format`, as a
// software surface; pixels of four bytes with eight bits a colour are packed
// here, rows at a time, instead of being taken apart and rebuilt by SDL.
// Returns 0 when the surface cannot be made.
SDL_Surface* ConvertRgb24(SDL_Surface* rgb, const SDL_PixelFormat* format);

}  // namespace tervane::screen
