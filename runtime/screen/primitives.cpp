#include "runtime/screen/primitives.h"

#include "runtime/screen/surface_pixels.h"

// gfxPrimitivesFontdata: 8 bytes a character, the top row first, the leftmost
// pixel in the high bit. Installed by libsdl-gfx1.2-dev; the build finds it.
#include <SDL_gfxPrimitives_font.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace tervane::primitives {
namespace {

static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "a pixel is stored as the low bytes of its value");

constexpr int32_t GlyphSize = 8;

// Sums are kept in 16 bits as SDL_gfx keeps them: what runs past an end comes
// back in at the other.
Sint16 Wrap(int32_t value)
{
    return static_cast<Sint16>(value);
}

// The clip rectangle with its far edges included.
struct Clip {
    Sint16 left, top, right, bottom;

    explicit Clip(const SDL_Surface* surface)
        : left(surface->clip_rect.x), top(surface->clip_rect.y),
          right(Wrap(surface->clip_rect.x + surface->clip_rect.w - 1)),
          bottom(Wrap(surface->clip_rect.y + surface->clip_rect.h - 1))
    {
    }

    bool Contains(Sint16 x, Sint16 y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    // Whether the box from x1, y1 to x2, y2 (the far corner included) misses it.
    bool Misses(Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2) const
    {
        return x2 < left || x1 > right || y2 < top || y1 > bottom;
    }
};

bool ClipIsEmpty(const SDL_Surface* surface)
{
    return surface->clip_rect.w == 0 || surface->clip_rect.h == 0;
}

// Runs `draw` with the surface locked if SDL requires it: 0, or -1 when the
// lock is refused.
template <class Draw>
int32_t Locked(SDL_Surface* surface, Draw draw)
{
    const bool mustLock = SDL_MUSTLOCK(surface);
    if (mustLock && SDL_LockSurface(surface) < 0)
        return -1;
    draw();
    if (mustLock)
        SDL_UnlockSurface(surface);
    return 0;
}

// One colour, mapped to the surface's pixel format, written inside the clip
// rectangle.
class Painter {
public:
    Painter(SDL_Surface* surface, Uint32 color)
        : surface(surface), clip(surface),
          value(SDL_MapRGBA(surface->format, color >> 24, (color >> 16) & 0xFF, (color >> 8) & 0xFF, SDL_ALPHA_OPAQUE))
    {
    }

    void Plot(Sint16 x, Sint16 y) const
    {
        if (clip.Contains(x, y))
            Fill(x, y, x, y);
    }

    // The four points x +- dx, y +- dy.
    void PlotMirrored(Sint16 x, Sint16 y, int32_t dx, int32_t dy) const
    {
        for (const Sint16 px : {Wrap(x - dx), Wrap(x + dx)})
            for (const Sint16 py : {Wrap(y - dy), Wrap(y + dy)})
                Plot(px, py);
    }

