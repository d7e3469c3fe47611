#include "runtime/screen/pixel_scaling.h"

#include "runtime/screen/surface_pixels.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tervane::screen {
namespace {

// A 24-bit pixel, copied as one value.
struct Pixel24 {
    uint8_t bytes[3];
};

#if defined(__SSE2__)
// Four 32-bit pixels widened into the `Scale` vectors that show them.
template <int32_t Scale>
void Widen(__m128i pixels, __m128i (&parts)[Scale])
{
    if constexpr (Scale == 1) {
        parts[0] = pixels;
    } else if constexpr (Scale == 2) {
        parts[0] = _mm_unpacklo_epi32(pixels, pixels);
        parts[1] = _mm_unpackhi_epi32(pixels, pixels);
    } else if constexpr (Scale == 3) {
        parts[0] = _mm_shuffle_epi32(pixels, 0x40);
        parts[1] = _mm_shuffle_epi32(pixels, 0xA5);
        parts[2] = _mm_shuffle_epi32(pixels, 0xFE);
    } else {
        parts[0] = _mm_shuffle_epi32(pixels, 0x00);
        parts[1] = _mm_shuffle_epi32(pixels, 0x55);
        parts[2] = _mm_shuffle_epi32(pixels, 0xAA);
        parts[3] = _mm_shuffle_epi32(pixels, 0xFF);
    }
}

template <int32_t Scale, bool Streamed>
void WidenRow(const uint32_t* source, uint32_t* target, int32_t width)
{
    const int32_t whole = width / 4 * 4;
    for (int32_t x = 0; x < whole; x += 4) {
        __m128i widened[Scale];
        Widen<Scale>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x)), widened);
        auto* out = reinterpret_cast<__m128i*>(target + x * Scale);
        for (int32_t part = 0; part < Scale; ++part) {
            if constexpr (Streamed)
                _mm_stream_si128(out + part, widened[part]);
            else
                _mm_storeu_si128(out + part, widened[part]);
        }
    }
    for (int32_t x = whole; x < width; ++x) {
        for (int32_t copy = 0; copy < Scale; ++copy)
            target[x * Scale + copy] = source[x];
    }
}

// An enlargement that only the display server reads goes out with stores
// that bypass the cache: the frame is several times the size of the cache,
// and each line would otherwise be read in before being overwritten. Every
// copy of a row is widened anew from the source row, which stays in the
// cache, instead of being read back from the target.
template <int32_t Scale>
void ScaleRows32(const SDL_Surface* from, SDL_Surface* to, int32_t left, int32_t top, PixelsReader reader)
{
    const bool streamed = reader == PixelsReader::DisplayServer;
    for (int32_t y = 0; y < from->h; ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(PixelAddress(from, 0, y));
        for (int32_t copy = 0; copy < Scale; ++copy) {
            auto* target = reinterpret_cast<uint32_t*>(PixelAddress(to, 0, top + y * Scale + copy)) + left;
            if (streamed && reinterpret_cast<uintptr_t>(target) % sizeof(__m128i) == 0)
                WidenRow<Scale, true>(source, target, from->w);
            else
                WidenRow<Scale, false>(source, target, from->w);
        }
    }
    // Whoever shows the target next must see every streamed store.
    if (streamed)
        _mm_sfence();
}

#endif

// Each source row is widened once, pixel by pixel; its other copies are
// whole-row memcpy, which is where most of the bytes go. The scale is a
// constant of each instance, so the widening loop unrolls.
template <class Pixel, int32_t Scale>
void ScaleRows(const SDL_Surface* from, SDL_Surface* to, int32_t left, int32_t top)
{
    const size_t rowBytes = static_cast<size_t>(from->w) * Scale * sizeof(Pixel);
    const size_t leftBytes = static_cast<size_t>(left) * sizeof(Pixel);
    for (int32_t y = 0; y < from->h; ++y) {
        const auto* source = reinterpret_cast<const Pixel*>(PixelAddress(from, 0, y));
        uint8_t* const first = PixelAddress(to, 0, top + y * Scale) + leftBytes;
        auto* target = reinterpret_cast<Pixel*>(first);
        for (int32_t x = 0; x < from->w; ++x) {
            const Pixel pixel = source[x];
            for (int32_t copy = 0; copy < Scale; ++copy)
                target[x * Scale + copy] = pixel;
        }
        for (int32_t copy = 1; copy < Scale; ++copy)
            std::memcpy(PixelAddress(to, 0, top + y * Scale + copy) + leftBytes, first, rowBytes);
    }
}

// Calls `scaleRows` with the scale as a constant of its type.
template <class ScaleRowsAt>
void AtScale(int32_t scale, ScaleRowsAt scaleRows)
{
    switch (scale) {
    case 1: scaleRows(std::integral_constant<int32_t, 1>{}); break;
    case 2: scaleRows(std::integral_constant<int32_t, 2>{}); break;
    case 3: scaleRows(std::integral_constant<int32_t, 3>{}); break;
    default: scaleRows(std::integral_constant<int32_t, 4>{}); break;
    }
}

template <class Pixel>
void ScaleRows(const SDL_Surface* from, SDL_Surface* to, int32_t scale, int32_t left, int32_t top)
{
    AtScale(scale, [&](auto constant) { ScaleRows<Pixel, decltype(constant)::value>(from, to, left, top); });
}

}  // namespace

void ScalePixels(const SDL_Surface* from, SDL_Surface* to, int32_t scale, int32_t left, int32_t top,
                 [[maybe_unused]] PixelsReader reader)
{
    switch (from->format->BytesPerPixel) {
    case 1: ScaleRows<uint8_t>(from, to, scale, left, top); break;
    case 2: ScaleRows<uint16_t>(from, to, scale, left, top); break;
    case 3: ScaleRows<Pixel24>(from, to, scale, left, top); break;
#if defined(__SSE2__)
    default:
        AtScale(scale, [&](auto constant) { ScaleRows32<decltype(constant)::value>(from, to, left, top, reader); });
        break;
#else
    default: ScaleRows<uint32_t>(from, to, scale, left, top); break;
#endif
    }
}

}  // namespace tervane::screen
