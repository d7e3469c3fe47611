#include "runtime/screen/drawing.h"

#include "tests/runtime/screen/screen_fixture.h"

#include <limits>

namespace {

using bmp_test::Rgb;

constexpr Rgb Black{0, 0, 0};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb Green{0, 255, 0};
constexpr Rgb White{255, 255, 255};

class DrawingTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        QV_Init2DDrawing();
        QV_ClearScreen(0, 0, 0);
        QV_StartDrawing(QV_ScreenOutput());
    }

    void TearDown() override
    {
        QV_StopDrawing();
        ScreenTest::TearDown();
    }

    // Number of pixels of `colour` inside the rectangle.
    static int CountInside(int32_t left, int32_t top, int32_t width, int32_t height, Rgb colour)
    {
        int count = 0;
        for (int32_t y = top; y < top + height; ++y)
            for (int32_t x = left; x < left + width; ++x)
                count += At(x, y) == colour;
        return count;
    }

    static int CountAll(Rgb colour) { return CountInside(0, 0, Width, Height, colour); }
};

TEST_F(DrawingTest, ColoursAreOpaqueAndExplicitOnesTakeRedFromTheLowByte)
{
    QV_FrontColor(255, 0, 0);
    EXPECT_EQ(QV_Drawing.frontColor, 0xFF0000FFu);
    QV_BackColor(1, 2, 3);
    EXPECT_EQ(QV_Drawing.backColor, 0x010203FFu);
    // Components are not masked: a green of 256 spills into red.
    QV_FrontColor(0, 256, 0);
    EXPECT_EQ(QV_Drawing.frontColor, 0x010000FFu);

    QV_Box2(0, 0, 9, 9, 0x0000FF);
    EXPECT_TRUE(ScreenShowsRect(0, 0, 10, 10, Red, Black));
    QV_Box2(0, 0, 9, 9, 0x00FF00);
    EXPECT_TRUE(ScreenShowsRect(0, 0, 10, 10, Green, Black));
}

TEST_F(DrawingTest, BoxesReachTheirFarCornerInclusive)
{
    QV_FrontColor(0, 255, 0);
    QV_Box(10, 10, 5, 5);
    EXPECT_TRUE(ScreenShowsRect(10, 10, 6, 6, Green, Black));
}

TEST_F(DrawingTest, LinesPlotsCirclesAndEllipsesDrawWhereAsked)
{
    QV_FrontColor(255, 255, 255);
    QV_LineXY(20, 5, 29, 5);
    EXPECT_EQ(CountInside(20, 5, 10, 1, White), 10);
    QV_Line(20, 7, 9, 0);
    EXPECT_EQ(CountInside(20, 7, 10, 1, White), 10);
    QV_LineXY2(40, 0, 40, 9, 0x0000FF);
    EXPECT_EQ(CountInside(40, 0, 1, 10, Red), 10);
    QV_Line2(42, 0, 0, 9, 0x0000FF);
    EXPECT_EQ(CountInside(42, 0, 1, 10, Red), 10);

    QV_Plot(60, 60);
    QV_Plot2(61, 60, 0x00FF00);
    EXPECT_EQ(At(60, 60), White);
    EXPECT_EQ(At(61, 60), Green);

    QV_Circle(100, 100, 10);
    EXPECT_EQ(At(110, 100), White);
    EXPECT_EQ(At(100, 90), White);
    EXPECT_EQ(At(100, 100), Black);
    QV_Circle2(200, 100, 10, 0x0000FF);
    EXPECT_EQ(At(190, 100), Red);

    QV_Ellipse(100, 200, 20, 5);
    EXPECT_EQ(At(120, 200), White);
    EXPECT_EQ(At(100, 205), White);
    EXPECT_EQ(At(100, 200), Black);
    QV_Ellipse2(200, 200, 5, 20, 0x00FF00);
    EXPECT_EQ(At(200, 220), Green);

    // Nothing spills far outside what was drawn.
    EXPECT_EQ(CountInside(300, 300, 340, 180, Black), 340 * 180);
}

