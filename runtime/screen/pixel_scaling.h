// Whole-pixel enlargement of a picture, so that pixel art stays sharp on a
// screen many times larger than the picture was drawn for.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace tervane::screen {

// Who reads pixels next: this process, or only the display server, for
// which they are written past the cache.
enum class PixelsReader { ThisProcess, DisplayServer };

// Copies `from` into `to`, its top-left corner at `left`, `top`, with every
// pixel repeated `scale` (1 to 4) times across and `scale` times down
// (nearest neighbour). Both surfaces must have the same pixel size, the
// enlarged picture must lie inside `to`, and both must be locked where SDL
// asks for it.
void ScalePixels(const SDL_Surface* from, SDL_Surface* to, int32_t scale, int32_t left = 0, int32_t top = 0,
                 PixelsReader reader = PixelsReader::ThisProcess);

}  // namespace tervane::screen
