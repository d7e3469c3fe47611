// The tile strip: every kind has a picture of its own, and tiles whose
// corners agree along an edge join there without a seam.
#include "terrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const Picture& Strip()
{
    static const Picture strip = drawTileStrip();
    return strip;
}

int Difference(const Rgb& a, const Rgb& b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Mean colour difference between column (or row) i of tile a and column (or
// row) j of tile b, walking along the edge.
double EdgeDifference(int a, int i, int b, int j, bool columns)
{
    double sum = 0;
    for (int k = 0; k < TileSize; ++k) {
        const Rgb pa = columns ? Strip().at((a - 1) * TileSize + i, k) : Strip().at((a - 1) * TileSize + k, i);
        const Rgb pb = columns ? Strip().at((b - 1) * TileSize + j, k) : Strip().at((b - 1) * TileSize + k, j);
        sum += Difference(pa, pb);
    }
    return sum / TileSize;
}

bool IsHedgerow(Feature f)
{
    return f == Feature::TreeRowLeft || f == Feature::TreeRowMiddle || f == Feature::TreeRowRight;
}

// Hedgerow pieces carry trees across their sides: only a piece that goes on
// may follow one that does not end, and only after such a piece may one
// that does not start come.
bool HedgerowsFit(Feature left, Feature right)
{
    const bool leftGoesOn = left == Feature::TreeRowLeft || left == Feature::TreeRowMiddle;
    const bool rightCarriesOn = right == Feature::TreeRowMiddle || right == Feature::TreeRowRight;
    return leftGoesOn == rightCarriesOn;
}

// A step across the seam that stands out from the steps on either side of it.
bool Seam(double across, double insideA, double insideB)
{
    return across > 1.3 * std::max(insideA, insideB) + 4.0;
}

}  // namespace

TEST(Tiles, TheStripHoldsSixtyThreeTiles)
{
    EXPECT_EQ(Strip().width(), TileCount * TileSize);
    EXPECT_EQ(Strip().height(), TileSize);
}

TEST(Tiles, EveryKindHasItsOwnNumber)
{
    for (int i = 0; i < TileCount; ++i) {
        const TileKind& k = TileKinds[i];
        EXPECT_EQ(tileNumber(k.topLeft, k.topRight, k.bottomLeft, k.bottomRight, k.feature), i + 1);
    }
}

TEST(Tiles, TheGroundsTheGameNamesHaveTheirNumbers)
{
    EXPECT_EQ(tileNumber(Ground::Grass, Ground::Grass, Ground::Grass, Ground::Grass), 1);
    EXPECT_EQ(tileNumber(Ground::Sand, Ground::Sand, Ground::Sand, Ground::Sand), 5);
    EXPECT_EQ(tileNumber(Ground::Water, Ground::Water, Ground::Water, Ground::Water), 12);
}

TEST(Tiles, EveryMixOfGrassWithOneOtherGroundHasATile)
{
    // Corner to corner, except the two diagonal patterns, which the map
    // never lays out.
    for (Ground other : {Ground::Sand, Ground::Water, Ground::Jungle})
        for (int mask = 0; mask < 16; ++mask) {
            if (mask == 0b1001 || mask == 0b0110)
                continue;
            auto at = [&](int bit) { return mask & (1 << bit) ? other : Ground::Grass; };
            EXPECT_TRUE(tileNumber(at(0), at(1), at(2), at(3))) << "mask " << mask;
        }
}

TEST(Tiles, TilesThatAgreeAlongASideJoinWithoutASeam)
{
    for (int a = 1; a <= TileCount; ++a)
        for (int b = 1; b <= TileCount; ++b) {
            const TileKind& left = TileKinds[a - 1];
            const TileKind& right = TileKinds[b - 1];
            if (left.topRight != right.topLeft || left.bottomRight != right.bottomLeft)
                continue;
            if ((IsHedgerow(left.feature) || IsHedgerow(right.feature)) && !HedgerowsFit(left.feature, right.feature))
                continue;
            EXPECT_FALSE(Seam(EdgeDifference(a, 31, b, 0, true), EdgeDifference(a, 30, a, 31, true),
                              EdgeDifference(b, 0, b, 1, true)))
                << "tile " << a << " then " << b << " side by side";
        }
}

TEST(Tiles, TilesThatAgreeAlongTheTopOrBottomJoinWithoutASeam)
{
    for (int a = 1; a <= TileCount; ++a)
        for (int b = 1; b <= TileCount; ++b) {
            const TileKind& upper = TileKinds[a - 1];
            const TileKind& lower = TileKinds[b - 1];
            if (upper.bottomLeft != lower.topLeft || upper.bottomRight != lower.topRight)
                continue;
            EXPECT_FALSE(Seam(EdgeDifference(a, 31, b, 0, false), EdgeDifference(a, 30, a, 31, false),
                              EdgeDifference(b, 0, b, 1, false)))
                << "tile " << a << " above " << b;
        }
}

TEST(Tiles, AHedgerowThatStopsHalfWayShowsIt)
{
    // The check above must be able to see a seam: a row that goes on into
    // plain grass is cut off at the edge.
    EXPECT_TRUE(Seam(EdgeDifference(37, 31, 1, 0, true), EdgeDifference(37, 30, 37, 31, true),
                     EdgeDifference(1, 0, 1, 1, true)));
}
