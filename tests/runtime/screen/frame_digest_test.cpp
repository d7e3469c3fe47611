#include "runtime/screen/frame_digest.h"

#include "tests/runtime/screen/screen_fixture.h"

namespace {

using bmp_test::Rgb;

Rgb Pattern(int32_t x, int32_t y)
{
    return {static_cast<uint8_t>(x * 3 + y), static_cast<uint8_t>(x ^ y * 5), static_cast<uint8_t>(y * 7 + 11)};
}

void PaintPattern()
{
    SDL_Surface* screen = QV_Screen_Current;
    for (int32_t y = 0; y < screen->h; ++y)
        for (int32_t x = 0; x < screen->w; ++x) {
            const Rgb c = Pattern(x, y);
            const SDL_Rect pixel{static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(screen, const_cast<SDL_Rect*>(&pixel), SDL_MapRGB(screen->format, c.red, c.green, c.blue));
        }
}

// Whether flipping the lowest bit of each channel of the pixel at (x, y)
// changes the digest, the pixel put back each time.
bool EveryChannelCounts(int32_t x, int32_t y, uint64_t unchanged)
{
    auto* pixel =
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(QV_Screen_Current->pixels) + y * QV_Screen_Current->pitch) +
        x;
    for (int channel = 0; channel < 3; ++channel) {
        *pixel ^= 1u << (8 * channel);
        const bool differs = QV_ScreenDigest() != unchanged;
        *pixel ^= 1u << (8 * channel);
        if (!differs)
            return false;
    }
    return true;
}

TEST_F(ScreenTest, OneChannelOfOnePixelAnywhereChangesTheDigest)
{
    // Every pixel of a small screen, and the corners, edges and a spread of
    // pixels of the game's.
    ASSERT_NE(QV_OpenScreen(37, 23, 32), nullptr);
    PaintPattern();
    uint64_t unchanged = QV_ScreenDigest();
    for (int32_t y = 0; y < 23; ++y)
        for (int32_t x = 0; x < 37; ++x)
            ASSERT_TRUE(EveryChannelCounts(x, y, unchanged)) << x << ", " << y;

    ASSERT_NE(QV_OpenScreen(Width, Height, 32), nullptr);
    PaintPattern();
    unchanged = QV_ScreenDigest();
    for (int32_t y : {0, 1, 239, 478, 479})
        for (int32_t x : {0, 1, 320, 638, 639})
            EXPECT_TRUE(EveryChannelCounts(x, y, unchanged)) << x << ", " << y;
    EXPECT_EQ(QV_ScreenDigest(), unchanged);
}

TEST_F(ScreenTest, TheUnusedByteOfAPixelLeavesTheDigestAlone)
{
    PaintPattern();
    const uint64_t clear = QV_ScreenDigest();
    auto* last = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(QV_Screen_Current->pixels) +
                                             (Height - 1) * QV_Screen_Current->pitch) +
        Width - 1;
    *last |= 0xFF000000;
    EXPECT_EQ(QV_ScreenDigest(), clear);
}

TEST_F(ScreenTest, TheSameColoursGiveTheSameDigestAtEveryDepth)
{
    // Colours that 16 bits hold exactly, small enough that reading them back
    // gives the same value whether the library repeats the high bits or not.
    const auto paint = [] {
        SDL_Surface* screen = QV_Screen_Current;
        for (int32_t y = 0; y < screen->h; y += 8) {
            const SDL_Rect band{0, static_cast<Sint16>(y), static_cast<Uint16>(screen->w), 8};
            SDL_FillRect(screen, const_cast<SDL_Rect*>(&band),
                         SDL_MapRGB(screen->format, y & 0x18, (y / 2) & 0x3C, 0x18 - (y & 0x18)));
        }
    };
    uint64_t at32 = 0;
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr);
        paint();
        if (depth == 32)
            at32 = QV_ScreenDigest();
        EXPECT_EQ(QV_ScreenDigest(), at32) << depth;
    }
}

}  // namespace
