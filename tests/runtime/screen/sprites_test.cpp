#include "runtime/screen/drawing.h"
#include "runtime/screen/image_decoders.h"
#include "tests/runtime/screen/screen_fixture.h"

#include <algorithm>
#include <climits>
#include <cstring>

using bmp_test::Rgb;

namespace {

const Rgb Black{0, 0, 0}, White{255, 255, 255}, Red{255, 0, 0};

// Every pixel of a picture made of these has a colour of its own, never black.
Rgb Distinct(int32_t x, int32_t y)
{
    return {static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>((x >> 8) * 30 + 1), static_cast<uint8_t>(y * 7 + 10)};
}

class SpriteTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        StartFrame();
    }

    // Whether the screen shows source pixels (sx + i, sy + j) at (x + i, y + j)
    // on the w x h rectangle at (x, y), and black everywhere else.
    static bool ScreenShowsPart(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy)
    {
        for (int32_t py = 0; py < Height; ++py)
            for (int32_t px = 0; px < Width; ++px) {
                const bool in = px >= x && px < x + w && py >= y && py < y + h;
                if (!(At(px, py) == (in ? Distinct(sx + px - x, sy + py - y) : Black)))
                    return false;
            }
        return true;
    }
};

TEST_F(SpriteTest, SpriteIsClippedAtTheTargetsEdges)
{
    Load(1, bmp_test::BuildBmp24(32, 32, Distinct));
    QV_DisplaySprite(1, -40, 10);
    QV_DisplaySprite(1, -32, 10);
    QV_DisplaySprite(1, 10, -32);
    QV_DisplaySprite(1, Width, 0);
    QV_DisplaySprite(1, 0, Height);
    EXPECT_TRUE(ScreenIs(Black));

    QV_DisplaySprite(1, -31, 10);
    EXPECT_TRUE(ScreenShowsPart(0, 10, 1, 32, 31, 0)) << "only the rightmost column, at x 0";

    StartFrame();
    QV_DisplayTransparentSprite(1, Width - 10, Height - 3);
    EXPECT_TRUE(ScreenShowsPart(Width - 10, Height - 3, 10, 3, 0, 0));
}

TEST_F(SpriteTest, TileClippedFromAStripNeverShowsItsNeighbours)
{
    Load(0, bmp_test::BuildBmp24(2016, 32, Distinct));
    QV_ClipSprite(0, 64, 0, 32, 32);
    QV_DisplaySprite(0, 0, -20);
    EXPECT_TRUE(ScreenShowsPart(0, 0, 32, 12, 64, 20)) << "rows 20 to 31 of tile 2";

    StartFrame();
    QV_DisplaySprite(0, -10, 0);
    EXPECT_TRUE(ScreenShowsPart(0, 0, 22, 32, 74, 0)) << "columns 74 to 95 of the strip";

    StartFrame();
    QV_ClipSprite(0, 2000, 0, 32, 32);
    QV_DisplaySprite(0, 100, 100);
    EXPECT_TRUE(ScreenShowsPart(100, 100, 16, 32, 2000, 0)) << "the strip's end trims the tile";
}

TEST_F(SpriteTest, ClipTrimsTheRightAndBottomAndMinusOneRestores)
{
    Load(2, bmp_test::BuildBmp24(120, 40, Distinct));
    QV_ClipSprite(2, 100, 0, 50, 20);
    EXPECT_EQ(QV_SpriteWidth(2), 20);
    EXPECT_EQ(QV_SpriteHeight(2), 20);
    QV_ClipSprite(2, 0, 30, 10, 50);
    EXPECT_EQ(QV_SpriteWidth(2), 10);
    EXPECT_EQ(QV_SpriteHeight(2), 10);
    QV_ClipSprite(2, -1, 5, 5, 5);
    EXPECT_EQ(QV_SpriteWidth(2), 120);
    EXPECT_EQ(QV_SpriteHeight(2), 40);
    QV_DisplaySprite(2, 3, 4);
    EXPECT_TRUE(ScreenShowsPart(3, 4, 120, 40, 0, 0));

    // The clip rectangle goes with a reload.
    QV_ClipSprite(2, 1, 1, 4, 4);
    Load(2, bmp_test::BuildBmp24(30, 20, Distinct));
    EXPECT_EQ(QV_SpriteWidth(2), 30);
    EXPECT_EQ(QV_SpriteHeight(2), 20);
}

