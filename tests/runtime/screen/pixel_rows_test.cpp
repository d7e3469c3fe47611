#include "runtime/screen/pixel_rows.h"

#include "tests/runtime/screen/screen_fixture.h"

#include <cstring>

namespace {

using tervane::screen::BlitKeyed;
using tervane::screen::BlitOpaque;
using tervane::screen::ConvertRgb24;
using tervane::screen::FillSurface;

constexpr int TargetWidth = 40;
constexpr int TargetHeight = 30;
constexpr int SourceWidth = 12;
constexpr int SourceHeight = 9;

// A surface in the screen's pixel format.
SDL_Surface* SurfaceLikeScreen(int width, int height)
{
    const SDL_PixelFormat* format = QV_Screen_Current->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, format->BitsPerPixel, format->Rmask, format->Gmask,
                                format->Bmask, format->Amask);
}

// Every byte a value of its own, with runs of the key (0) in the source.
void Paint(SDL_Surface* surface, int seed, bool withKeyRuns)
{
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->pitch; ++x) {
            const bool keyRun = withKeyRuns && (x / surface->format->BytesPerPixel + y) % 5 < 2;
            pixels[y * surface->pitch + x] = keyRun ? 0 : static_cast<uint8_t>(seed + x * 7 + y * 13 + 1) | 1;
        }
}

bool SamePixels(const SDL_Surface* a, const SDL_Surface* b)
{
    const size_t rowBytes = static_cast<size_t>(a->w) * a->format->BytesPerPixel;
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(static_cast<const uint8_t*>(a->pixels) + y * a->pitch,
                        static_cast<const uint8_t*>(b->pixels) + y * b->pitch, rowBytes) != 0)
            return false;
    return true;
}

bool SameRect(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

class PixelRowsTest : public ScreenTest {};

// Positions off every edge and corner of the target and of its clip
// rectangle, and source rectangles reaching past the source's own edges.
TEST_F(PixelRowsTest, CopiesClipAndDrawAsSdlAtEveryDepth)
{
    const SDL_Rect sources[] = {{0, 0, SourceWidth, SourceHeight}, {3, 2, 5, 4}, {-4, -3, 9, 8}, {7, 5, 20, 20}};
    const int places[] = {-30, -11, -5, -1, 0, 6, 33, 35, 39, 40, 55};
    const SDL_Rect clips[] = {{0, 0, TargetWidth, TargetHeight}, {4, 3, 25, 20}};
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        SDL_Surface* source = SurfaceLikeScreen(SourceWidth, SourceHeight);
        SDL_Surface* bySdl = SurfaceLikeScreen(TargetWidth, TargetHeight);
        SDL_Surface* byRows = SurfaceLikeScreen(TargetWidth, TargetHeight);
        ASSERT_TRUE(source != nullptr && bySdl != nullptr && byRows != nullptr);
        Paint(source, 0, true);
        for (const bool keyed : {false, true}) {
            SDL_SetColorKey(source, keyed ? SDL_SRCCOLORKEY : 0, 0);
            for (const SDL_Rect& clip : clips)
                for (const SDL_Rect& from : sources)
                    for (const int x : places)
                        for (const int y : places) {
                            Paint(bySdl, x + y, false);
                            Paint(byRows, x + y, false);
                            SDL_SetClipRect(bySdl, &clip);
                            SDL_SetClipRect(byRows, &clip);
                            SDL_Rect sdlFrom = from;
                            SDL_Rect sdlTo{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                            SDL_Rect rowsTo = sdlTo;
                            const int sdlResult = SDL_UpperBlit(source, &sdlFrom, bySdl, &sdlTo);
                            const int rowsResult = keyed ? BlitKeyed(source, from, byRows, rowsTo)
                                                         : BlitOpaque(source, from, byRows, rowsTo);
                            ASSERT_EQ(rowsResult, sdlResult);
                            ASSERT_TRUE(SamePixels(byRows, bySdl))
                                << depth << (keyed ? " keyed" : " opaque") << " at " << x << ", " << y;
                            ASSERT_TRUE(SameRect(rowsTo, sdlTo)) << depth << " at " << x << ", " << y;
                        }
        }
        SDL_FreeSurface(source);
        SDL_FreeSurface(bySdl);
        SDL_FreeSurface(byRows);
    }
}

// A sprite drawn onto itself through its opaque view: each row is read
// before it is overwritten.
TEST_F(PixelRowsTest, CopyOntoItselfDrawsAsSdlAtEveryDepth)
{
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        SDL_Surface* bySdl = SurfaceLikeScreen(TargetWidth, TargetHeight);
        SDL_Surface* byRows = SurfaceLikeScreen(TargetWidth, TargetHeight);
        ASSERT_TRUE(bySdl != nullptr && byRows != nullptr);
        for (const SDL_Rect& onto :
             {SDL_Rect{0, 6, TargetWidth, 20}, SDL_Rect{0, 3, TargetWidth, 20}, SDL_Rect{3, 0, TargetWidth, 20}}) {
            Paint(bySdl, 9, false);
            Paint(byRows, 9, false);
            SDL_Rect sdlFrom{0, 2, TargetWidth, 20}, sdlTo = onto, rowsTo = onto;
            BlitOpaque(byRows, sdlFrom, byRows, rowsTo);
            SDL_UpperBlit(bySdl, &sdlFrom, bySdl, &sdlTo);
            EXPECT_TRUE(SamePixels(byRows, bySdl)) << depth << " at " << onto.x << ", " << onto.y;
        }
        SDL_FreeSurface(bySdl);
        SDL_FreeSurface(byRows);
    }
}

