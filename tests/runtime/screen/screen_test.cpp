#include "runtime/sdl/sdl_lifetime.h"
#include "tests/runtime/screen/screen_fixture.h"

#include <string>

using bmp_test::Rgb;

namespace {

const Rgb Black{0, 0, 0}, White{255, 255, 255}, Red{255, 0, 0};

TEST_F(ScreenTest, FirstFrameAfterOpeningShowsOnlyTheClear)
{
    LoadFilled(1, 16, 16, White);
    // Something left on the screen from before must be cleared away.
    SDL_FillRect(QV_Screen_Current, nullptr, SDL_MapRGB(QV_Screen_Current->format, 9, 9, 9));
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    QV_ClearScreen(0, 0, 0);
    QV_DisplaySprite(1, 10, 10);
    QV_DisplayTransparentSprite(1, 40, 10);
    QV_FlipBuffers();
    EXPECT_TRUE(ScreenIs(Black));

    EXPECT_EQ(QV_Sprite_CurrentBitmap, QV_Screen_Current);
    QV_DisplaySprite(1, 10, 10);
    QV_FlipBuffers();
    EXPECT_TRUE(ScreenShowsRect(10, 10, 16, 16, White, Black));
}

TEST_F(ScreenTest, ClearGivesTheAskedColourAtEveryDepth)
{
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        ASSERT_EQ(QV_Screen_Current->format->BitsPerPixel, depth);
        QV_ClearScreen(255, 0, 0);
        EXPECT_EQ(At(0, 0), Red) << depth;
        EXPECT_EQ(At(Width - 1, Height - 1), Red) << depth;
        QV_ClearScreen(0, 0, 0);
        EXPECT_TRUE(ScreenIs(Black)) << depth;
    }
    // The game's 32-bit screen keeps red in bits 16 to 23.
    ASSERT_NE(QV_OpenScreen(Width, Height, 32), nullptr);
    QV_ClearScreen(255, 0, 0);
    EXPECT_EQ(*static_cast<Uint32*>(QV_Screen_Current->pixels), 0xFF0000u);
}

TEST_F(ScreenTest, SpritesLoadedAtEachDepthKeepTheirColoursAndKey)
{
    for (int32_t depth : {32, 24, 16}) {
        ASSERT_NE(QV_OpenScreen(Width, Height, depth), nullptr) << depth;
        Load(2, bmp_test::BuildBmp24(2, 1, [](int32_t x, int32_t) { return x == 0 ? White : Black; }));
        StartFrame(Red);
        QV_DisplayTransparentSprite(2, 0, 0);
        QV_DisplaySprite(2, 0, 1);
        EXPECT_EQ(At(0, 0), White) << depth;
        EXPECT_EQ(At(1, 0), Red) << depth;
        EXPECT_EQ(At(1, 1), Black) << depth;
    }
}

TEST_F(ScreenTest, FailedDepthLeavesNoScreenAndTheNextDepthStillOpens)
{
    // The dummy driver has no 64-bit modes: the game's fallback from one
    // depth to the next depends on a failure leaving nothing behind.
    LoadFilled(1, 8, 8, White);
    StartFrame();
    EXPECT_EQ(QV_OpenScreen(Width, Height, 64), nullptr);
    EXPECT_EQ(QV_Screen_Current, nullptr);
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    EXPECT_EQ(QV_CatchSprite(1, nullptr, 0), nullptr);
    EXPECT_EQ(QV_SpriteWidth(1), 8) << "a load without a screen leaves the slot as it was";
    QV_ClearScreen(0, 0, 0);
    QV_FlipBuffers();
    QV_DisplaySprite(1, 0, 0);

    ASSERT_NE(QV_OpenScreen(Width, Height, 16), nullptr);
    EXPECT_EQ(QV_Screen_Current->format->BitsPerPixel, 16);
    StartFrame();
    QV_DisplaySprite(1, 0, 0);
    EXPECT_EQ(At(0, 0), White);
}

TEST_F(ScreenTest, ReopeningRestartsVideoAndForgetsTheOldTarget)
{
    StartFrame();
    QV_OpenScreen(320, 240, 32);
    ASSERT_NE(QV_Screen_Current, nullptr);
    EXPECT_EQ(QV_Screen_Current->w, 320);
    EXPECT_EQ(QV_Screen_RealWidth, 320);
    EXPECT_EQ(QV_Screen_Height, 240);
    // The old screen went with the video subsystem; until the next frame
    // there is nothing to draw on.
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    QV_FlipBuffers();
    EXPECT_EQ(QV_Sprite_CurrentBitmap, QV_Screen_Current);
}

TEST_F(ScreenTest, ClosedScreenIgnoresEveryScreenCall)
{
    QV_CloseScreen();
    EXPECT_EQ(QV_ScreenID(), nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    QV_CloseScreen();
    QV_FlipBuffers();
    QV_ClearScreen(0, 0, 0);
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    EXPECT_EQ(QV_CatchSprite(0, nullptr, 0), nullptr);
}

TEST_F(ScreenTest, WindowedScreenIgnoresThePositionAndIsTitled)
{
    SDL_Surface* screen = QV_OpenWindowedScreen(nullptr, 5, 7, Width, Height);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(QV_ScreenID(), screen);
    EXPECT_EQ(screen->w, Width);
    EXPECT_EQ(screen->h, Height);
    EXPECT_EQ(QV_Screen_RealWidth, Width);
    EXPECT_EQ(QV_Screen_RealHeight, Height);
    EXPECT_EQ(screen->flags & SDL_FULLSCREEN, 0u);
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::string(title), "Tervane");
}

TEST_F(ScreenTest, FreeSpritesShutsSdlDownAndTheLayerStartsAgain)
{
    LoadFilled(5, 4, 4, White);
    StartFrame();
    QV_FreeSprites();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    EXPECT_EQ(QV_SDL_State, 0);
    EXPECT_EQ(QV_SDL_VideoState, 0);
    EXPECT_EQ(QV_Screen_Current, nullptr);
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    EXPECT_EQ(QV_Sprite_ObjectsArea, nullptr);
    EXPECT_EQ(QV_SpriteWidth(5), 0);
    EXPECT_EQ(QV_CatchSprite(5, nullptr, 0), nullptr);

    ASSERT_NE(QV_InitSprite(), nullptr);
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_EQ(QV_Sprite_ObjectsNumber, 50);
    ASSERT_NE(QV_OpenScreen(Width, Height, 32), nullptr);
    LoadFilled(5, 4, 4, White);
    StartFrame();
    QV_DisplaySprite(5, 1, 1);
    EXPECT_TRUE(ScreenShowsRect(1, 1, 4, 4, White, Black));
}

}  // namespace
