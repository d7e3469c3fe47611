// The level blocks: the map, the boss table and the enemy waves.
#include "game/assets.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace asset_test;

namespace {

constexpr int32_t Rows = 401, Columns = 13;

// The map as the game lays it out: Map()[row][column], row 0 at the start.
std::vector<std::vector<int32_t>> Map()
{
    std::vector<std::vector<int32_t>> map(Rows, std::vector<int32_t>(Columns));
    const uint8_t* p = LevelMapStart();
    for (int32_t row = Rows - 1; row >= 0; --row)
        for (int32_t column = 0; column < Columns; ++column, p += 4)
            map[row][column] = Int32At(p);
    return map;
}

struct Enemy {
    int32_t x, y, dx, dy, sprite, hitPoints, shots, startRow, active;
};

// The enemy records of one wave, read as the game reads them; `end` is set
// to the byte offset just past the wave's end record.
std::vector<Enemy> ReadWave(int32_t offset, int32_t* end = nullptr)
{
    std::vector<Enemy> wave;
    const uint8_t* p = WaveStreamStart() + offset;
    while (Int32At(p) == 0) {
        int32_t f[9];
        for (int i = 0; i < 9; ++i)
            f[i] = Int32At(p + 4 + 4 * i);
        wave.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
        p += 40;
    }
    EXPECT_EQ(Int32At(p), 9) << "wave at " << offset << " ends without its end marker";
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(Int32At(p + 4 * i), 0);
    if (end)
        *end = int32_t(p + 40 - WaveStreamStart());
    return wave;
}

bool Flying(const Enemy& e)
{
    return e.sprite < 27;
}

const int32_t WaveOffsets[3] = {0, Wave2Offset, Wave3Offset};

// The stretches of the level and the ground each is mostly made of: grass
// 1, sand 5, open water 12 (jungle 21 where it is named).
struct Stretch {
    int32_t first, last;
    std::set<int32_t> ground;
};
const Stretch Stretches[] = {
    {0, 8, {12}},     {9, 21, {1}},        {22, 35, {5}},   {36, 57, {1}},      {58, 63, {12}},
    {64, 79, {1}},    {80, 95, {5}},       {96, 117, {1}},  {118, 125, {5}},    {126, 137, {1}},
    {138, 203, {12}}, {204, 211, {1, 21}}, {212, 249, {5}}, {250, 316, {1}},    {317, 340, {5}},
    {341, 344, {1}},  {345, 380, {12}},    {381, 388, {1}}, {389, 400, {1, 5}},
};

}  // namespace

TEST(LevelMap, HoldsTilesOfTheStripOnly)
{
    for (const auto& row : Map())
        for (int32_t tile : row) {
            EXPECT_GE(tile, 1);
            EXPECT_LE(tile, 63);
        }
}

TEST(LevelMap, KeepsTheFixedRows)
{
    const auto map = Map();
    const std::map<int32_t, std::vector<int32_t>> fixed = {
        {0, std::vector<int32_t>(13, 12)},
        {1, std::vector<int32_t>(13, 12)},
        {2, std::vector<int32_t>(13, 12)},
        {14, {36, 37, 37, 24, 20, 59, 59, 19, 1, 1, 1, 1, 1}},
        {15, {1, 1, 1, 1, 23, 1, 14, 12, 19, 1, 1, 1, 1}},
        {200, {1, 18, 13, 12, 12, 12, 12, 12, 12, 12, 12, 12, 19}},
        {386, std::vector<int32_t>(13, 1)},
        {387, std::vector<int32_t>(13, 1)},
        {398, {21, 21, 1, 1, 1, 1, 1, 1, 1, 1, 1, 21, 21}},
        {399, {21, 21, 21, 1, 1, 1, 1, 1, 21, 21, 21, 21, 21}},
        {400, std::vector<int32_t>(13, 1)},
    };
    for (const auto& [row, tiles] : fixed)
        EXPECT_EQ(map[row], tiles) << "row " << row;
}