TEST_F(SpriteTest, RectanglesCollideWhenTheirEdgesMeet)
{
    LoadFilled(3, 10, 10, White);
    LoadFilled(4, 10, 10, White);
    for (auto collide : {QV_SpriteCollision, QV_SpritePixelCollision}) {
        EXPECT_EQ(collide(3, 0, 0, 4, 10, 0), 1);
        EXPECT_EQ(collide(3, 0, 0, 4, 11, 0), 0);
        EXPECT_EQ(collide(3, 0, 0, 4, -10, 0), 1);
        EXPECT_EQ(collide(3, 0, 0, 4, -11, 0), 0);
        EXPECT_EQ(collide(3, 0, 0, 4, 0, 10), 1);
        EXPECT_EQ(collide(3, 0, 0, 4, 0, 11), 0);
        EXPECT_EQ(collide(3, 0, 0, 4, 0, -10), 1);
        EXPECT_EQ(collide(3, 0, 0, 4, 0, -11), 0);
        EXPECT_EQ(collide(3, 0, 0, 4, 10, 10), 1);
        EXPECT_EQ(collide(3, 0, 0, 4, 11, 10), 0);
        EXPECT_EQ(collide(3, INT_MAX, INT_MAX, 4, INT_MIN, INT_MIN), 0);
    }

    // The clip rectangle is what collides.
    QV_ClipSprite(3, 0, 0, 4, 4);
    EXPECT_EQ(QV_SpriteWidth(3), 4);
    EXPECT_EQ(QV_SpriteCollision(3, 0, 0, 4, 4, 0), 1);
    EXPECT_EQ(QV_SpriteCollision(3, 0, 0, 4, 5, 0), 0);
    EXPECT_EQ(QV_SpriteCollision(4, 5, 5, 3, 0, 0), 0);

    // A freed sprite still collides with its old size; a never-loaded one
    // is a point.
    QV_FreeSprite(4);
    EXPECT_EQ(QV_SpriteCollision(3, 0, 0, 4, 4, 4), 1);
    EXPECT_EQ(QV_SpriteCollision(3, 0, 0, 30, 4, 4), 1);
    EXPECT_EQ(QV_SpriteCollision(3, 0, 0, 30, 5, 4), 0);
}

TEST_F(SpriteTest, OpaqueDisplayDrawsBlackAndTransparentDisplayLeavesIt)
{
    // A white ring round a black centre.
    Load(5, bmp_test::BuildBmp24(4, 4, [](int32_t x, int32_t y) {
             return (x == 0 || x == 3 || y == 0 || y == 3) ? White : Black;
         }));
    StartFrame(Red);
    QV_DisplaySprite(5, 0, 0);
    QV_DisplayTransparentSprite(5, 10, 0);
    QV_DisplaySprite(5, 20, 0);  // the key is back on after an opaque blit...
    QV_DisplayTransparentSprite(5, 30, 0);
    for (int32_t left : {0, 10, 20, 30}) {
        const Rgb centre = (left == 0 || left == 20) ? Black : Red;
        EXPECT_EQ(At(left + 1, 1), centre) << left;
        EXPECT_EQ(At(left + 2, 2), centre) << left;
        EXPECT_EQ(At(left, 0), White) << left;
        EXPECT_EQ(At(left + 3, 3), White) << left;
        EXPECT_EQ(At(left + 4, 1), Red) << left;
    }
}

// A large picture displayed again at the same place copies only what was
// drawn over since: whatever drew there, it must show whole again.
TEST_F(SpriteTest, APictureDisplayedAgainShowsWholeWhateverDrewOverIt)
{
    constexpr int32_t PanelX = 480, PanelWidth = 160;
    Load(1, bmp_test::BuildBmp24(PanelWidth, Height, Distinct));
    LoadFilled(2, 8, 8, White);
    const auto showsPanel = [] {
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = PanelX; x < Width; ++x)
                if (!(At(x, y) == Distinct(x - PanelX, y)))
                    return false;
        return true;
    };

    QV_DisplaySprite(1, PanelX, 0);
    QV_DisplaySprite(2, 500, 100);
    QV_DisplayTransparentSprite(2, PanelX - 4, 200);
    QV_FlipBuffers();
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "over an opaque and a keyed sprite";
    EXPECT_EQ(At(PanelX - 4, 200), White) << "beside the picture, what was drawn stays";

    // A row of digits, and more scattered sprites than are marked apart.
    for (int32_t digit = 0; digit < 6; ++digit)
        QV_DisplaySprite(2, 520 + 8 * digit, 204);
    for (int32_t sprite = 0; sprite < 7; ++sprite)
        QV_DisplayTransparentSprite(2, 490 + 19 * sprite, 30 + 57 * sprite);
    QV_FlipBuffers();
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "over many sprites";
    for (int32_t sprite = 0; sprite < 3000; ++sprite)
        QV_DisplaySprite(2, PanelX + sprite % 150, sprite % 470);
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "over more sprites than are listed";

    QV_StartDrawing(QV_ScreenOutput());
    QV_FrontColor(255, 0, 0);
    QV_Box(600, 400, 10, 10);
    QV_StopDrawing();
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "over drawing";
    QV_Box(600, 300, 10, 10);  // the output stays current after its stop
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "over drawing after the stop";
    QV_ClearScreen(0, 0, 0);
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(showsPanel()) << "after a clear";

    // Pixels changed in the picture itself show.
    QV_UseBuffer(1);
    QV_DisplaySprite(2, 0, 0);
    QV_UseBuffer(-1);
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_EQ(At(PanelX + 7, 7), White);
    EXPECT_EQ(At(PanelX + 8, 8), Distinct(8, 8));
    LoadFilled(1, PanelWidth, Height, Red);
    QV_DisplaySprite(1, PanelX, 0);
    EXPECT_TRUE(ScreenShowsRect(PanelX, 0, PanelWidth, Height, Red, Black)) << "a picture loaded anew";
}