    // The rectangle from x1, y1 to x2, y2, inside the clip rectangle already.
    void Fill(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const
    {
        const int32_t bytesPerPixel = surface->format->BytesPerPixel;
        for (int32_t y = y1; y <= y2; ++y) {
            uint8_t* at = screen::PixelAddress(surface, x1, y);
            for (int32_t x = x1; x <= x2; ++x, at += bytesPerPixel)
                std::memcpy(at, &value, bytesPerPixel);
        }
    }

private:
    SDL_Surface* surface;
    Clip clip;
    Uint32 value;
};

// The filled rectangle between two corners in any order, clipped: a box, and
// a line that runs along a row or a column.
int32_t FillClipped(SDL_Surface* dst, Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2, Uint32 color)
{
    if (ClipIsEmpty(dst))
        return 0;
    const Clip clip(dst);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    if (clip.Misses(x1, y1, x2, y2))
        return 0;
    return Locked(dst, [&] {
        Painter(dst, color)
            .Fill(std::max(x1, clip.left), std::max(y1, clip.top), std::min(x2, clip.right), std::min(y2, clip.bottom));
    });
}

// ---- Lines: cut to the clip rectangle, then stepped from the first end ----

enum Outside { Left = 1, Right = 2, Below = 4, Above = 8 };

int32_t Outcode(Sint16 x, Sint16 y, const Clip& clip)
{
    return (x < clip.left ? Left : x > clip.right ? Right : 0) | (y < clip.top ? Above : y > clip.bottom ? Below : 0);
}

// A float offset cut toward zero to 16 bits (it never leaves 32).
Sint16 Truncate(float offset)
{
    return Wrap(static_cast<int32_t>(offset));
}

// Moves an outside end onto the clip edge it lies beyond, one edge at a time,
// in single-precision arithmetic; an end left inside becomes the second one,
// so the drawing may start from either end. False when nothing is left.
bool ClipLine(const Clip& clip, Sint16& x1, Sint16& y1, Sint16& x2, Sint16& y2)
{
    for (;;) {
        int32_t code1 = Outcode(x1, y1, clip);
        int32_t code2 = Outcode(x2, y2, clip);
        if ((code1 | code2) == 0)
            return true;
        if ((code1 & code2) != 0)
            return false;
        if (code1 == 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            std::swap(code1, code2);
        }
        const bool sloped = x2 != x1;
        const float slope = sloped ? static_cast<float>(y2 - y1) / static_cast<float>(x2 - x1) : 1.0f;
        if (code1 & Left) {
            y1 = Wrap(y1 + Truncate(static_cast<float>(clip.left - x1) * slope));
            x1 = clip.left;
        } else if (code1 & Right) {
            y1 = Wrap(y1 + Truncate(static_cast<float>(clip.right - x1) * slope));
            x1 = clip.right;
        } else if (code1 & Below) {
            if (sloped)
                x1 = Wrap(x1 + Truncate(static_cast<float>(clip.bottom - y1) / slope));
            y1 = clip.bottom;
        } else {
            if (sloped)
                x1 = Wrap(x1 + Truncate(static_cast<float>(clip.top - y1) / slope));
            y1 = clip.top;
        }
    }
}

// ---- Text ----------------------------------------------------------------

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfaceOwner = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A glyph is blitted from a 32-bit surface whose pixels are the colour or
// transparent, so that SDL's own blending of it sets the pixels.
SurfaceOwner NewGlyphSurface()
{
    return SurfaceOwner(SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, GlyphSize, GlyphSize, 32, 0xFF000000,
                                             0x00FF0000, 0x0000FF00, 0x000000FF));
}

void PaintGlyph(SDL_Surface* glyph, unsigned char character, Uint32 color)
{
    const unsigned char* rows = gfxPrimitivesFontdata + character * GlyphSize;
    for (int32_t y = 0; y < GlyphSize; ++y) {
        uint8_t* pixel = screen::PixelAddress(glyph, 0, y);
        for (int32_t x = 0; x < GlyphSize; ++x, pixel += sizeof color) {
            const Uint32 value = (rows[y] & (0x80 >> x)) != 0 ? color : 0;
            std::memcpy(pixel, &value, sizeof value);
        }
    }
}

}  // namespace

int32_t pixelColor(SDL_Surface* dst, Sint16 x, Sint16 y, Uint32 color)
{
    return Locked(dst, [&] { Painter(dst, color).Plot(x, y); });
}

int32_t lineColor(SDL_Surface* dst, Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2, Uint32 color)
{
    if (!ClipLine(Clip(dst), x1, y1, x2, y2))
        return 0;
    if (x1 == x2 || y1 == y2)
        return FillClipped(dst, x1, y1, x2, y2, color);
    // Bresenham from the first end: one pixel per step along the longer axis
    // (x on a tie), the other axis moving once the error reaches its count.
    const int32_t stepX = x2 >= x1 ? 1 : -1;
    const int32_t stepY = y2 >= y1 ? 1 : -1;
    const int32_t countX = (x2 - x1) * stepX + 1;
    const int32_t countY = (y2 - y1) * stepY + 1;
    return Locked(dst, [&] {
        const Painter painter(dst, color);
        const bool alongX = countX >= countY;
        const int32_t major = alongX ? countX : countY;
        const int32_t minor = alongX ? countY : countX;
        int32_t x = x1;
        int32_t y = y1;
        int32_t error = 0;
        for (int32_t step = 0; step < major; ++step) {
            painter.Plot(Wrap(x), Wrap(y));
            error += minor;
            const bool minorStep = error >= major;
            if (minorStep)
                error -= major;
            x += alongX || minorStep ? stepX : 0;
            y += !alongX || minorStep ? stepY : 0;
        }
    });
}

int32_t boxColor(SDL_Surface* dst, Sint16 x1, Sint16 y1, Sint16 x2, Sint16 y2, Uint32 color)
{
    return FillClipped(dst, x1, y1, x2, y2, color);
}

