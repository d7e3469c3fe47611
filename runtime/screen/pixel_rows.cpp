#include "runtime/screen/pixel_rows.h"

#include "runtime/screen/surface_pixels.h"

#include <cstdint>
#include <cstring>

namespace tervane::screen {
namespace {

// The rows of a clipped blit, their addresses in both surfaces.
struct Rows {
    const uint8_t* from;
    uint8_t* to;
    int fromPitch;
    int toPitch;
    int width;  // in pixels
    int height;
    int bytesPerPixel;
    Uint32 key;
    Uint32 colours;  // the bits of a pixel that hold its colour
};

// Pixels that move unchanged between the two surfaces: no palette to map
// between, no alpha to apply, nothing SDL would refuse.
bool SameLayout(const SDL_Surface* source, const SDL_Surface* target)
{
    const SDL_PixelFormat* from = source->format;
    const SDL_PixelFormat* to = target->format;
    return from->BitsPerPixel == to->BitsPerPixel && from->BytesPerPixel >= 2 && from->Rmask == to->Rmask &&
        from->Gmask == to->Gmask && from->Bmask == to->Bmask && from->Amask == 0 && to->Amask == 0 &&
        (source->flags & SDL_SRCALPHA) == 0 && source->locked == 0 && target->locked == 0;
}

// One axis of SDL_UpperBlit's clipping: the span of `length` pixels from
// `from` in a source `extent` long, drawn at `to` on a target whose clip
// rectangle spans `clipStart` for `clipLength`. False when nothing is left.
bool ClipSpan(int& from, int& to, int& length, int extent, int clipStart, int clipLength)
{
    if (from < 0) {
        length += from;
        to -= from;
        from = 0;
    }
    if (extent - from < length)
        length = extent - from;
    if (const int before = clipStart - to; before > 0) {
        length -= before;
        to += before;
        from += before;
    }
    if (const int after = to + length - clipStart - clipLength; after > 0)
        length -= after;
    return length > 0;
}

// Locks what SDL says must be locked; false (nothing locked) on failure.
bool LockBoth(SDL_Surface* source, SDL_Surface* target)
{
    if (SDL_MUSTLOCK(source) && SDL_LockSurface(source) != 0)
        return false;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) {
        if (SDL_MUSTLOCK(source))
            SDL_UnlockSurface(source);
        return false;
    }
    return true;
}

void UnlockBoth(SDL_Surface* source, SDL_Surface* target)
{
    if (SDL_MUSTLOCK(target))
        SDL_UnlockSurface(target);
    if (SDL_MUSTLOCK(source))
        SDL_UnlockSurface(source);
}

// A sprite drawn onto itself through its opaque view shares its pixels with
// the target; rows are then taken in the order that reads each before it is
// overwritten.
void CopyRows(const Rows& rows)
{
    const size_t rowBytes = static_cast<size_t>(rows.width) * rows.bytesPerPixel;
    const bool upwards = rows.to > rows.from;
    for (int i = 0; i < rows.height; ++i) {
        const int row = upwards ? rows.height - 1 - i : i;
        std::memmove(rows.to + static_cast<ptrdiff_t>(row) * rows.toPitch,
                     rows.from + static_cast<ptrdiff_t>(row) * rows.fromPitch, rowBytes);
    }
}

// Written as a select over the whole row so that the compiler compares and
// stores several pixels at a time. SDL rebuilds each drawn pixel from its
// colour, which leaves the bits outside `colours` clear.
template <typename Pixel>
void KeyedRow(const uint8_t* from, uint8_t* to, int width, Pixel key, Pixel colours)
{
    const auto* source = reinterpret_cast<const Pixel*>(from);
    auto* target = reinterpret_cast<Pixel*>(to);
    for (int x = 0; x < width; ++x)
        target[x] = source[x] != key ? source[x] & colours : target[x];
}

void KeyedRow24(const uint8_t* from, uint8_t* to, int width, Uint32 key)
{
    for (int x = 0; x < width; ++x, from += 3, to += 3) {
        const Uint32 pixel =
            static_cast<Uint32>(from[0]) | static_cast<Uint32>(from[1]) << 8 | static_cast<Uint32>(from[2]) << 16;
        if (pixel != key)
            std::memcpy(to, from, 3);
    }
}

// Built twice and chosen at load by the processor: with AVX2 the rows take
// eight 32-bit pixels a step rather than four. Only x86 builds clones; the
// web version has one processor.
#if defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void KeyedRows(const Rows& rows)
{
    for (int row = 0; row < rows.height; ++row) {
        const uint8_t* from = rows.from + static_cast<ptrdiff_t>(row) * rows.fromPitch;
        uint8_t* to = rows.to + static_cast<ptrdiff_t>(row) * rows.toPitch;
        if (rows.bytesPerPixel == 4)
            KeyedRow<uint32_t>(from, to, rows.width, rows.key, rows.colours);
        else if (rows.bytesPerPixel == 2)
            KeyedRow<uint16_t>(from, to, rows.width, static_cast<uint16_t>(rows.key), 0xFFFF);
        else
            KeyedRow24(from, to, rows.width, rows.key);
    }
}

// Clips as SDL_UpperBlit does and hands the rows left to `draw`.
int BlitRows(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to, void (*draw)(const Rows&))
{
    int fromX = from.x, fromY = from.y, width = from.w, height = from.h;
    int toX = to.x, toY = to.y;
    const SDL_Rect& clip = target->clip_rect;
    const bool across = ClipSpan(fromX, toX, width, source->w, clip.x, clip.w);
    const bool down = ClipSpan(fromY, toY, height, source->h, clip.y, clip.h);
    // SDL moves the position as it clips, also when nothing is left.
    to.x = static_cast<Sint16>(toX);
    to.y = static_cast<Sint16>(toY);
    if (!across || !down) {
        to.w = to.h = 0;
        return 0;
    }
    to.w = static_cast<Uint16>(width);
    to.h = static_cast<Uint16>(height);
    if (!LockBoth(source, target))
        return -1;
    draw({PixelAddress(source, fromX, fromY), PixelAddress(target, toX, toY), source->pitch, target->pitch, width,
          height, source->format->BytesPerPixel, source->format->colorkey,
          source->format->Rmask | source->format->Gmask | source->format->Bmask});
    UnlockBoth(source, target);
    return 0;
}

void StorePixel(uint8_t* at, Uint32 pixel, int bytesPerPixel)
{
    for (int i = 0; i < bytesPerPixel; ++i)
        at[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

// The first row pixel by pixel, the others copied from it.
void FillRows(uint8_t* first, int pitch, int width, int height, Uint32 pixel, int bytesPerPixel)
{
    for (int x = 0; x < width; ++x)
        StorePixel(first + x * bytesPerPixel, pixel, bytesPerPixel);
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    for (int row = 1; row < height; ++row)
        std::memcpy(first + static_cast<ptrdiff_t>(row) * pitch, first, rowBytes);
}

bool IsEightBitsAColour(const SDL_PixelFormat* format)
{
    return format->BytesPerPixel == 4 && format->palette == nullptr && format->Amask == 0 && format->Rloss == 0 &&
        format->Gloss == 0 && format->Bloss == 0;
}

void PackRow(const uint8_t* rgb, uint32_t* to, int width, const SDL_PixelFormat* format)
{
    for (int x = 0; x < width; ++x, rgb += 3)
        to[x] = static_cast<uint32_t>(rgb[0]) << format->Rshift | static_cast<uint32_t>(rgb[1]) << format->Gshift |
            static_cast<uint32_t>(rgb[2]) << format->Bshift;
}

}  // namespace

int BlitOpaque(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to)
{
    if (source == nullptr || target == nullptr || (source->flags & SDL_SRCCOLORKEY) != 0 || !SameLayout(source, target))
        return SDL_UpperBlit(source, &from, target, &to);
    return BlitRows(source, from, target, to, CopyRows);
}

int BlitKeyed(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect& to)
{
    if (source == nullptr || target == nullptr || (source->flags & SDL_SRCCOLORKEY) == 0 || !SameLayout(source, target))
        return SDL_UpperBlit(source, &from, target, &to);
    return BlitRows(source, from, target, to, KeyedRows);
}

int FillSurface(SDL_Surface* surface, Uint32 pixel)
{
    const SDL_Rect& clip = surface->clip_rect;
    if (clip.w == 0 || clip.h == 0)
        return 0;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return -1;
    const int bytesPerPixel = surface->format->BytesPerPixel;
    uint8_t* const first = PixelAddress(surface, clip.x, clip.y);
    const size_t rowBytes = static_cast<size_t>(clip.w) * bytesPerPixel;
    if (pixel == 0 && rowBytes == static_cast<size_t>(surface->pitch))
        std::memset(first, 0, rowBytes * clip.h);
    else
        FillRows(first, surface->pitch, clip.w, clip.h, pixel, bytesPerPixel);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    return 0;
}

SDL_Surface* ConvertRgb24(SDL_Surface* rgb, const SDL_PixelFormat* format)
{
    if (!IsEightBitsAColour(format) || SDL_MUSTLOCK(rgb))
        return SDL_ConvertSurface(rgb, const_cast<SDL_PixelFormat*>(format), SDL_SWSURFACE);
    SDL_Surface* packed =
        SDL_CreateRGBSurface(SDL_SWSURFACE, rgb->w, rgb->h, 32, format->Rmask, format->Gmask, format->Bmask, 0);
    if (packed == nullptr)
        return nullptr;
    for (int y = 0; y < rgb->h; ++y)
        PackRow(PixelAddress(rgb, 0, y), reinterpret_cast<uint32_t*>(PixelAddress(packed, 0, y)), rgb->w, format);
    return packed;
}

}  // namespace tervane::screen
