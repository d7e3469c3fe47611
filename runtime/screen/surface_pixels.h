// A surface's pixels as it stores them, for every pixel size SDL uses.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tervane::screen {

// Where pixel (x, y) of `surface` starts; the pixels must be locked where
// SDL asks for it. Row y starts at PixelAddress(surface, 0, y).
inline uint8_t* PixelAddress(const SDL_Surface* surface, int32_t x, int32_t y)
{
    return static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
        static_cast<ptrdiff_t>(x) * surface->format->BytesPerPixel;
}

// The value of the pixel that starts at `at` and is `bytesPerPixel` (1 to 4)
// bytes long; a 3-byte pixel is read low byte first. 0 for any other size.
// Read byte-wise, so `at` need not be aligned.
inline uint32_t StoredPixel(const uint8_t* at, int32_t bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: return *at;
    case 2: {
        uint16_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case 3:
        return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16;
    case 4: {
        uint32_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    default: return 0;
    }
}

}  // namespace tervane::screen
