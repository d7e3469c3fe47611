// The level map.
//
// The flight runs north over one island chain, from the sea where the player
// takes off to the far sands, in these stretches (map rows):
//
//   0-8     open sea: the take-off, quiet water under the get-ready banner.
//   9-21    the first coast: meadows with a pond and a hedge.
//   22-35   a strip of dunes with palms and old stones.
//   36-57   farmland: hedgerows of trees across the map, fields and huts;
//           busy to look at, so the first waves feel like a raid.
//   58-63   a river to cross.
//   64-79   meadows with ponds and the first thickets.
//   80-95   dunes around an oasis.
//   96-137  open grassland and a sand bar; the first boss (stop row 116) is
//           fought over open ground, nothing to distract from it.
//   138-203 the great river: wide water between wandering banks, islands
//           with jungle; ships cruise here.
//   204-211 the jungle bank.
//   212-249 the desert, scarred with craters and ruins; the second boss
//           (stop row 240) is fought over bare sand.
//   250-316 the long green: lakes, jungle, farms and craters; the longest
//           and hardest stretch.
//   317-344 the last dunes and a strip of beach.
//   345-380 the open sea: the third boss, a battleship, waits at row 370.
//   381-400 the far shore, where the level ends (row 387).
//
// The map is laid out as ground at the corners of the tiles; each tile is
// then the one whose corners match, so shores and edges always join.
#include "level.h"

#include "random.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

using Corners = std::array<std::array<Ground, MapColumns + 1>, MapRows + 1>;

constexpr int CornerRows = MapRows + 1;
constexpr int CornerColumns = MapColumns + 1;

struct Band {
    int firstRow;
    Ground ground;
    // Whether the edge towards the previous band wanders. It wanders only
    // between the band's first row and the row below it, so that both rows
    // show their own ground or an edge between the two, never the other
    // band's ground.
    bool wanders;
};

const Band Bands[] = {
    {0, Ground::Water, false},   {9, Ground::Grass, true},   {22, Ground::Sand, true},   {36, Ground::Grass, true},
    {58, Ground::Water, true},   {64, Ground::Grass, true},  {80, Ground::Sand, true},   {96, Ground::Grass, true},
    {118, Ground::Sand, true},   {126, Ground::Grass, true}, {138, Ground::Water, true}, {204, Ground::Grass, true},
    {212, Ground::Sand, true},   {250, Ground::Grass, true}, {317, Ground::Sand, true},  {341, Ground::Grass, false},
    {345, Ground::Water, false}, {381, Ground::Grass, true}, {389, Ground::Sand, true},  {396, Ground::Grass, false},
};

// A smooth walk in [low, high], one value per corner column.
std::array<int, CornerColumns> edgeWalk(Random& random, int low, int high)
{
    std::array<int, CornerColumns> walk{};
    int value = random.between(low, high);
    for (int& v : walk) {
        v = value;
        if (random.chance(0.45))
            value = std::clamp(value + (random.chance(0.5) ? 1 : -1), low, high);
    }
    return walk;
}

void layBands(Corners& corners, Random& random)
{
    for (auto& row : corners)
        row.fill(Bands[0].ground);
    // Each band covers everything above its edge; later bands cover it in turn.
    for (size_t b = 1; b < std::size(Bands); ++b) {
        // The band's ground starts at corner row firstRow + 1, making its
        // first row the edge, or where the edge wanders, at firstRow,
        // making the row below it the edge.
        const auto walk = edgeWalk(random, Bands[b].wanders ? -1 : 0, 0);
        for (int x = 0; x < CornerColumns; ++x)
            for (int row = Bands[b].firstRow + 1 + walk[x]; row < CornerRows; ++row)
                corners[row][x] = Bands[b].ground;
    }
}

// Ground on every corner inside an ellipse around (row, x).
void blob(Corners& corners, double row, double x, double rowRadius, double xRadius, Ground ground)
{
    for (int r = int(std::floor(row - rowRadius)); r <= int(std::ceil(row + rowRadius)); ++r)
        for (int c = int(std::floor(x - xRadius)); c <= int(std::ceil(x + xRadius)); ++c) {
            if (r < 0 || r >= CornerRows || c < 0 || c >= CornerColumns)
                continue;
            const double dr = (r - row) / rowRadius, dc = (c - x) / xRadius;
            if (dr * dr + dc * dc <= 1.0)
                corners[r][c] = ground;
        }
}

