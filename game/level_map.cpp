#include "game/level_map.h"

#include "game/assets.h"
#include "runtime/screen/sprites.h"

#include <algorithm>
#include <iterator>

LevelMapState Level;

namespace {

int32_t& MapCell(int32_t row, int32_t column)
{
    return (*Level.LevelMap)[row * MapRowStride + column];
}

// Only the rows between the frame strips: whatever lies under them is drawn
// over every frame, and a tile drawn there would be copied again each time.
void DrawMapRow(int32_t row, int32_t y)
{
    const int32_t top = std::max(y, PlayfieldNear);
    const int32_t bottom = std::min(y + TileSize, PlayfieldFar);
    if (top >= bottom)
        return;
    for (int32_t column = 0; column < MapColumns; ++column) {
        const int32_t tile = MapCell(row, column);
        // Tile numbers count from 1: tile 1 is the strip's leftmost square.
        QV_ClipSprite(TileStripSprite, (tile - 1) * TileSize, top - y, TileSize, bottom - top);
        QV_DisplaySprite(TileStripSprite, PlayfieldLeft + column * TileSize, top);
    }
}

}  // namespace

void BuildLevelMap()
{
    Level.LevelMap.emplace();
    StartReading(LevelMapStart());
    // The block lists the level from its far end to its start.
    for (int32_t row = MapRows - 1; row >= 0; --row) {
        for (int32_t column = 0; column < MapColumns; ++column)
            MapCell(row, column) = ReadDataInteger();
    }
}

bool StartScrollFrame()
{
    Level.FrameParity += 1;
    return IsScrollTick();
}

bool IsScrollTick()
{
    return Level.FrameParity >= 2;
}

void EndScrollFrame()
{
    if (IsScrollTick())
        Level.FrameParity = 0;
}

int32_t BossAtStopRow()
{
    if (Level.ScrollY != MapBaseY)
        return 0;
    for (size_t stop = 0; stop < std::size(BossStopRows); ++stop) {
        if (Level.MapRow == BossStopRows[stop])
            return static_cast<int32_t>(stop) + 1;
    }
    return 0;
}

bool ScrollTick(bool heldByBoss)
{
    if (Level.MapRow == LevelEndRow)
        return true;
    if (heldByBoss)
        return false;
    Level.ScrollStep += 1;
    Level.ScrollY += 1;
    if (Level.ScrollStep > TileSize) {
        Level.ScrollStep = 1;
        Level.MapRow += 1;
        Level.ScrollY = MapBaseY;
    }
    return false;
}

void LeaveStopRow()
{
    Level.ScrollY += 1;
}

void RestartScrollAt(int32_t row)
{
    Level.MapRow = row;
}

void DrawLevelMap()
{
    int32_t y = Level.ScrollY;
    for (int32_t row = Level.MapRow; row < Level.MapRow + VisibleMapRows; ++row, y -= TileSize) {
        // Past the last row (only at the end row) lies nothing visible.
        if (row < MapRows)
            DrawMapRow(row, y);
    }
}
