#include "runtime/screen/frame_digest.h"

#include "runtime/screen/screen.h"
#include "runtime/screen/stored_pixel.h"

namespace {

// FNV-1a over whole pixels rather than bytes: one multiply a pixel.
constexpr uint64_t DigestPrime = 0x100000001b3ULL;

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

uint64_t DigestPixels(const SDL_Surface* screen)
{
    const SDL_PixelFormat* format = screen->format;
    const bool canonical = IsCanonical(format);
    const int bytesPerPixel = format->BytesPerPixel;
    uint64_t digest = QV_DIGEST_START;
    for (int y = 0; y < screen->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(screen->pixels) + static_cast<ptrdiff_t>(y) * screen->pitch;
        for (int x = 0; x < screen->w; ++x) {
            const Uint32 pixel = QV_StoredPixel(row + static_cast<ptrdiff_t>(x) * bytesPerPixel, bytesPerPixel);
            digest = (digest ^ (canonical ? pixel & 0xFFFFFF : CanonicalColour(format, pixel))) * DigestPrime;
        }
    }
    return digest;
}

} // namespace

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
    return (run ^ frame) * DigestPrime;
}