// The great river and the sea have banks that wander in from the sides.
void layBanks(Corners& corners, Random& random, int firstRow, int lastRow, int maxLeft, int minRight)
{
    int left = 1, right = MapColumns - 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (random.chance(0.3))
            left = std::clamp(left + (random.chance(0.5) ? 1 : -1), 0, maxLeft);
        if (random.chance(0.3))
            right = std::clamp(right + (random.chance(0.5) ? 1 : -1), minRight, CornerColumns);
        for (int x = 0; x < CornerColumns; ++x)
            if (x < left || x > right)
                corners[row][x] = Ground::Grass;
    }
}

void layFeatures(Corners& corners, Random& random)
{
    // The river crossing at 58-63 has a sandless islet of grass.
    blob(corners, 61, 9, 1.2, 1.5, Ground::Grass);

    // Ponds and thickets in the meadows 64-79.
    blob(corners, 68, 3, 1.6, 1.6, Ground::Water);
    blob(corners, 74, 10, 1.3, 2.2, Ground::Water);
    blob(corners, 71, 12.5, 2.0, 1.8, Ground::Jungle);
    blob(corners, 77, 1, 1.5, 1.5, Ground::Jungle);

    // The oasis in the dunes 80-95: grass around a pool, taller than wide
    // so that the dunes still fill most of each row across it.
    blob(corners, 88, 6, 3.4, 2.5, Ground::Grass);
    blob(corners, 88, 6, 1.2, 1.2, Ground::Water);

    // A pond beside the approach to the first boss, kept out of the arena.
    blob(corners, 101, 10, 1.5, 2.0, Ground::Water);

    // The great river: banks, islands with jungle.
    layBanks(corners, random, 139, 203, 3, 10);
    // Two stretches where the river runs out under the frame on one side,
    // so that gunboats can cruise across and off the map.
    for (int row = 143; row <= 150; ++row)
        for (int x = 10; x < CornerColumns; ++x)
            corners[row][x] = Ground::Water;
    for (int row = 181; row <= 193; ++row)
        for (int x = 0; x < 4; ++x)
            corners[row][x] = Ground::Water;
    blob(corners, 150, 7, 3.0, 2.2, Ground::Grass);
    blob(corners, 150, 7, 1.4, 1.0, Ground::Jungle);
    blob(corners, 166, 3, 2.2, 1.6, Ground::Grass);
    blob(corners, 176, 10, 3.2, 2.0, Ground::Grass);
    blob(corners, 176, 10, 1.6, 0.8, Ground::Jungle);
    blob(corners, 188, 5, 1.6, 1.6, Ground::Grass);
    // Row 200 crosses the river between a bank two columns wide on the left
    // and the map's right edge.
    for (int row = 198; row <= 202; ++row)
        for (int x = 0; x < CornerColumns; ++x)
            corners[row][x] = x < 2 || x > 12 ? Ground::Grass : Ground::Water;

    // The jungle bank 204-211.
    for (int x = 0; x < CornerColumns; ++x)
        if (x < 5 || x > 9)
            blob(corners, 207.5, x, 2.0, 0.8, Ground::Jungle);

    // The desert 212-249 holds an oasis before the arena of the second boss.
    blob(corners, 222, 10, 2.6, 2.4, Ground::Grass);
    blob(corners, 222, 10, 1.0, 1.0, Ground::Water);

    // The long green 250-316: lakes where ships patrol, jungle, sand patches.
    // The lakes run along the flight, long enough for a ship and narrow
    // enough that grass fills most of each row across them.
    blob(corners, 262, 3, 2.0, 2.5, Ground::Jungle);
    blob(corners, 270, 8.5, 4.0, 2.0, Ground::Water);
    blob(corners, 282, 2, 2.2, 1.8, Ground::Sand);
    blob(corners, 287, 10, 2.5, 2.5, Ground::Jungle);
    blob(corners, 297, 5.5, 4.5, 2.0, Ground::Water);
    blob(corners, 307, 11, 2.0, 2.0, Ground::Jungle);
    blob(corners, 311, 2, 1.8, 2.0, Ground::Sand);

    // Small islands in the open sea, away from the battleship's water.
    blob(corners, 352, 2, 1.4, 1.6, Ground::Grass);
    blob(corners, 360, 11, 1.6, 1.4, Ground::Grass);

    // Jungle in the corners of the far shore, under the fixed rows 398-399.
    for (int x : {0, 1, 2, 11, 12, 13})
        corners[398][x] = Ground::Jungle;
}