// Far coordinates and their sums with sizes are clipped, not wrapped into
// SDL_gfx's 16-bit range (where 65541 would land on 5) nor overflowed.
TEST_F(DrawingTest, FarCoordinatesAreClippedNotWrapped)
{
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    QV_FrontColor(255, 255, 255);
    QV_Box(Max, 0, 1, 1);
    QV_Box(5, Max, Max, Max);
    QV_Line(Max, 5, Max, 0);
    QV_Plot(65536 + 5, 5);
    QV_Circle(65536 + 100, 100, 10);
    QV_Ellipse(100, 65536 + 100, 10, 10);
    QV_Locate(Max - 4, 0);
    QV_DrawText("far");
    QV_DrawText("far");
    EXPECT_EQ(CountAll(Black), Width * Height);

    QV_Box(-100000, 20, 100010, 0);
    EXPECT_EQ(CountInside(0, 20, 11, 1, White), 11);
    QV_LineXY(Min, 30, Max, 30);
    EXPECT_EQ(CountInside(0, 30, Width, 1, White), Width);
    // A line cut short keeps its slope, one row per two columns, give or take
    // SDL_gfx's own rounding.
    QV_Line2(0, 100, 200000, 100000, 0x0000FF);
    for (int32_t x : {0, 100, 400, 639})
        EXPECT_EQ(CountInside(x, 100 + x / 2 - 1, 1, 3, Red), 1) << x;
    EXPECT_EQ(CountAll(White) + CountAll(Red), 11 + Width + Width);
}

TEST_F(DrawingTest, PointReadsPixelsWithRedInTheLowByte)
{
    QV_Plot2(5, 6, 0x0000FF);
    QV_Plot2(7, 6, 0x123456);
    EXPECT_EQ(QV_Point(5, 6), 0x0000FF);
    EXPECT_EQ(QV_Point(7, 6), 0x123456);
    EXPECT_EQ(QV_Point(8, 6), 0);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {Width, 0}, {0, Height}, {100000, 100000}})
        EXPECT_EQ(QV_Point(x, y), 0) << x << ", " << y;
}

TEST_F(DrawingTest, TheScreenOutputDescribesTheScreenAndIsOneRecord)
{
    EXPECT_EQ(QV_ScreenOutput(), QV_ScreenOutput());
    EXPECT_EQ(QV_ScreenOutput()->drawImage, nullptr);
    EXPECT_EQ(QV_DrawImage(nullptr, 0, 0), 0);
    EXPECT_EQ(QV_DrawingBufferPixelFormat(), 32);
    EXPECT_EQ(QV_DrawingBufferPitch(), QV_Screen_Current->pitch);
    EXPECT_EQ(QV_DrawingBuffer(), QV_Screen_Current->pixels);
}

TEST_F(DrawingTest, TextIsDrawnInTheFrontColourAndMovesOnByItsLength)
{
    EXPECT_EQ(QV_TextLength("Tervane"), 7 * QV_DrawingCharacterSize);
    EXPECT_EQ(QV_TextLength(""), 0);
    EXPECT_EQ(QV_TextLength(nullptr), 0);

    // In the starting colour, black, nothing shows on the cleared screen.
    QV_Locate(32, 416);
    QV_DrawText("Tervane");
    EXPECT_EQ(CountAll(Black), Width * Height);

    QV_FrontColor(255, 255, 255);
    QV_Locate(32, 416);
    QV_DrawText("Ter");
    QV_DrawText("vane");
    QV_DrawText(nullptr);
    const int32_t width = 7 * QV_DrawingCharacterSize;
    const int lit = CountInside(32, 416, width, QV_DrawingCharacterSize, White);
    EXPECT_GT(lit, 7 * 8);
    EXPECT_EQ(CountAll(White), lit) << "text drawn outside its cells";
    // The second part went on where the first one ended.
    EXPECT_GT(CountInside(32 + 3 * 8, 416, 4 * 8, 8, White), 0);
    QV_DrawingFont(nullptr);
    QV_DrawingMode(1);
    EXPECT_EQ(CountAll(White), lit);
}

TEST_F(DrawingTest, AfterTheScreenClosesCommandsDoNothingUntilOneOpens)
{
    QV_CloseScreen();
    EXPECT_EQ(QV_Box(0, 0, 10, 10), 0);
    EXPECT_EQ(QV_Box2(0, 0, 10, 10, 0xFF), 0);
    EXPECT_EQ(QV_Circle(5, 5, 3), 0);
    EXPECT_EQ(QV_LineXY(0, 0, 9, 9), 0);
    EXPECT_EQ(QV_Plot(1, 1), 0);
    EXPECT_EQ(QV_Point(1, 1), 0);
    EXPECT_EQ(QV_DrawText("gone"), 0);
    EXPECT_EQ(QV_DrawingBuffer(), nullptr);
    EXPECT_EQ(QV_StopDrawing(), 0);

    // The screen output draws on whichever screen is open.
    ASSERT_NE(QV_OpenScreen(Width, Height, 32), nullptr);
    QV_ClearScreen(0, 0, 0);
    QV_StartDrawing(QV_ScreenOutput());
    QV_Box2(2, 2, 1, 1, 0x00FF00);
    EXPECT_TRUE(ScreenShowsRect(2, 2, 2, 2, Green, Black));
}

