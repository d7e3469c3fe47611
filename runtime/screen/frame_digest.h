// A digest of the picture on the screen: two runs that draw the same frames
// give the same digests, whatever pixel format or SDL library shows them.
#pragma once

#include <SDL.h>

#include <cstdint>

// Row `y` of `screen` as one 0xRRGGBB colour per pixel, whatever its pixel
// format; `colours` holds screen->w. The surface is locked by the caller.
void QV_ScreenRowColours(const SDL_Surface* screen, int y, uint32_t* colours);

// The 64-bit digest of the open screen's pixels, read as 8-bit red, green
// and blue; 0 with no screen open.
uint64_t QV_ScreenDigest();

// A run's digest before its first frame.
constexpr uint64_t QV_DIGEST_START = 0xcbf29ce484222325ULL;

// Folds one frame's digest into a digest of a whole run.
uint64_t QV_CombineDigests(uint64_t run, uint64_t frame);
