// The one way onto a surface's pixels for the sprites, the clear and the
// drawing, and what the screen still shows of the large opaque pictures
// displayed on it.
//
// The screen keeps its pixels from one frame to the next, and a game shows
// its large static pictures (a panel, the strips round the playfield) at the
// same place every frame. Displayed again, such a picture needs copying anew
// only where something drew over it since: the rest is still on the screen.
// Every write below says where it drew, so nothing draws on the screen or
// changes a picture's pixels unseen.
#pragma once

#include <SDL.h>

namespace tervane::screen {

// Makes `screen` the surface whose pictures are kept, forgetting all kept
// so far; nullptr while no screen that keeps its pixels is open.
void KeepPicturesOf(SDL_Surface* screen);

// Forgets every picture kept: a picture's pixels were freed.
void ForgetKeptPictures();

// BlitOpaque and BlitKeyed (pixel_rows.h): the same pixels, result and `to`.
// A large picture shown again where it was copies only what was drawn over.
int DrawOpaque(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to);
int DrawKeyed(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to);

// FillSurface (pixel_rows.h) of the whole of `target`.
int FillWhole(SDL_Surface* target, Uint32 pixel);

// Returns `target` to draw on anywhere, as the drawing primitives do: all of
// it counts as drawn over.
SDL_Surface* DrawAnywhere(SDL_Surface* target);

}  // namespace tervane::screen
