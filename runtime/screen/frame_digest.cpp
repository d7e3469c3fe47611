#include "runtime/screen/frame_digest.h"

#include "runtime/screen/screen.h"
#include "runtime/screen/surface_pixels.h"

#define XXH_STATIC_LINKING_ONLY
#if defined(__x86_64__) || defined(__i386__)
#include <xxh_x86dispatch.h>
#include <xxhash.h>
#else
// The dispatch to the widest vector unit exists for x86 only; elsewhere (the
// web version) the hash is compiled in from the header.
#define XXH_INLINE_ALL
#include <xxhash.h>
#endif

#include <vector>

namespace {

using tervane::screen::PixelAddress;
using tervane::screen::StoredPixel;

// Red, green and blue as 0xRRGGBB, the same for every pixel format.
uint32_t CanonicalColour(const SDL_PixelFormat* format, Uint32 pixel)
{
    Uint8 red = 0;
    Uint8 green = 0;
    Uint8 blue = 0;
    SDL_GetRGB(pixel, const_cast<SDL_PixelFormat*>(format), &red, &green, &blue);
    return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
}

// The screens the game opens are almost always 32-bit 0xRRGGBB, where the
// colour is the pixel itself without its unused byte.
bool IsCanonical(const SDL_PixelFormat* format)
{
    return format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 && format->Bmask == 0xFF;
}

}  // namespace

void QV_ScreenRowColours(const SDL_Surface* screen, int y, uint32_t* colours)
{
    const SDL_PixelFormat* format = screen->format;
    const uint8_t* row = PixelAddress(screen, 0, y);
    if (IsCanonical(format)) {
        for (int x = 0; x < screen->w; ++x)
            colours[x] = StoredPixel(row + static_cast<ptrdiff_t>(x) * 4, 4) & 0xFFFFFF;
        return;
    }
    const int bytesPerPixel = format->BytesPerPixel;
    for (int x = 0; x < screen->w; ++x)
        colours[x] =
            CanonicalColour(format, StoredPixel(row + static_cast<ptrdiff_t>(x) * bytesPerPixel, bytesPerPixel));
}

namespace {

// Whether a row of a canonical screen holds its colours as they are, every
// unused byte clear; reading it first also brings it to the cache for XXH3.
bool RowHoldsItsColours(const uint8_t* row, int width)
{
    uint32_t unused = 0;
    for (int x = 0; x < width; ++x)
        unused |= StoredPixel(row + static_cast<ptrdiff_t>(x) * 4, 4);
    return (unused & 0xFF000000) == 0;
}

// Hashes the rows where they lie, which saves copying them; false as soon
// as a row has an unused byte set.
bool DigestRowsAsTheyLie(const SDL_Surface* screen, XXH3_state_t& state)
{
    const size_t rowBytes = static_cast<size_t>(screen->w) * 4;
    for (int y = 0; y < screen->h; ++y) {
        const uint8_t* row = PixelAddress(screen, 0, y);
        if (!RowHoldsItsColours(row, screen->w))
            return false;
        XXH3_64bits_update(&state, row, rowBytes);
    }
    return true;
}

void DigestConvertedRows(const SDL_Surface* screen, XXH3_state_t& state)
{
    std::vector<uint32_t> colours(static_cast<size_t>(screen->w));
    for (int y = 0; y < screen->h; ++y) {
        QV_ScreenRowColours(screen, y, colours.data());
        XXH3_64bits_update(&state, colours.data(), colours.size() * sizeof(uint32_t));
    }
}

// XXH3 over every pixel's canonical colour, row after row, as 4 bytes low
// first: it takes many pixels a step, where a multiply a pixel would wait
// on the one before.
uint64_t DigestPixels(const SDL_Surface* screen)
{
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    if (!IsCanonical(screen->format) || !DigestRowsAsTheyLie(screen, state)) {
        XXH3_64bits_reset(&state);
        DigestConvertedRows(screen, state);
    }
    return XXH3_64bits_digest(&state);
}

// FNV-1a's step, which folds a frame into a run.
constexpr uint64_t RunPrime = 0x100000001b3ULL;

}  // namespace

uint64_t QV_ScreenDigest()
{
    SDL_Surface* screen = QV_Screen_Current;
    if (screen == nullptr || SDL_LockSurface(screen) != 0)
        return 0;
    const uint64_t digest = DigestPixels(screen);
    SDL_UnlockSurface(screen);
    return digest;
}

uint64_t QV_CombineDigests(uint64_t run, uint64_t frame)
{
    return (run ^ frame) * RunPrime;
}