TEST_F(DrawingTest, CommandsWithoutAStartedOutputDoNothing)
{
    QV_StopDrawing();
    QV_Init2DDrawing();
    EXPECT_EQ(QV_Box(0, 0, 10, 10), 0);
    EXPECT_EQ(QV_Point(0, 0), 0);
    EXPECT_EQ(QV_DrawingBuffer(), nullptr);
    EXPECT_EQ(QV_StopDrawing(), 0);
    EXPECT_EQ(QV_StartDrawing(nullptr), nullptr);
    EXPECT_EQ(CountAll(Black), Width * Height);
    QV_StartDrawing(QV_ScreenOutput());
}

TEST_F(DrawingTest, StartLocksASurfaceThatNeedsItAndStopUnlocksIt)
{
    QV_StopDrawing();
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(surface, nullptr);
    // A run-length encoded surface must be locked for direct access; SDL
    // encodes it at its first blit.
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    SDL_BlitSurface(surface, nullptr, QV_Screen_Current, nullptr);
    ASSERT_TRUE(SDL_MUSTLOCK(surface));
    QV_DrawingOutput output{};
    QV_2DDrawing_UseSDLFunctions(&output, surface);
    EXPECT_EQ(QV_StartDrawing(&output), surface);
    EXPECT_EQ(surface->locked, 1u);
    QV_Plot2(3, 4, 0x00FF00);
    EXPECT_EQ(QV_Point(3, 4), 0x00FF00);
    // SDL_gfx's opaque circle lets go of a lock it did not take.
    QV_Circle2(8, 8, 3, 0x0000FF);
    QV_Circle(8, 8, 5);
    EXPECT_EQ(surface->locked, 1u) << "the lock is held again after the circles";
    EXPECT_EQ(QV_Point(11, 8), 0x0000FF);
    // Text is drawn by blits, which SDL refuses onto a locked surface.
    QV_FrontColor(255, 255, 255);
    QV_Locate(0, 8);
    EXPECT_EQ(QV_DrawText("Hi"), 0);
    EXPECT_EQ(surface->locked, 1u) << "the lock is held again after the text";
    int lit = 0;
    for (int32_t y = 8; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            lit += QV_Point(x, y) == 0xFFFFFF;
    EXPECT_GT(lit, 2 * 8);
    QV_StopDrawing();
    EXPECT_EQ(surface->locked, 0u);
    SDL_FreeSurface(surface);
    QV_StartDrawing(QV_ScreenOutput());
}

TEST_F(DrawingTest, TheCreditsSequenceLeavesTheScreenReadyToFlip)
{
    QV_StopDrawing();
    QV_StartDrawing(QV_ScreenOutput());
    QV_FrontColor(255, 255, 255);
    QV_Locate(32, 416);
    QV_DrawText("Tervane");
    QV_StopDrawing();
    EXPECT_EQ(QV_Screen_Current->locked, 0u);
    QV_FlipBuffers();
    EXPECT_GT(CountInside(32, 416, 56, 8, White), 0);
    QV_StartDrawing(QV_ScreenOutput());
}

TEST(DrawingWithoutScreenTest, AnOutputWithNoSurfaceDrawsNothing)
{
    QV_Init2DDrawing();
    QV_DrawingOutput output{};
    QV_2DDrawing_UseSDLFunctions(&output, nullptr);
    EXPECT_EQ(QV_StartDrawing(&output), nullptr);
    EXPECT_EQ(QV_Box(0, 0, 10, 10), 0);
    EXPECT_EQ(QV_DrawText("text"), 0);
    EXPECT_EQ(QV_Point(0, 0), 0);
    EXPECT_EQ(QV_DrawingBufferPixelFormat(), 0);
    EXPECT_EQ(QV_StopDrawing(), 0);
}

}  // namespace