TEST(LevelMap, EachStretchIsMostlyItsOwnGround)
{
    const auto map = Map();
    for (const Stretch& s : Stretches) {
        std::map<int32_t, int32_t> counts;
        for (int32_t row = s.first; row <= s.last; ++row)
            for (int32_t tile : map[row])
                ++counts[tile];
        const auto commonest =
            std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; });
        EXPECT_TRUE(s.ground.count(commonest->first))
            << "rows " << s.first << "-" << s.last << " are mostly tile " << commonest->first;
    }
}

TEST(LevelMap, NoRowIsMostlyTheGroundOfAnotherStretch)
{
    // A border row may be mostly shore, edge, jungle or trees, but a row
    // mostly of another stretch's plain ground moves the border or floods
    // the stretch. A tie for the commonest tile counts against the row too.
    const std::set<int32_t> plainGrounds = {1, 5, 12};
    const auto map = Map();
    for (const Stretch& s : Stretches)
        for (int32_t row = s.first; row <= s.last; ++row) {
            std::map<int32_t, int32_t> counts;
            for (int32_t tile : map[row])
                ++counts[tile];
            int32_t most = 0;
            for (const auto& [tile, count] : counts)
                most = std::max(most, count);
            for (const auto& [tile, count] : counts)
                EXPECT_FALSE(count == most && plainGrounds.count(tile) && !s.ground.count(tile))
                    << "row " << row << " of rows " << s.first << "-" << s.last << " is mostly tile " << tile;
        }
}

TEST(LevelMap, TheBattleshipStopsOverOpenWater)
{
    // At stop row 370 (drawn at y 416) the battleship (247 x 61) settles at
    // x 99, y 150: over map rows 377 to 379 and columns 2 to 9. Only water
    // may lie there or a tile around it.
    const auto map = Map();
    for (int32_t row = 376; row <= 379; ++row)
        for (int32_t column = 1; column <= 10; ++column)
            EXPECT_TRUE(map[row][column] == 12 || map[row][column] == 13) << "row " << row << " column " << column;
}

TEST(BossTable, HoldsTheThreeBosses)
{
    const int32_t expected[27] = {
        190, -128, 0, 1, 50, 25, 45, 45, 55, 190, -128, 0, 1, 80, 40, 45, 45, 55, 448, 150, -1, 0, 120, 60, 123, 30, 70,
    };
    for (int i = 0; i < 27; ++i)
        EXPECT_EQ(Int32At(BossTableStart() + 4 * i), expected[i]) << "word " << i;
}

TEST(Waves, ThreeWavesFillTheStreamWithTheirRecordCounts)
{
    int32_t end1 = 0, end2 = 0, end3 = 0;
    EXPECT_EQ(ReadWave(0, &end1).size(), 77u);
    EXPECT_EQ(ReadWave(Wave2Offset, &end2).size(), 91u);
    EXPECT_EQ(ReadWave(Wave3Offset, &end3).size(), 139u);
    EXPECT_EQ(end1, Wave2Offset);
    EXPECT_EQ(end2, Wave3Offset);
    EXPECT_EQ(end3, WaveStreamBytes);
}

TEST(Waves, WaveOneOpensWithTheKnownRecords)
{
    const std::vector<Enemy> wave = ReadWave(0);
    const int32_t opening[8][9] = {
        {448, 32, -1, 0, 14, 1, 1, 6, 1},  {448, 32, -1, 0, 14, 1, 1, 7, 1},  {64, -32, 0, 1, 20, 1, 1, 13, 1},
        {128, -32, 0, 1, 20, 1, 1, 14, 1}, {192, -32, 0, 1, 20, 1, 1, 13, 1}, {256, -32, 0, 1, 20, 1, 2, 17, 1},
        {320, -32, 0, 1, 20, 1, 1, 18, 1}, {384, -32, 0, 1, 20, 1, 1, 17, 1},
    };
    ASSERT_GE(wave.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const Enemy& e = wave[i];
        const int32_t fields[9] = {e.x, e.y, e.dx, e.dy, e.sprite, e.hitPoints, e.shots, e.startRow, e.active};
        EXPECT_TRUE(std::equal(fields, fields + 9, opening[i])) << "record " << i;
    }
}