// Midpoint circle, eight octants at a time, its error terms in 16 bits.
int32_t circleColor(SDL_Surface* dst, Sint16 x, Sint16 y, Sint16 radius, Uint32 color)
{
    if (ClipIsEmpty(dst))
        return 0;
    if (radius < 0)
        return -1;
    if (radius == 0)
        return pixelColor(dst, x, y, color);
    if (Clip(dst).Misses(Wrap(x - radius), Wrap(y - radius), Wrap(x + radius), Wrap(y + radius)))
        return 0;
    return Locked(dst, [&] {
        const Painter painter(dst, color);
        Sint16 dx = 0;
        Sint16 dy = radius;
        Sint16 error = Wrap(1 - radius);
        Sint16 stepEast = 3;
        Sint16 stepSouthEast = Wrap(-2 * radius + 5);
        do {
            painter.PlotMirrored(x, y, dx, dy);
            painter.PlotMirrored(x, y, dy, dx);
            if (error < 0) {
                error = Wrap(error + stepEast);
                stepSouthEast = Wrap(stepSouthEast + 2);
            } else {
                error = Wrap(error + stepSouthEast);
                stepSouthEast = Wrap(stepSouthEast + 4);
                dy = Wrap(dy - 1);
            }
            stepEast = Wrap(stepEast + 2);
            dx = Wrap(dx + 1);
        } while (dx <= dy);
    });
}

// Walks the quarter ellipse in 1/64 pixel steps along its longer radius,
// scaling the other; a step is drawn only when it reaches a row or column
// that the last drawn step did not.
int32_t ellipseColor(SDL_Surface* dst, Sint16 x, Sint16 y, Sint16 radiusX, Sint16 radiusY, Uint32 color)
{
    if (ClipIsEmpty(dst))
        return 0;
    if (radiusX < 0 || radiusY < 0)
        return -1;
    if (radiusX == 0)
        return FillClipped(dst, x, Wrap(y - radiusY), x, Wrap(y + radiusY), color);
    if (radiusY == 0)
        return FillClipped(dst, Wrap(x - radiusX), y, Wrap(x + radiusX), y, color);
    if (Clip(dst).Misses(Wrap(x - radiusX), Wrap(y - radiusY), Wrap(x + radiusX), Wrap(y + radiusY)))
        return 0;
    const bool wide = radiusX > radiusY;
    const int32_t longer = wide ? radiusX : radiusY;
    const int32_t shorter = wide ? radiusY : radiusX;
    return Locked(dst, [&] {
        const Painter painter(dst, color);
        // Plots a point given along the longer radius and across it.
        const auto plot = [&](int32_t along, int32_t across) {
            if (wide)
                painter.PlotMirrored(x, y, along, across);
            else
                painter.PlotMirrored(x, y, across, along);
        };
        constexpr int32_t None = 0xFFFF;
        int32_t lastH = None, lastI = None, lastJ = None, lastK = None;
        int32_t ix = 0;
        int32_t iy = longer * 64;
        int32_t h, i;
        do {
            h = (ix + 32) >> 6;
            i = (iy + 32) >> 6;
            const int32_t j = h * shorter / longer;
            const int32_t k = i * shorter / longer;
            if (wide) {
                if ((lastK != k && lastJ != k) || (lastJ != j && lastK != j) || k != j) {
                    plot(h, k);
                    plot(i, j);
                    lastK = k;
                    lastJ = j;
                }
            } else if ((lastI != i && lastH != i) || (lastH != h && lastI != h && i != h)) {
                plot(i, j);
                plot(h, k);
                lastI = i;
                lastH = h;
            }
            ix += iy / longer;
            iy -= ix / longer;
        } while (i > h);
    });
}

// Each character whose cell reaches the clip rectangle is blitted; the first
// failing blit ends the text with its result.
int32_t stringColor(SDL_Surface* dst, Sint16 x, Sint16 y, const char* text, Uint32 color)
{
    SurfaceOwner glyph;
    for (Sint16 left = x; *text != '\0'; ++text, left = Wrap(left + GlyphSize)) {
        if (ClipIsEmpty(dst) || Clip(dst).Misses(left, y, Wrap(left + GlyphSize), Wrap(y + GlyphSize)))
            continue;
        if (!glyph && !(glyph = NewGlyphSurface()))
            return -1;
        PaintGlyph(glyph.get(), static_cast<unsigned char>(*text), color | SDL_ALPHA_OPAQUE);
        SDL_Rect cell{left, y, GlyphSize, GlyphSize};
        if (const int32_t result = SDL_BlitSurface(glyph.get(), nullptr, dst, &cell); result != 0)
            return result;
    }
    return 0;
}

}  // namespace tervane::primitives
