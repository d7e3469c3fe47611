// What the screen still shows of the opaque pictures displayed on it.
//
// The screen keeps its pixels from one frame to the next, and a game shows
// the pictures of its frame (a panel, the strips round the playfield, the
// tiles of a map between two steps of its scrolling) at the same place
// every frame. Displayed again, such a picture needs only what was drawn
// over since it was last displayed copying anew: the rest of it is still on
// the screen, pixel for pixel. So every write to the screen says where it
// drew, and anything that may change a picture's pixels, or the screen's,
// without saying where forgets what is kept.
#pragma once

#include "runtime/screen/pixel_rows.h"

#include <SDL.h>

// QV_BlitOpaque of `from` in `source` to (to.x, to.y) of the screen `screen`,
// a surface that keeps its pixels between frames, when `from` lies within
// `source` and the drawn rectangle within the screen's clip rectangle.
// Copies only what is not already there; sets `to` to the rectangle drawn
// and returns what QV_BlitOpaque returns (0 when nothing needed copying).
int QV_DisplayKeptPicture(SDL_Surface* source, SDL_Rect from, SDL_Surface* screen, SDL_Rect& to);

// Starts fetching the index of the pictures kept on `screen` into the
// cache, all at once. After a sleep it has left the cache, and the next
// frame's displays would otherwise wait for it one cell at a time.
void QV_FetchKeptPicturesAhead(const SDL_Surface* screen);

// Who reads the pixels of the pictures the next frame shows anew. Each is
// written whole, so where only the display server reads the screen and
// its lines have left the cache in a sleep, they are written past the
// cache rather than read in only to be overwritten. Where sprites drew,
// what is restored, and a picture shown a pixel on from a place they drew
// over, still go through the cache: the sprites drawn there again read it.
void QV_SetNewKeptPicturesReader(QV_PixelsReader reader);

// Says that `drawn`, a rectangle of the screen, was drawn over by something
// else than QV_DisplayKeptPicture.
void QV_NoteScreenDrawnOver(const SDL_Rect& drawn);

// Forgets every picture kept: the screen opened, cleared or drawn on
// without a rectangle, or a picture's pixels changed.
void QV_ForgetKeptPictures();
