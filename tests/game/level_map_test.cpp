#include "tests/game/game_fixture.h"

#include <array>

namespace {

using Row = std::array<int32_t, MapColumns>;

Row MapRowValues(int32_t row)
{
    Row values{};
    for (int32_t column = 0; column < MapColumns; ++column)
        values[column] = LevelMap[row * MapRowStride + column];
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
            ASSERT_EQ(LevelMap[row * MapRowStride + column], 0) << row << ", " << column;
    }

    // Reading the map leaves the cursor on the first boss value.
    BuildLevelMap();
    EXPECT_EQ(DataCursor, BossTableStart());
    EXPECT_EQ(MapRowValues(14)[0], 36) << "a second build gives the same map";
}

TEST_F(LevelMapTest, EachTileIsItsSquareOfTheStripCountingFromOne)
{
    QV_FlipBuffers();  // the screen becomes the display target
    MapRow = 14;
    ScrollY = MapBaseY;
    QV_ClearScreen(0, 0, 0);
    DrawLevelMap();

    const Row bottom = MapRowValues(14);
    const Row above = MapRowValues(15);
    for (int32_t column = 0; column < MapColumns; ++column) {
        const int32_t x = PlayfieldLeft + column * TileSize;
        QV_ClipSprite(0, (bottom[column] - 1) * TileSize, 0, TileSize, TileSize);
        EXPECT_TRUE(ScreenShowsOpaque(0, x, MapBaseY)) << "bottom row, column " << column;
        QV_ClipSprite(0, (above[column] - 1) * TileSize, 0, TileSize, TileSize);
        EXPECT_TRUE(ScreenShowsOpaque(0, x, MapBaseY - TileSize)) << "row above, column " << column;
    }
    // Nothing is drawn beside the 13 columns.
    EXPECT_EQ(ScreenPixel(PlayfieldLeft - 1, MapBaseY), 0u);
    EXPECT_EQ(ScreenPixel(PlayfieldLeft + MapColumns * TileSize, MapBaseY), 0u);
}

TEST_F(LevelMapTest, DrawingAtTheEndRowSkipsRowsPastTheMap)
{
    QV_FlipBuffers();
    MapRow = LevelEndRow;
    ScrollY = MapBaseY;
    QV_ClearScreen(0, 0, 0);
    DrawLevelMap();
    // Row 400 is the top row drawn, at y 0; row 401, past the map, would lie
    // above the screen and is not read at all.
    QV_ClipSprite(0, 0, 0, TileSize, TileSize);
    for (int32_t column = 0; column < MapColumns; ++column)
        EXPECT_TRUE(ScreenShowsOpaque(0, PlayfieldLeft + column * TileSize, 0)) << column;
}

TEST_F(LevelMapTest, FirstRowAdvanceTakes33TicksThenEvery32)
{
    MapRow = 5;
    for (int tick = 1; tick <= 32; ++tick)
        ScrollTick();
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(ScrollY, 448);
    EXPECT_EQ(ScrollStep, 32);
    ScrollTick();
    EXPECT_EQ(MapRow, 6);
    EXPECT_EQ(ScrollY, MapBaseY);
    EXPECT_EQ(ScrollStep, 1);
    for (int tick = 1; tick <= 31; ++tick)
        ScrollTick();
    EXPECT_EQ(MapRow, 6);
    ScrollTick();
    EXPECT_EQ(MapRow, 7);
}

TEST_F(LevelMapTest, FramesTickTheScrollEverySecondFrame)
{
    ASSERT_EQ(MapRow, 5);
    RunFrames(65);
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(ScrollStep, 32);
    RunFrame();
    EXPECT_EQ(MapRow, 6);
    EXPECT_EQ(FrameParity, 0);
    RunFrame();
    EXPECT_EQ(FrameParity, 1);
}

TEST_F(LevelMapTest, BossStopRowHoldsTheScrollAndCountsTheFightsTicks)
{
    MapRow = 116;
    ScrollY = MapBaseY;
    ScrollStep = 1;
    for (int32_t tick = 1; tick <= 3; ++tick) {
        ScrollTick();
        EXPECT_EQ(ActiveBoss, 1);
        EXPECT_EQ(ShownBoss, 1);
        EXPECT_EQ(BossMusicCounter, tick);
        EXPECT_EQ(MapRow, 116);
        EXPECT_EQ(ScrollY, MapBaseY);
        EXPECT_EQ(ScrollStep, 1);
    }

    // The boss falls: the fight releases the scroll one pixel on, so this
    // row ends a pixel early, with ScrollY at 448.
    ActiveBoss = 0;
    ScrollY += 1;
    for (int tick = 1; tick <= 31; ++tick)
        ScrollTick();
    EXPECT_EQ(ScrollY, 448);
    EXPECT_EQ(MapRow, 116);
    ScrollTick();
    EXPECT_EQ(MapRow, 117);
    EXPECT_EQ(ActiveBoss, 0);
    EXPECT_EQ(ShownBoss, 1) << "the wreck stays shown";
}

TEST_F(LevelMapTest, SecondAndThirdBossesStopAtTheirRows)
{
    for (int32_t boss : {2, 3}) {
        ActiveBoss = 0;
        MapRow = BossStopRows[boss - 1];
        ScrollY = MapBaseY;
        ScrollTick();
        EXPECT_EQ(ActiveBoss, boss);
        EXPECT_EQ(ShownBoss, boss);
        EXPECT_EQ(MapRow, BossStopRows[boss - 1]);
    }
    // Off the stop row's first pixel nothing starts.
    ActiveBoss = 0;
    ShownBoss = 0;
    MapRow = 240;
    ScrollY = MapBaseY + 1;
    ScrollTick();
    EXPECT_EQ(ActiveBoss, 0);
}

TEST_F(LevelMapTest, TheEndRowStopsTheScrollForGood)
{
    MapRow = 386;
    ScrollY = 448;
    ScrollStep = 32;
    ScrollTick();
    ASSERT_EQ(MapRow, LevelEndRow);
    EXPECT_EQ(LevelEnd, 0);
    for (int tick = 0; tick < 100; ++tick)
        ScrollTick();
    EXPECT_EQ(LevelEnd, 1);
    EXPECT_EQ(MapRow, LevelEndRow);
    EXPECT_EQ(ScrollY, MapBaseY);
    EXPECT_EQ(ScrollStep, 1);
}

} // namespace
