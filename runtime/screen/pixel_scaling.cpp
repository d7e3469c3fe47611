#include "runtime/screen/pixel_scaling.h"

#include <cstring>

namespace {

// A 24-bit pixel, copied as one value.
struct Pixel24 {
    uint8_t bytes[3];
};

uint8_t* RowOf(SDL_Surface* surface, int32_t y)
{
    return static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
}

const uint8_t* RowOf(const SDL_Surface* surface, int32_t y)
{
    return static_cast<const uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
}

// Each source row is widened once, pixel by pixel; its other copies are
// whole-row memcpy, which is where most of the bytes go. The scale is a
// constant of each instance, so the widening loop unrolls.
template <class Pixel, int32_t Scale>
void ScaleRows(const SDL_Surface* from, SDL_Surface* to, int32_t left, int32_t top)
{
    const size_t rowBytes = static_cast<size_t>(from->w) * Scale * sizeof(Pixel);
    const size_t leftBytes = static_cast<size_t>(left) * sizeof(Pixel);
    for (int32_t y = 0; y < from->h; ++y) {
        const auto* source = reinterpret_cast<const Pixel*>(RowOf(from, y));
        uint8_t* const first = RowOf(to, top + y * Scale) + leftBytes;
        auto* target = reinterpret_cast<Pixel*>(first);
        for (int32_t x = 0; x < from->w; ++x) {
            const Pixel pixel = source[x];
            for (int32_t copy = 0; copy < Scale; ++copy)
                target[x * Scale + copy] = pixel;
        }
        for (int32_t copy = 1; copy < Scale; ++copy)
            std::memcpy(RowOf(to, top + y * Scale + copy) + leftBytes, first, rowBytes);
    }
}

template <class Pixel>
void ScaleRows(const SDL_Surface* from, SDL_Surface* to, int32_t scale, int32_t left, int32_t top)
{
    switch (scale) {
    case 1: ScaleRows<Pixel, 1>(from, to, left, top); break;
    case 2: ScaleRows<Pixel, 2>(from, to, left, top); break;
    case 3: ScaleRows<Pixel, 3>(from, to, left, top); break;
    default: ScaleRows<Pixel, 4>(from, to, left, top); break;
    }
}

}  // namespace

void QV_ScalePixels(const SDL_Surface* from, SDL_Surface* to, int32_t scale, int32_t left, int32_t top)
{
    switch (from->format->BytesPerPixel) {
    case 1: ScaleRows<uint8_t>(from, to, scale, left, top); break;
    case 2: ScaleRows<uint16_t>(from, to, scale, left, top); break;
    case 3: ScaleRows<Pixel24>(from, to, scale, left, top); break;
    default: ScaleRows<uint32_t>(from, to, scale, left, top); break;
    }
}
