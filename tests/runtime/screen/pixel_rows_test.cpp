#include "runtime/screen/pixel_rows.h"

#include "tests/runtime/screen/screen_fixture.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

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
                            const int rowsResult = keyed ? QV_BlitKeyed(source, from, byRows, rowsTo)
                                                         : QV_BlitOpaque(source, from, byRows, rowsTo);
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

// A surface like the screen over pixels that begin on a cache line, with
// rows of whole lines, as the screen's are, so that rows the display
// server reads next can be streamed.
struct LineAlignedSurface {
    std::unique_ptr<void, decltype(&std::free)> pixels{nullptr, &std::free};
    SDL_Surface* surface = nullptr;

    LineAlignedSurface(int width, int height)
    {
        const SDL_PixelFormat* format = QV_Screen_Current->format;
        const int pitch = width * format->BytesPerPixel;
        pixels.reset(std::aligned_alloc(64, static_cast<size_t>(pitch) * height));
        surface = SDL_CreateRGBSurfaceFrom(pixels.get(), width, height, format->BitsPerPixel, pitch, format->Rmask,
                                           format->Gmask, format->Bmask, format->Amask);
    }
    ~LineAlignedSurface() { SDL_FreeSurface(surface); }
};

// Rows of whole lines go past the cache, others through it: each row, clip
// and edge drawn exactly as SDL draws it. A picture drawn onto itself goes
// through the cache, in the order that reads each row before writing it.
TEST_F(PixelRowsTest, CopiesForTheDisplayServerDrawAsSdlAtEveryDepth)
{
    constexpr int Side = 64;  // rows of whole lines at every depth
    const SDL_Rect sources[] = {{0, 0, Side, 20}, {0, 3, 16, 16}, {16, 0, 32, 9}, {5, 2, 7, 5}};
    const int places[] = {-40, -16, -3, 0, 16, 32, 45, 63, 64};
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        LineAlignedSurface source(Side, Side), bySdl(Side, Side), byRows(Side, Side);
        ASSERT_TRUE(source.surface != nullptr && bySdl.surface != nullptr && byRows.surface != nullptr);
        Paint(source.surface, 0, false);
        for (const SDL_Rect& from : sources)
            for (const int x : places)
                for (const int y : places) {
                    Paint(bySdl.surface, x + y, false);
                    Paint(byRows.surface, x + y, false);
                    SDL_Rect sdlFrom = from;
                    SDL_Rect sdlTo{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                    SDL_Rect rowsTo = sdlTo;
                    ASSERT_EQ(
                        QV_BlitOpaque(source.surface, from, byRows.surface, rowsTo, QV_PixelsReader::DisplayServer),
                        SDL_UpperBlit(source.surface, &sdlFrom, bySdl.surface, &sdlTo));
                    QV_FinishStreamedPixels();
                    ASSERT_TRUE(SamePixels(byRows.surface, bySdl.surface)) << depth << " at " << x << ", " << y;
                    ASSERT_TRUE(SameRect(rowsTo, sdlTo)) << depth << " at " << x << ", " << y;
                }
        const SDL_Rect onto{0, 16, Side, 20};
        SDL_Rect streamedTo = onto, cachedTo = onto;
        Paint(bySdl.surface, 9, false);
        Paint(byRows.surface, 9, false);
        QV_BlitOpaque(byRows.surface, {0, 0, Side, 30}, byRows.surface, streamedTo, QV_PixelsReader::DisplayServer);
        QV_BlitOpaque(bySdl.surface, {0, 0, Side, 30}, bySdl.surface, cachedTo);
        EXPECT_TRUE(SamePixels(byRows.surface, bySdl.surface)) << depth << " onto itself";
    }
}

// A part of the surface in a colour, and the whole of it in black, which
// is filled another way.
TEST_F(PixelRowsTest, FillCoversTheClipRectangleAsSdlAtEveryDepth)
{
    const SDL_Rect part{5, 4, 17, 11}, whole{0, 0, TargetWidth, TargetHeight};
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        SDL_Surface* bySdl = SurfaceLikeScreen(TargetWidth, TargetHeight);
        SDL_Surface* byRows = SurfaceLikeScreen(TargetWidth, TargetHeight);
        ASSERT_TRUE(bySdl != nullptr && byRows != nullptr);
        for (const SDL_Rect& clip : {part, whole}) {
            Paint(bySdl, 3, false);
            Paint(byRows, 3, false);
            SDL_SetClipRect(bySdl, &clip);
            SDL_SetClipRect(byRows, &clip);
            const Uint32 colour = clip.w == TargetWidth ? 0 : SDL_MapRGB(bySdl->format, 0x12, 0x9A, 0xE7);
            EXPECT_EQ(QV_FillSurface(byRows, colour), SDL_FillRect(bySdl, nullptr, colour));
            EXPECT_TRUE(SamePixels(byRows, bySdl)) << depth << " " << clip.w;
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
        SDL_Surface* byRows = QV_ConvertRgb24(rgb, like->format);
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