// Map tiles by the hundred, scrolled a pixel every other frame under a
// sprite and a large picture that is kept, so that each place is left,
// shown again, or shown with another tile once the map has moved on a
// whole tile.
TEST_F(SpriteTest, AScrollingMapOfTilesShowsWholeEveryFrame)
{
    constexpr int32_t Tile = 32, Columns = 8, Rows = Height / Tile + 2;
    Load(0, bmp_test::BuildBmp24(2016, Tile, Distinct));
    LoadFilled(1, 40, 40, White);
    LoadFilled(2, 100, 100, Red);
    const auto tileAt = [](int32_t row, int32_t column) { return (row * 7 + column * 3) % 63; };
    const auto rowTop = [](int32_t row, int32_t scroll) { return Height - Tile * (row + 1) + scroll; };
    const auto mapShowsWhole = [&](int32_t scroll) {
        for (int32_t y = 0; y < Height; ++y) {
            const int32_t row = (Height + scroll - y - 1) / Tile;
            for (int32_t x = 0; x < Columns * Tile; ++x)
                if (!(At(x, y) == Distinct(tileAt(row, x / Tile) * Tile + x % Tile, y - rowTop(row, scroll))))
                    return false;
        }
        return true;
    };

    for (int32_t frame = 0; frame < 2 * (Tile + 2); ++frame) {
        const int32_t scroll = frame / 2;
        for (int32_t row = 0; row < Rows; ++row)
            for (int32_t column = 0; column < Columns; ++column) {
                QV_ClipSprite(0, tileAt(row, column) * Tile, 0, Tile, Tile);
                QV_DisplaySprite(0, column * Tile, rowTop(row, scroll));
            }
        ASSERT_TRUE(mapShowsWhole(scroll)) << "frame " << frame;
        QV_DisplayTransparentSprite(1, frame * 7 % 240, frame * 13 % 440);
        if (frame % 3 == 0)
            QV_DisplaySprite(2, 150, 200);
        QV_FlipBuffers();
    }
}

// More large pictures overlapping at one place than are kept: shown again
// in the same order, they still show as plain copies would.
TEST_F(SpriteTest, PicturesCrowdedAtOnePlaceShowWholeWhenShownAgain)
{
    constexpr int32_t Tile = 64, Count = 12, Corner = 100;
    Load(0, bmp_test::BuildBmp24(Tile * Count, Tile, Distinct));
    const auto showAll = [] {
        for (int32_t shift = 0; shift < Count; ++shift) {
            QV_ClipSprite(0, shift * Tile, 0, Tile, Tile);
            QV_DisplaySprite(0, Corner + shift, Corner + shift);
        }
    };
    const auto showsLastOnTop = [] {
        for (int32_t y = Corner; y < Corner + Count + Tile; ++y)
            for (int32_t x = Corner; x < Corner + Count + Tile; ++x) {
                const int32_t top = std::min({Count - 1, x - Corner, y - Corner});
                const bool covered = x - Corner - top < Tile && y - Corner - top < Tile;
                const Rgb expected = covered ? Distinct(top * Tile + x - Corner - top, y - Corner - top) : Black;
                if (!(At(x, y) == expected))
                    return false;
            }
        return true;
    };

    showAll();
    QV_FlipBuffers();
    showAll();
    EXPECT_TRUE(showsLastOnTop());
}

