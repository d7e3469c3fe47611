// Copies and fills done row by row by the runtime itself.
//
// SDL 1.2 copies same-format surfaces and fills rectangles with streaming
// stores that bypass the cache, so every pixel the next blit, the digest or
// the flip reads comes back from memory; and it draws colour-keyed surfaces
// by taking every pixel apart into red, green and blue and putting it back
// together. Copies here write through the cache, but for rows that only the
// display server reads next, compare whole pixels with the key and draw
// exactly the pixels SDL would.
#pragma once

#include <SDL.h>

#include <cstddef>

// The bytes the processor moves into and out of its cache at a time.
inline constexpr size_t QV_CacheLine = 64;

// Who reads pixels next: this process, or only the display server, for
// which rows of whole cache lines are written past the cache.
enum class QV_PixelsReader { ThisProcess, DisplayServer };

// SDL_UpperBlit of `from` in `source` to (to.x, to.y) of `target`: the same
// clipping against the source and the target's clip rectangle, the same
// pixels, the same result (0, or -1 on failure) and `to` set to the
// rectangle drawn. QV_BlitOpaque draws a source without colour key;
// QV_BlitKeyed leaves out the pixels equal to the source's key. Surfaces
// whose pixels are not laid out alike, or that carry alpha, are left to SDL.
int QV_BlitOpaque(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to,
                  QV_PixelsReader reader = QV_PixelsReader::ThisProcess);
int QV_BlitKeyed(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to);

// Makes every pixel written past the cache visible to the display server;
// called before it is handed them.
void QV_FinishStreamedPixels();

// SDL_FillRect of the whole of the surface's clip rectangle with `pixel`, a
// value in the surface's format. Returns 0, or -1 when the surface cannot be
// locked.
int QV_FillSurface(SDL_Surface* surface, Uint32 pixel);

// SDL_ConvertSurface of `rgb`, a 24-bit surface whose pixels hold red,
// green and blue in their first, second and third bytes, to `format`, as a
// software surface; pixels of four bytes with eight bits a colour are packed
// here, rows at a time, instead of being taken apart and rebuilt by SDL.
// Returns 0 when the surface cannot be made.
SDL_Surface* QV_ConvertRgb24(SDL_Surface* rgb, const SDL_PixelFormat* format);