TEST(Waves, EachWaveHoldsItsEnemyTypesAndStartRows)
{
    const std::map<int32_t, int32_t> counts[3] = {
        {{14, 10}, {17, 9}, {20, 30}, {23, 16}, {26, 12}},
        {{17, 17}, {20, 33}, {23, 12}, {26, 6}, {29, 4}, {30, 4}, {31, 2}, {32, 3}, {34, 4}, {35, 6}},
        {{14, 6},
         {17, 2},
         {20, 44},
         {23, 14},
         {26, 40},
         {29, 3},
         {30, 7},
         {31, 2},
         {32, 1},
         {33, 3},
         {34, 9},
         {35, 6},
         {36, 2}},
    };
    const int32_t firstRow[3] = {6, 121, 242}, lastRow[3] = {108, 233, 365};
    for (int w = 0; w < 3; ++w) {
        std::map<int32_t, int32_t> found;
        int32_t first = INT32_MAX, last = INT32_MIN;
        for (const Enemy& e : ReadWave(WaveOffsets[w])) {
            ++found[e.sprite];
            first = std::min(first, e.startRow);
            last = std::max(last, e.startRow);
        }
        EXPECT_EQ(found, counts[w]) << "wave " << w + 1;
        EXPECT_EQ(first, firstRow[w]) << "wave " << w + 1;
        EXPECT_EQ(last, lastRow[w]) << "wave " << w + 1;
    }
}

TEST(Waves, FieldsStayWithinTheirRanges)
{
    std::set<int32_t> shots, dxs, dys;
    for (int w = 0; w < 3; ++w)
        for (const Enemy& e : ReadWave(WaveOffsets[w])) {
            SCOPED_TRACE("wave " + std::to_string(w + 1) + " sprite " + std::to_string(e.sprite) + " row " +
                         std::to_string(e.startRow));
            EXPECT_EQ(e.active, 1);
            shots.insert(e.shots);
            dxs.insert(e.dx);
            dys.insert(e.dy);
            if (Flying(e)) {
                EXPECT_TRUE(w == 2 ? (e.hitPoints == 1 || e.hitPoints == 2) : e.hitPoints == 1);
                EXPECT_GE(e.shots, 0);
                EXPECT_LE(e.shots, 3);
            } else {
                EXPECT_EQ(e.hitPoints, 3);
                EXPECT_TRUE(e.shots == 1 || e.shots == 4 || e.shots == 6);
                EXPECT_GE(e.y, -64);
                EXPECT_LE(e.y, 64);
            }
        }
    EXPECT_EQ(shots, (std::set<int32_t>{0, 1, 2, 3, 4, 6}));
    EXPECT_EQ(dxs, (std::set<int32_t>{-2, -1, 0, 1, 2}));
    EXPECT_EQ(dys, (std::set<int32_t>{0, 1, 2}));
}

TEST(Waves, EveryTypeEntersFromItsOwnSideAndHeading)
{
    for (int w = 0; w < 3; ++w)
        for (const Enemy& e : ReadWave(WaveOffsets[w])) {
            SCOPED_TRACE("wave " + std::to_string(w + 1) + " sprite " + std::to_string(e.sprite) + " row " +
                         std::to_string(e.startRow));
            switch (e.sprite) {
            case 14:
                EXPECT_TRUE(e.x == 448 || e.x == 480);
                EXPECT_TRUE(e.y >= -64 && e.y <= 160);
                EXPECT_TRUE((e.dx == -1 || e.dx == -2) && e.dy == 0);
                break;
            case 17:
                EXPECT_TRUE(e.x >= 190 && e.x <= 480 && e.y >= -96 && e.y <= -32);
                EXPECT_TRUE(e.dx == -1 && e.dy == 1);
                break;
            case 20:
                EXPECT_TRUE(e.x >= 50 && e.x <= 384 && e.y >= -96 && e.y <= -32);
                EXPECT_TRUE(e.dx == 0 && (e.dy == 1 || e.dy == 2));
                break;
            case 23:
                EXPECT_TRUE(e.x >= -99 && e.x <= 180 && e.y >= -64 && e.y <= 0);
                EXPECT_TRUE(e.dx == 1 && e.dy == 1);
                break;
            case 26:
                EXPECT_TRUE(e.x >= -96 && e.x <= -32 && e.y >= 0 && e.y <= 252);
                EXPECT_TRUE((e.dx == 1 || e.dx == 2) && e.dy == 0);
                break;
            case 29: EXPECT_TRUE(e.dy == 0 && (e.dx == 0 || e.dx == -1)); break;
            case 30: EXPECT_TRUE(e.dx == 0 && (e.dy == 0 || e.dy == 1)); break;
            case 31: EXPECT_TRUE(e.dy == 0 && (e.dx == 0 || e.dx == 1)); break;
            case 32: EXPECT_TRUE((e.x == 448 || e.x == 480) && e.y == 0 && e.dx == -1 && e.dy == 0); break;
            case 33: EXPECT_TRUE(e.dx == -1 && e.dy == 1); break;
            case 34: EXPECT_TRUE(e.dx == 0 && (e.dy == 0 || e.dy == 1)); break;
            case 35: EXPECT_TRUE((e.dx == 0 && e.dy == 0) || (e.dx == 1 && e.dy == 1)); break;
            case 36: EXPECT_TRUE(e.dx == 0 && e.dy == 0); break;
            default: ADD_FAILURE() << "unknown enemy type";
            }
        }
}