// A grab reaching past the screen's top-left corner keeps black there.
TEST_F(SpriteTest, AGrabCopiesTheScreenAndLeavesWhatLiesOffItBlack)
{
    Load(1, bmp_test::BuildBmp24(64, 64, Distinct));
    QV_DisplaySprite(1, 0, 0);
    ASSERT_NE(QV_GrabSprite(9, -10, -5, 40, 30), nullptr);
    QV_ClearScreen(0, 0, 0);
    QV_DisplaySprite(9, 100, 100);
    EXPECT_TRUE(ScreenShowsPart(110, 105, 30, 25, 0, 0));
}

TEST_F(SpriteTest, SpriteAsDisplayTarget)
{
    LoadFilled(3, 20, 10, Black);
    LoadFilled(4, 4, 4, White);
    QV_ClipSprite(3, 0, 0, 5, 5);
    SDL_Surface* before = QV_UseBuffer(-1);

    EXPECT_EQ(QV_UseBuffer(7), before) << "a never loaded sprite changes nothing";
    EXPECT_EQ(QV_UseBuffer(-5), before);
    EXPECT_EQ(QV_UseBuffer(100000), before);
    EXPECT_EQ(QV_Screen_Width, Width);

    EXPECT_EQ(QV_UseBuffer(3), QV_Sprite_ObjectsArea[3].surface);
    EXPECT_EQ(QV_Screen_Width, 20) << "the full size, not the clipped one";
    EXPECT_EQ(QV_Screen_Height, 10);
    QV_DisplaySprite(4, 18, 1);  // clipped to the sprite's right edge
    QV_ClearScreen(0, 0, 255);   // always the screen

    // What was drawn onto the sprite shows both opaque and keyed.
    QV_UseBuffer(-1);
    QV_ClipSprite(3, -1, 0, 0, 0);
    QV_ClearScreen(255, 0, 0);
    QV_DisplaySprite(3, 0, 0);
    QV_DisplayTransparentSprite(3, 0, 20);
    EXPECT_EQ(At(18, 1), White);
    EXPECT_EQ(At(19, 4), White);
    EXPECT_EQ(At(17, 1), Black);
    EXPECT_EQ(At(18, 5), Black);
    EXPECT_EQ(At(19, 21), White);
    EXPECT_EQ(At(17, 21), Red);

    // Freeing the target sprite leaves nothing to draw on until the next frame.
    QV_UseBuffer(3);
    QV_FreeSprite(3);
    EXPECT_EQ(QV_Sprite_CurrentBitmap, nullptr);
    QV_DisplaySprite(4, 0, 0);
    QV_FlipBuffers();
    EXPECT_EQ(QV_Sprite_CurrentBitmap, QV_Screen_Current);
}

TEST_F(SpriteTest, LoadingBeyondTheTableGrowsIt)
{
    ASSERT_EQ(QV_Sprite_ObjectsNumber, 50);
    LoadFilled(7, 3, 3, White);
    LoadFilled(120, 5, 6, White);
    EXPECT_EQ(QV_Sprite_ObjectsNumber, 170);
    EXPECT_EQ(QV_SpriteWidth(7), 3) << "old records are kept";
    EXPECT_EQ(QV_SpriteWidth(120), 5);
    EXPECT_EQ(QV_SpriteHeight(120), 6);
    for (int32_t sprite = 50; sprite < 170; ++sprite) {
        if (sprite != 120) {
            EXPECT_EQ(QV_Sprite_ObjectsArea[sprite].surface, nullptr) << sprite;
        }
    }
    EXPECT_EQ(QV_Sprite_ObjectsArea[169].displayedWidth, 0);
}

TEST_F(SpriteTest, ReloadReplacesAndAFailedReloadEmptiesTheSlot)
{
    LoadFilled(8, 6, 6, White);
    LoadFilled(8, 2, 3, Red);
    EXPECT_EQ(QV_SpriteWidth(8), 2);
    QV_DisplaySprite(8, 0, 0);
    EXPECT_TRUE(ScreenShowsRect(0, 0, 2, 3, Red, Black));

    const char garbage[] = "not a picture at all, just words";
    EXPECT_EQ(QV_CatchSprite(8, garbage, sizeof garbage), nullptr);
    EXPECT_EQ(QV_Sprite_ObjectsArea[8].surface, nullptr);
    StartFrame();
    QV_DisplaySprite(8, 0, 0);
    QV_DisplayTransparentSprite(8, 0, 0);
    EXPECT_TRUE(ScreenIs(Black));
}

