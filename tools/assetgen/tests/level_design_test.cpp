// The level as designed: the map follows its ground, and every enemy keeps
// to the rules the waves are built by.
#include "level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const LevelMap& Map()
{
    static const LevelMap map = designLevelMap();
    return map;
}

const std::set<int> FixedRows = {0, 1, 2, 14, 15, 200, 386, 387, 398, 399, 400};

int SizeOf(const EnemyRecord& e)
{
    return e.sprite <= 31 ? 64 : 32;
}

// The ground under the centre of a ground unit when that centre comes onto
// the playfield (y 32). The unit starts in the frame in which the map's
// bottom row becomes StartRow + 1, drawn at y 416; it drifts down with the
// map, so only its own moves carry it across the ground.
std::array<Ground, 4> GroundWhereItShows(const EnemyRecord& e)
{
    const int centreX = e.x + SizeOf(e) / 2, centreY = e.y + SizeOf(e) / 2;
    const int ticks = std::max(0, (32 - centreY + e.dy) / (1 + e.dy));
    const int worldY = (e.startRow + 1) * 32 + 416 + 31 - centreY - e.dy * ticks;
    const int row = worldY / 32;
    const int column = (centreX + e.dx * ticks - 32) / 32;
    const auto& c = Map().corners;
    return {c[row][column], c[row][column + 1], c[row + 1][column], c[row + 1][column + 1]};
}

}  // namespace

TEST(LevelDesign, EveryTileMatchesTheGroundAtItsCorners)
{
    for (int row = 0; row < MapRows; ++row) {
        if (FixedRows.count(row))
            continue;
        for (int x = 0; x < MapColumns; ++x) {
            const int32_t tile = Map().tiles[row][x];
            ASSERT_GE(tile, 1);
            ASSERT_LE(tile, TileCount);
            const TileKind& kind = TileKinds[tile - 1];
            EXPECT_EQ(kind.bottomLeft, Map().corners[row][x]) << "row " << row << " column " << x;
            EXPECT_EQ(kind.bottomRight, Map().corners[row][x + 1]) << "row " << row << " column " << x;
            EXPECT_EQ(kind.topLeft, Map().corners[row + 1][x]) << "row " << row << " column " << x;
            EXPECT_EQ(kind.topRight, Map().corners[row + 1][x + 1]) << "row " << row << " column " << x;
        }
    }
}

TEST(LevelDesign, TheSameDesignComesOutEveryTime)
{
    EXPECT_EQ(encodeLevelMap(designLevelMap()), encodeLevelMap(Map()));
    EXPECT_EQ(encodeWaveStream(designWaves(Map())), encodeWaveStream(designWaves(Map())));
}

TEST(LevelDesign, ShipsStartOnWaterAndVehiclesOnLand)
{
    for (const Wave& wave : designWaves(Map()))
        for (const EnemyRecord& e : wave) {
            if (e.sprite < 29 || e.sprite == 32)  // planes; vehicles rolling in from beyond the edge
                continue;
            const auto ground = GroundWhereItShows(e);
            const bool allWater =
                ground == std::array<Ground, 4>{Ground::Water, Ground::Water, Ground::Water, Ground::Water};
            if (e.sprite <= 31)
                EXPECT_TRUE(allWater) << "ship " << e.sprite << " of start row " << e.startRow;
            else
                EXPECT_FALSE(allWater) << "vehicle " << e.sprite << " of start row " << e.startRow;
        }
}

TEST(LevelDesign, GroundUnitsAreGoneBeforeTheScrollStopsForABoss)
{
    // Ground units drift down with the map; were one still on the playfield
    // when the map halts for a boss, it would slide over the standing
    // ground. Standing still, it has drifted 32 pixels per row since it
    // started, and it is hidden under the bottom frame from y 448.
    for (const Wave& wave : designWaves(Map()))
        for (const EnemyRecord& e : wave) {
            if (e.sprite < 29)
                continue;
            for (int stop : BossStopRows) {
                if (e.startRow < stop) {
                    EXPECT_GE(e.y + 32 * (stop - e.startRow - 1), 448)
                        << "ground unit " << e.sprite << " of start row " << e.startRow << " at stop row " << stop;
                }
            }
        }
}

TEST(LevelDesign, BossTableHoldsTheThreeBossesInFieldOrder)
{
    const std::vector<uint8_t> table = encodeBossTable();
    ASSERT_EQ(table.size(), 108u);
    auto word = [&](int i) {
        return int32_t(uint32_t(table[4 * i]) | uint32_t(table[4 * i + 1]) << 8 | uint32_t(table[4 * i + 2]) << 16 |
                       uint32_t(table[4 * i + 3]) << 24);
    };
    EXPECT_EQ(word(0), 190);
    EXPECT_EQ(word(1), -128);
    EXPECT_EQ(word(13), 80);  // boss 2's hit points
    EXPECT_EQ(word(26), 70);  // boss 3's picture
}
