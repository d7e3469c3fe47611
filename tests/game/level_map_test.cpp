#include "tests/game/game_fixture.h"

#include <array>

namespace {

using Row = std::array<int32_t, MapColumns>;

Row MapRowValues(int32_t row)
{
    Row values{};
    for (int32_t column = 0; column < MapColumns; ++column)
        values[column] = (*Level.LevelMap)[row * MapRowStride + column];
    return values;
}

Row AllTiles(int32_t tile)
{
    Row values{};
    values.fill(tile);
    return values;
}

using LevelMapTest = GameTest;

TEST_F(LevelMapTest, MapIsBuiltFromTheBlockLastRowFirst)
{
    for (int32_t row : {0, 1, 2})
        EXPECT_EQ(MapRowValues(row), AllTiles(12)) << "row " << row;
    EXPECT_EQ(MapRowValues(14), (Row{36, 37, 37, 24, 20, 59, 59, 19, 1, 1, 1, 1, 1}));
    EXPECT_EQ(MapRowValues(15), (Row{1, 1, 1, 1, 23, 1, 14, 12, 19, 1, 1, 1, 1}));
    EXPECT_EQ(MapRowValues(200), (Row{1, 18, 13, 12, 12, 12, 12, 12, 12, 12, 12, 12, 19}));
    EXPECT_EQ(MapRowValues(386), AllTiles(1));
    EXPECT_EQ(MapRowValues(387), AllTiles(1));
    EXPECT_EQ(MapRowValues(398), (Row{21, 21, 1, 1, 1, 1, 1, 1, 1, 1, 1, 21, 21}));
    EXPECT_EQ(MapRowValues(399), (Row{21, 21, 21, 1, 1, 1, 1, 1, 21, 21, 21, 21, 21}));
    EXPECT_EQ(MapRowValues(400), AllTiles(1));

    for (int32_t row = 0; row < MapRows; ++row) {
        for (int32_t column = MapColumns; column < MapRowStride; ++column)
            ASSERT_EQ((*Level.LevelMap)[row * MapRowStride + column], 0) << row << ", " << column;
    }

    // Reading the map leaves the cursor on the first boss value.
    BuildLevelMap();
    EXPECT_EQ(DataCursor, BossTableStart());
    EXPECT_EQ(MapRowValues(14)[0], 36) << "a second build gives the same map";
}

TEST_F(LevelMapTest, EachTileIsItsSquareOfTheStripCountingFromOne)
{
    QV_FlipBuffers();  // the screen becomes the display target
    Level.MapRow = 14;
    Level.ScrollY = MapBaseY;
    QV_ClearScreen(0, 0, 0);
    DrawLevelMap();

    const Row bottom = MapRowValues(14);
    const Row above = MapRowValues(15);
    for (int32_t column = 0; column < MapColumns; ++column) {
        const int32_t x = PlayfieldLeft + column * TileSize;
        QV_ClipSprite(TileStripSprite, (bottom[column] - 1) * TileSize, 0, TileSize, TileSize);
        EXPECT_TRUE(ScreenShowsOpaque(TileStripSprite, x, MapBaseY)) << "bottom row, column " << column;
        QV_ClipSprite(TileStripSprite, (above[column] - 1) * TileSize, 0, TileSize, TileSize);
        EXPECT_TRUE(ScreenShowsOpaque(TileStripSprite, x, MapBaseY - TileSize)) << "row above, column " << column;
    }
    // Nothing is drawn beside the 13 columns.
    EXPECT_EQ(ScreenPixel(PlayfieldLeft - 1, MapBaseY), 0u);
    EXPECT_EQ(ScreenPixel(PlayfieldLeft + MapColumns * TileSize, MapBaseY), 0u);
}

TEST_F(LevelMapTest, DrawingAtTheEndRowSkipsRowsPastTheMap)
{
    QV_FlipBuffers();
    Level.MapRow = LevelEndRow;
    Level.ScrollY = MapBaseY;
    QV_ClearScreen(0, 0, 0);
    DrawLevelMap();
    // Row 399 is the top row drawn, at the playfield's top; row 400 lies
    // under the top frame strip, left to it, and row 401, past the map,
    // would lie above the screen and is not read at all.
    const Row top = MapRowValues(399);
    for (int32_t column = 0; column < MapColumns; ++column) {
        QV_ClipSprite(TileStripSprite, (top[column] - 1) * TileSize, 0, TileSize, TileSize);
        EXPECT_TRUE(ScreenShowsOpaque(TileStripSprite, PlayfieldLeft + column * TileSize, PlayfieldNear)) << column;
    }
    EXPECT_EQ(ScreenPixel(PlayfieldLeft, PlayfieldNear - 1), 0u);
}

TEST_F(LevelMapTest, FirstRowAdvanceTakes33TicksThenEvery32)
{
    Level.MapRow = 5;
    for (int tick = 1; tick <= 32; ++tick)
        ScrollTick(false);
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Level.ScrollY, 448);
    EXPECT_EQ(Level.ScrollStep, 32);
    ScrollTick(false);
    EXPECT_EQ(Level.MapRow, 6);
    EXPECT_EQ(Level.ScrollY, MapBaseY);
    EXPECT_EQ(Level.ScrollStep, 1);
    for (int tick = 1; tick <= 31; ++tick)
        ScrollTick(false);
    EXPECT_EQ(Level.MapRow, 6);
    ScrollTick(false);
    EXPECT_EQ(Level.MapRow, 7);
}