// A part of the surface and the whole of it, in a colour and in black,
// which is filled another way.
TEST_F(PixelRowsTest, FillCoversTheClipRectangleAsSdlAtEveryDepth)
{
    const SDL_Rect part{5, 4, 3, 11}, whole{0, 0, TargetWidth, TargetHeight};
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        SDL_Surface* bySdl = SurfaceLikeScreen(TargetWidth, TargetHeight);
        SDL_Surface* byRows = SurfaceLikeScreen(TargetWidth, TargetHeight);
        ASSERT_TRUE(bySdl != nullptr && byRows != nullptr);
        for (const SDL_Rect& clip : {part, whole}) {
            for (const Uint32 colour : {Uint32{0}, SDL_MapRGB(bySdl->format, 0x12, 0x9A, 0xE7)}) {
                Paint(bySdl, 3, false);
                Paint(byRows, 3, false);
                SDL_SetClipRect(bySdl, &clip);
                SDL_SetClipRect(byRows, &clip);
                EXPECT_EQ(FillSurface(byRows, colour), SDL_FillRect(bySdl, nullptr, colour));
                EXPECT_TRUE(SamePixels(byRows, bySdl)) << depth << " " << clip.w << " " << colour;
            }
        }
        SDL_FreeSurface(bySdl);
        SDL_FreeSurface(byRows);
    }
}

TEST(PixelRowsConversion, PicturesConvertAsSdlConvertsThem)
{
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, SourceWidth, SourceHeight, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    ASSERT_NE(rgb, nullptr);
    Paint(rgb, 5, true);
    const Uint32 masks[][3] = {{0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000}, {0xF800, 0x7E0, 0x1F}};
    for (const auto& mask : masks) {
        const int bits = mask[0] > 0xFFFF || mask[2] > 0xFFFF ? 32 : 16;
        SDL_Surface* like = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, bits, mask[0], mask[1], mask[2], 0);
        ASSERT_NE(like, nullptr);
        SDL_Surface* bySdl = SDL_ConvertSurface(rgb, like->format, SDL_SWSURFACE);
        SDL_Surface* byRows = ConvertRgb24(rgb, like->format);
        ASSERT_TRUE(bySdl != nullptr && byRows != nullptr);
        EXPECT_EQ(byRows->format->BitsPerPixel, bits);
        EXPECT_TRUE(SamePixels(byRows, bySdl)) << std::hex << mask[0];
        SDL_FreeSurface(byRows);
        SDL_FreeSurface(bySdl);
        SDL_FreeSurface(like);
    }
    SDL_FreeSurface(rgb);
}

}  // namespace