// Tiles may mix grass with one other ground, corner-to-corner: a tile whose
// corners hold two grounds besides grass, or two grounds set diagonally,
// has no picture. Such corners turn to grass until every tile has one.
void makeDrawable(Corners& corners)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int row = 0; row < MapRows; ++row)
            for (int x = 0; x < MapColumns; ++x) {
                Ground* tl = &corners[row + 1][x];
                Ground* tr = &corners[row + 1][x + 1];
                Ground* bl = &corners[row][x];
                Ground* br = &corners[row][x + 1];
                if (tileNumber(*tl, *tr, *bl, *br))
                    continue;
                // Keep the first other ground met and turn a corner of any
                // further ground to grass; with one other ground set
                // diagonally, turn its first corner to grass.
                Ground* all[] = {bl, br, tl, tr};
                Ground* target = nullptr;
                Ground keep = Ground::Grass;
                for (Ground* g : all)
                    if (*g != Ground::Grass) {
                        if (keep == Ground::Grass)
                            keep = *g;
                        else if (*g != keep) {
                            target = g;
                            break;
                        }
                    }
                if (!target)
                    for (Ground* g : all)
                        if (*g != Ground::Grass) {
                            target = g;
                            break;
                        }
                *target = Ground::Grass;
                changed = true;
            }
    }
}

bool inBossArena(int row)
{
    for (int stop : BossStopRows)
        if (row >= stop - 4 && row <= stop + 15)
            return true;
    return false;
}

struct Section {
    int firstRow, lastRow;
    double grassDetail, sandDetail, trees, craters, huts, fields;
};

// How busy each stretch looks, as chances per plain tile.
const Section Sections[] = {
    {0, 21, 0.10, 0.10, 0.03, 0.00, 0.00, 0.00},    {22, 35, 0.10, 0.30, 0.00, 0.00, 0.00, 0.00},
    {36, 57, 0.08, 0.10, 0.04, 0.00, 0.05, 0.00},   {58, 95, 0.12, 0.28, 0.07, 0.00, 0.02, 0.04},
    {96, 137, 0.08, 0.15, 0.02, 0.00, 0.01, 0.00},  {138, 211, 0.10, 0.10, 0.10, 0.00, 0.02, 0.00},
    {212, 249, 0.05, 0.25, 0.00, 0.06, 0.00, 0.00}, {250, 316, 0.12, 0.20, 0.07, 0.04, 0.02, 0.04},
    {317, 400, 0.10, 0.25, 0.04, 0.02, 0.01, 0.00},
};

const Section& sectionOf(int row)
{
    for (const Section& s : Sections)
        if (row >= s.firstRow && row <= s.lastRow)
            return s;
    throw std::logic_error("row outside every section");
}

int32_t plainTile(const LevelMap& map, int row, int x, Random& random)
{
    const Ground tl = map.corners[row + 1][x], tr = map.corners[row + 1][x + 1];
    const Ground bl = map.corners[row][x], br = map.corners[row][x + 1];
    if (!(tl == tr && tl == bl && tl == br)) {
        // Shores now and then grow reeds.
        if (auto reeds = tileNumber(tl, tr, bl, br, Feature::Reeds); reeds && random.chance(0.35))
            return *reeds;
        return *tileNumber(tl, tr, bl, br);
    }
    const Section& s = sectionOf(row);
    const bool arena = inBossArena(row);
    auto pick = [&](Feature f) { return *tileNumber(tl, tl, tl, tl, f); };
    switch (tl) {
    case Ground::Grass:
        if (!arena && random.chance(s.trees))
            return pick(random.chance(0.5) ? Feature::Tree : Feature::TreePair);
        if (!arena && random.chance(s.craters))
            return pick(Feature::Crater);
        if (!arena && random.chance(s.huts))
            return pick(Feature::Hut);
        if (!arena && random.chance(s.fields))
            return pick(random.chance(0.5) ? Feature::Field : Feature::Orchard);
        if (random.chance(s.grassDetail)) {
            const Feature details[] = {Feature::Flowers, Feature::Tufts, Feature::Rocks};
            return pick(details[random.between(0, 2)]);
        }
        return pick(Feature::None);
    case Ground::Sand:
        if (!arena && random.chance(s.craters * 1.5))
            return pick(Feature::Crater);
        if (!arena && random.chance(s.trees * 0.6 + 0.02))
            return pick(random.chance(0.7) ? Feature::Palm : Feature::Ruins);
        if (random.chance(s.sandDetail)) {
            const Feature details[] = {Feature::Dunes, Feature::Dunes, Feature::Stones, Feature::DryShrub};
            return pick(details[random.between(0, 3)]);
        }
        return pick(Feature::None);
    case Ground::Water:
        if (!arena && random.chance(0.005))
            return pick(Feature::Islet);
        return pick(random.chance(0.12) ? Feature::Waves : Feature::None);
    case Ground::Jungle: return pick(Feature::None);
    }
    return 1;
}