TEST_F(SpriteTest, FreedSpriteKeepsItsSizeButDrawsNothing)
{
    LoadFilled(9, 12, 7, White);
    QV_FreeSprite(9);
    QV_FreeSprite(9);
    EXPECT_EQ(QV_SpriteWidth(9), 12);
    EXPECT_EQ(QV_SpriteHeight(9), 7);
    QV_DisplaySprite(9, 0, 0);
    QV_ClipSprite(9, 0, 0, 1, 1);
    EXPECT_EQ(QV_SpriteWidth(9), 12) << "an empty slot takes no clip rectangle";
    EXPECT_TRUE(ScreenIs(Black));
}

TEST_F(SpriteTest, NumbersOutsideTheTableAreIgnored)
{
    LoadFilled(0, 4, 4, White);
    for (int32_t sprite : {-1, -50, INT_MIN, 50, 1000, INT_MAX}) {
        QV_DisplaySprite(sprite, 0, 0);
        QV_DisplayTransparentSprite(sprite, 0, 0);
        QV_ClipSprite(sprite, 0, 0, 1, 1);
        QV_FreeSprite(sprite);
        EXPECT_EQ(QV_SpriteWidth(sprite), 0) << sprite;
        EXPECT_EQ(QV_SpriteHeight(sprite), 0) << sprite;
        EXPECT_EQ(QV_SpriteCollision(0, 0, 0, sprite, 0, 0), 0) << sprite;
        EXPECT_EQ(QV_SpritePixelCollision(sprite, 0, 0, 0, 0, 0), 0) << sprite;
    }
    EXPECT_TRUE(ScreenIs(Black));
    EXPECT_EQ(QV_Sprite_ObjectsNumber, 50);
}

TEST_F(SpriteTest, LoadsThatCannotFitTheTableOrTheRecordFail)
{
    const std::vector<uint8_t> picture = bmp_test::BuildBmp24(2, 2, Distinct);
    QV_SpriteRecord* table = QV_Sprite_ObjectsArea;
    for (int32_t sprite : {-1, INT_MIN, INT_MAX, INT_MAX - 50, INT_MAX / 8})
        EXPECT_EQ(QV_CatchSprite(sprite, picture.data(), picture.size()), nullptr) << sprite;
    EXPECT_EQ(QV_Sprite_ObjectsArea, table);
    EXPECT_EQ(QV_Sprite_ObjectsNumber, 50);

    // A picture wider than a record's 16-bit size; its unknown bit count
    // needs no pixel data, so the BMP reader accepts it.
    std::vector<uint8_t> wide = bmp_test::BuildBmp(40000, 1, 24, {}, {});
    bmp_test::PutLE(wide, bmp_test::BitsField, 2, 2);
    ASSERT_EQ(QV_BMP_Check(nullptr, wide.data(), wide.size()), 1);
    EXPECT_EQ(QV_CatchSprite(1, wide.data(), wide.size()), nullptr);
    // SDL's own limit lies lower still.
    bmp_test::PutLE(wide, bmp_test::WidthField, 16384, 4);
    EXPECT_EQ(QV_CatchSprite(1, wide.data(), wide.size()), nullptr);
    bmp_test::PutLE(wide, bmp_test::WidthField, 16383, 4);
    EXPECT_NE(QV_CatchSprite(1, wide.data(), wide.size()), nullptr);
    EXPECT_EQ(QV_SpriteWidth(1), 16383);
}

// A registered decoder that recognises data starting with "RAW2" as a 2 x 1
// picture of a red and a white pixel.
const QV_ImageDecoder RawDecoder{
    [](std::FILE*, const void* memory, size_t size, const char*) {
        return int32_t{size >= 4 && std::memcmp(memory, "RAW2", 4) == 0};
    },
    [](void* buffer, int32_t, int32_t flags) {
        const uint8_t pixels[6] = {255, 0, 0, 255, 255, 255};
        std::memcpy(buffer, pixels, sizeof pixels);
        return int32_t{flags == 0};
    },
    [] { return int32_t{2}; },
    [] { return int32_t{1}; },
};

TEST_F(SpriteTest, PicturesTheBmpReaderRefusesGoToTheRegisteredDecoders)
{
    QV_InitImageDecoder();
    ASSERT_NE(QV_ImageDecoder_Register(&RawDecoder), nullptr);
    ASSERT_NE(QV_CatchSprite(6, "RAW2", 4), nullptr);
    QV_InitImageDecoder();
    QV_DisplaySprite(6, 0, 0);
    EXPECT_EQ(At(0, 0), Red);
    EXPECT_EQ(At(1, 0), White);
    EXPECT_EQ(At(2, 0), Black);
    EXPECT_EQ(At(0, 1), Black);
}

}  // namespace