TEST_F(LevelMapTest, FramesTickTheScrollEverySecondFrame)
{
    ASSERT_EQ(Level.MapRow, 5);
    RunFrames(65);
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Level.ScrollStep, 32);
    RunFrame();
    EXPECT_EQ(Level.MapRow, 6);
    EXPECT_EQ(Level.FrameParity, 0);
    RunFrame();
    EXPECT_EQ(Level.FrameParity, 1);
}

TEST_F(LevelMapTest, BossStopRowHoldsTheScrollUntilTheFightLeavesIt)
{
    Level.MapRow = 116;
    Level.ScrollY = MapBaseY;
    Level.ScrollStep = 1;
    for (int32_t tick = 1; tick <= 3; ++tick) {
        EXPECT_EQ(BossAtStopRow(), 1);
        EXPECT_FALSE(ScrollTick(true));
        EXPECT_EQ(Level.MapRow, 116);
        EXPECT_EQ(Level.ScrollY, MapBaseY);
        EXPECT_EQ(Level.ScrollStep, 1);
    }

    // The boss falls: the fight releases the scroll one pixel on, so this
    // row ends a pixel early, with ScrollY at 448.
    LeaveStopRow();
    EXPECT_EQ(BossAtStopRow(), 0);
    for (int tick = 1; tick <= 31; ++tick)
        ScrollTick(false);
    EXPECT_EQ(Level.ScrollY, 448);
    EXPECT_EQ(Level.MapRow, 116);
    ScrollTick(false);
    EXPECT_EQ(Level.MapRow, 117);
}

TEST_F(LevelMapTest, ScrollTicksAtAStopRowStartTheFightAndCountItsTicks)
{
    Flow.Phase = GamePhase::Credits;  // the title page keeps bosses away
    Flow.AttractRow = 200;
    Level.MapRow = 116;
    Level.ScrollY = MapBaseY;
    Level.FrameParity = 1;
    RunFrame();
    EXPECT_EQ(BossFight.ActiveBoss, 1);
    EXPECT_EQ(BossFight.ShownBoss, 1);
    EXPECT_EQ(BossFight.BossMusicCounter, 1);
    RunFrames(4);
    EXPECT_EQ(BossFight.BossMusicCounter, 3);
    EXPECT_EQ(Level.MapRow, 116);
    EXPECT_EQ(Level.ScrollY, MapBaseY);
}

TEST_F(LevelMapTest, SecondAndThirdBossesStopAtTheirRows)
{
    for (int32_t boss : {2, 3}) {
        Level.MapRow = BossStopRows[boss - 1];
        Level.ScrollY = MapBaseY;
        EXPECT_EQ(BossAtStopRow(), boss);
    }
    // Off the stop row's first pixel nothing starts.
    Level.MapRow = 240;
    Level.ScrollY = MapBaseY + 1;
    EXPECT_EQ(BossAtStopRow(), 0);
}

TEST_F(LevelMapTest, TheEndRowStopsTheScrollForGood)
{
    Level.MapRow = 386;
    Level.ScrollY = 448;
    Level.ScrollStep = 32;
    EXPECT_FALSE(ScrollTick(false));
    ASSERT_EQ(Level.MapRow, LevelEndRow);
    for (int tick = 0; tick < 100; ++tick)
        EXPECT_TRUE(ScrollTick(false));
    EXPECT_EQ(Level.MapRow, LevelEndRow);
    EXPECT_EQ(Level.ScrollY, MapBaseY);
    EXPECT_EQ(Level.ScrollStep, 1);
}

}  // namespace
