#include "game/level_map.h"

#include "game/assets.h"
#include "game/bosses.h"
#include "runtime/core/lists.h"
#include "runtime/screen/sprites.h"

int32_t* LevelMap = nullptr;
int32_t MapRow = 0;
int32_t ScrollY = 0;
int32_t ScrollStep = 0;
int32_t LevelEnd = 0;

namespace {

constexpr int32_t TileStripSprite = 0;

int32_t& MapCell(int32_t row, int32_t column)
{
    return LevelMap[row * MapRowStride + column];
}

// The boss whose stop row the scroll stands on, or 0. Once a fight is over
// ScrollY has been moved off MapBaseY, so the same row no longer matches.
int32_t BossAtStopRow()
{
    if (ScrollY != MapBaseY)
        return 0;
    for (int32_t boss = 1; boss <= BossCount; ++boss) {
        if (MapRow == BossStopRows[boss - 1])
            return boss;
    }
    return 0;
}

void DrawMapRow(int32_t row, int32_t y)
{
    for (int32_t column = 0; column < MapColumns; ++column) {
        const int32_t tile = MapCell(row, column);
        // Tile numbers count from 1: tile 1 is the strip's leftmost square.
        QV_ClipSprite(TileStripSprite, (tile - 1) * TileSize, 0, TileSize, TileSize);
        QV_DisplaySprite(TileStripSprite, PlayfieldLeft + column * TileSize, y);
    }
}

} // namespace

void BuildLevelMap()
{
    int32_t counts[] = {MapRows, MapRowStride};
    if (QV_DeclareArrayDims(LevelMap, 2, counts, QV_ArrayOfIntegers) == nullptr)
        return;
    DataCursor = LevelMapStart();
    // The block lists the level from its far end to its start.
    for (int32_t row = MapRows - 1; row >= 0; --row) {
        for (int32_t column = 0; column < MapColumns; ++column)
            MapCell(row, column) = ReadDataInteger();
    }
}

void ScrollTick()
{
    if (const int32_t boss = BossAtStopRow(); boss != 0) {
        ActiveBoss = boss;
        ShownBoss = boss;
        BossMusicCounter += 1;
    }
    if (MapRow == LevelEndRow) {
        LevelEnd = 1;
        return;
    }
    if (ActiveBoss != 0)
        return;
    ScrollStep += 1;
    ScrollY += 1;
    if (ScrollStep > TileSize) {
        ScrollStep = 1;
        MapRow += 1;
        ScrollY = MapBaseY;
    }
}

void DrawLevelMap()
{
    if (LevelMap == nullptr)
        return;
    int32_t y = ScrollY;
    for (int32_t row = MapRow; row < MapRow + VisibleMapRows; ++row, y -= TileSize) {
        // Past the last row (only at the end row) lies nothing visible.
        if (row < MapRows)
            DrawMapRow(row, y);
    }
}