TEST(Waves, EveryEnemyComesWithinReachOfThePlayersGuns)
{
    // Bullets fly up from x 56 to 425 and are spent above y 30; an enemy has
    // to cross that band on its way, or the player could never hit it.
    for (int w = 0; w < 3; ++w)
        for (const Enemy& e : ReadWave(WaveOffsets[w])) {
            const int32_t size = e.sprite <= 31 ? 64 : 32;
            const bool flying = Flying(e);
            double x = e.x, y = e.y;
            bool reachable = false;
            for (int frame = 0; frame < 4000 && y <= 448 && !reachable; ++frame) {
                const bool tick = frame % 2 == 1;
                y += tick ? 1 : 0;
                if (flying) {
                    x += e.dx;
                    y += e.dy;
                } else if (tick) {
                    x += e.dx;
                    y += e.dy;
                }
                reachable = x + size > 56 && x < 431 && y + size > 32 && y < 380;
            }
            EXPECT_TRUE(reachable) << "wave " << w + 1 << " sprite " << e.sprite << " row " << e.startRow;
        }
}

TEST(Waves, TheLevelGrowsHarderSectionBySectionAndTheFirstBuildsUp)
{
    // The weight of a stretch of rows: the hits needed to clear its enemies
    // and the volleys they may fire.
    struct Weight {
        int32_t hitPoints = 0, volleys = 0;
    };
    auto weigh = [](const std::vector<Enemy>& wave, int32_t firstRow, int32_t lastRow) {
        Weight weight;
        for (const Enemy& e : wave)
            if (e.startRow >= firstRow && e.startRow <= lastRow) {
                weight.hitPoints += e.hitPoints;
                weight.volleys += e.shots;
            }
        return weight;
    };
    const int32_t firstRow[3] = {6, 121, 242}, lastRow[3] = {108, 233, 365};
    double hitPointsPerRow = 0, volleysPerRow = 0;
    for (int w = 0; w < 3; ++w) {
        const Weight weight = weigh(ReadWave(WaveOffsets[w]), firstRow[w], lastRow[w]);
        const int32_t rows = lastRow[w] - firstRow[w] + 1;
        EXPECT_GT(double(weight.hitPoints) / rows, hitPointsPerRow) << "wave " << w + 1;
        EXPECT_GT(double(weight.volleys) / rows, volleysPerRow) << "wave " << w + 1;
        hitPointsPerRow = double(weight.hitPoints) / rows;
        volleysPerRow = double(weight.volleys) / rows;
    }

    // The first section teaches the attacks one at a time, so its second
    // half is busier than its first.
    const std::vector<Enemy> first = ReadWave(0);
    const Weight opening = weigh(first, 6, 57), runIn = weigh(first, 58, 108);
    EXPECT_GT(runIn.hitPoints, opening.hitPoints);
    EXPECT_GT(runIn.volleys, opening.volleys);
}
