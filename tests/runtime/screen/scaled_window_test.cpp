// A window opened at a scale: the game draws its frame at the size it asked
// for, and presenting shows every pixel of it as N x N.
#include "runtime/screen/frame_digest.h"
#include "runtime/screen/pixel_scaling.h"
#include "tests/runtime/screen/screen_fixture.h"

#include <cstring>
#include <memory>
#include <random>

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

Surface MakeSurface(int32_t width, int32_t height, int32_t depth)
{
    return Surface(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, depth, 0, 0, 0, 0));
}

// Fills a surface with noise, so that any pixel taken from the wrong place
// shows.
void FillWithNoise(SDL_Surface* surface, unsigned seed)
{
    std::mt19937 noise(seed);
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    for (int32_t y = 0; y < surface->h; ++y) {
        for (int32_t x = 0; x < surface->w * surface->format->BytesPerPixel; ++x)
            pixels[y * surface->pitch + x] = static_cast<uint8_t>(noise());
    }
}

const uint8_t* PixelAt(const SDL_Surface* surface, int32_t x, int32_t y)
{
    return static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel;
}

// Whether every pixel of `scaled` is the pixel of `picture` it covers.
bool IsEnlargedCopy(const SDL_Surface* picture, const SDL_Surface* scaled, int32_t scale)
{
    if (scaled->w != picture->w * scale || scaled->h != picture->h * scale)
        return false;
    const int bytes = picture->format->BytesPerPixel;
    for (int32_t y = 0; y < scaled->h; ++y) {
        for (int32_t x = 0; x < scaled->w; ++x) {
            if (std::memcmp(PixelAt(scaled, x, y), PixelAt(picture, x / scale, y / scale), bytes) != 0)
                return false;
        }
    }
    return true;
}

TEST(PixelScalingTest, EveryPixelIsRepeatedNByNAtEveryDepth)
{
    for (int32_t depth : {8, 16, 24, 32}) {
        // An odd width puts 24-bit rows off any word boundary.
        const Surface picture = MakeSurface(37, 11, depth);
        FillWithNoise(picture.get(), static_cast<unsigned>(depth));
        for (int32_t scale = 1; scale <= 4; ++scale) {
            for (const auto reader :
                 {tervane::screen::PixelsReader::ThisProcess, tervane::screen::PixelsReader::DisplayServer}) {
                const Surface scaled = MakeSurface(37 * scale, 11 * scale, depth);
                tervane::screen::ScalePixels(picture.get(), scaled.get(), scale, 0, 0, reader);
                EXPECT_TRUE(IsEnlargedCopy(picture.get(), scaled.get(), scale))
                    << depth << " bits, scale " << scale << ", read by the display server "
                    << (reader == tervane::screen::PixelsReader::DisplayServer);
            }
        }
    }
}

// Full screen centres the enlarged frame on a larger desktop.
TEST(PixelScalingTest, TheEnlargementGoesWhereItIsPlacedAndNowhereElse)
{
    constexpr int32_t Left = 5, Top = 3, Scale = 2;
    const Surface picture = MakeSurface(7, 4, 24);
    FillWithNoise(picture.get(), 7);
    const Surface target = MakeSurface(7 * Scale + 9, 4 * Scale + 5, 24);
    std::memset(target->pixels, 0xAB, static_cast<size_t>(target->pitch) * target->h);
    tervane::screen::ScalePixels(picture.get(), target.get(), Scale, Left, Top);
    const uint8_t untouched[3] = {0xAB, 0xAB, 0xAB};
    for (int32_t y = 0; y < target->h; ++y) {
        for (int32_t x = 0; x < target->w; ++x) {
            const bool inside = x >= Left && x < Left + 7 * Scale && y >= Top && y < Top + 4 * Scale;
            const uint8_t* expected =
                inside ? PixelAt(picture.get(), (x - Left) / Scale, (y - Top) / Scale) : untouched;
            ASSERT_EQ(std::memcmp(PixelAt(target.get(), x, y), expected, 3), 0) << x << ", " << y;
        }
    }
}

TEST(LargestScaleTest, TheFrameFitsEachWayUpToTheLargestScale)
{
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {1920, 1080}), 2);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {2560, 1440}), 3);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {1280, 1024}), 2);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {640, 480}), 1);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {800, 479}), 0);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {7680, 4320}), QV_MAX_WINDOW_SCALE);
    EXPECT_EQ(QV_LargestScaleWithin(640, 480, {0, 0}), 0);
}

class ScaledWindowTest : public ScreenTest {};

TEST_F(ScaledWindowTest, TheWindowIsNTimesTheFrameAndShowsItEnlarged)
{
    uint64_t digestAtOne = 0;
    for (int32_t scale = 1; scale <= QV_MAX_WINDOW_SCALE; ++scale) {
        ASSERT_NE(QV_OpenWindowedScreen(nullptr, 0, 0, Width, Height, scale), nullptr) << scale;
        SDL_Surface* window = SDL_GetVideoSurface();
        EXPECT_EQ(window->w, Width * scale);
        EXPECT_EQ(window->h, Height * scale);
        // The game draws, clips and is digested at the size it asked for.
        EXPECT_EQ(QV_Screen_Current->w, Width);
        EXPECT_EQ(QV_Screen_Current->h, Height);
        EXPECT_EQ(QV_Screen_Current == window, scale == 1) << "scale 1 shows the screen as drawn";
        FillWithNoise(QV_Screen_Current, 1);
        QV_FlipBuffers();
        EXPECT_EQ(QV_Sprite_CurrentBitmap, QV_Screen_Current);
        EXPECT_EQ(QV_Screen_Width, Width);
        EXPECT_TRUE(IsEnlargedCopy(QV_Screen_Current, window, scale)) << scale;
        if (scale == 1)
            digestAtOne = QV_ScreenDigest();
        EXPECT_EQ(QV_ScreenDigest(), digestAtOne) << scale;
    }
    QV_CloseScreen();
    EXPECT_EQ(QV_Screen_Current, nullptr);
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
}

TEST_F(ScaledWindowTest, ScalesOutsideOneToFourOpenNothing)
{
    for (int32_t scale : {0, -1, QV_MAX_WINDOW_SCALE + 1})
        EXPECT_EQ(QV_OpenWindowedScreen(nullptr, 0, 0, Width, Height, scale), nullptr) << scale;
    EXPECT_EQ(QV_OpenWindowedScreen(nullptr, 0, 0, 0x7fffffff, Height, 2), nullptr);
}

}  // namespace