bool plainGrass(const LevelMap& map, int row, int x)
{
    return map.tiles[row][x] == *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass);
}

// Hedgerows across the farmland: a run of trees on plain grass, closed by an
// end piece on each side.
void plantHedgerows(LevelMap& map, Random& random)
{
    const int32_t left = *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass, Feature::TreeRowLeft);
    const int32_t middle =
        *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass, Feature::TreeRowMiddle);
    const int32_t right =
        *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass, Feature::TreeRowRight);
    const int32_t fields[] = {
        *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass, Feature::Field),
        *tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass, Feature::Orchard)};
    const int hedgeRows[] = {39, 44, 48, 53, 57, 66, 258, 276, 292, 303};
    for (int row : hedgeRows) {
        int x = random.between(0, 3);
        while (x < MapColumns) {
            const int length = random.between(3, 6);
            int end = x;
            while (end < MapColumns && end - x < length && plainGrass(map, row, end))
                ++end;
            if (end - x >= 2) {
                map.tiles[row][x] = left;
                for (int c = x + 1; c < end - 1; ++c)
                    map.tiles[row][c] = middle;
                map.tiles[row][end - 1] = right;
                // Fields lie in the lee of the hedge.
                if (row > 40 && row < 58)
                    for (int c = x; c < end; ++c)
                        if (plainGrass(map, row - 1, c) && random.chance(0.55))
                            map.tiles[row - 1][c] = fields[(c / 2) % 2];
            }
            x = end + random.between(1, 3);
        }
    }
}

struct FixedRow {
    int row;
    std::array<int32_t, MapColumns> tiles;
};

// Rows the game's level has always had.
const FixedRow FixedRows[] = {
    {0, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
    {1, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
    {2, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
    {14, {36, 37, 37, 24, 20, 59, 59, 19, 1, 1, 1, 1, 1}},
    {15, {1, 1, 1, 1, 23, 1, 14, 12, 19, 1, 1, 1, 1}},
    {200, {1, 18, 13, 12, 12, 12, 12, 12, 12, 12, 12, 12, 19}},
    {386, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {387, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {398, {21, 21, 1, 1, 1, 1, 1, 1, 1, 1, 1, 21, 21}},
    {399, {21, 21, 21, 1, 1, 1, 1, 1, 21, 21, 21, 21, 21}},
    {400, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
};

}  // namespace

LevelMap designLevelMap()
{
    Random random(0x7E27A1E5ull);
    LevelMap map{};
    layBands(map.corners, random);
    layFeatures(map.corners, random);
    makeDrawable(map.corners);
    for (int row = 0; row < MapRows; ++row)
        for (int x = 0; x < MapColumns; ++x)
            map.tiles[row][x] = plainTile(map, row, x, random);
    plantHedgerows(map, random);
    for (const FixedRow& fixed : FixedRows)
        map.tiles[fixed.row] = fixed.tiles;
    return map;
}

void appendInteger(std::vector<uint8_t>& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

std::vector<uint8_t> encodeLevelMap(const LevelMap& map)
{
    std::vector<uint8_t> out;
    for (int row = MapRows - 1; row >= 0; --row)
        for (int32_t tile : map.tiles[row])
            appendInteger(out, tile);
    return out;
}
