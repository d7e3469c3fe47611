// Level map and scrolling: the 401-row tile map built from the level data,
// the scroll that moves it down one pixel every second frame, the rows where
// it stops for the bosses and for the level's end, and the drawing of the
// visible rows.
#pragma once

#include <cstdint>

// ---- Geometry ------------------------------------------------------------

constexpr int32_t MapRows = 401;        // rows 0 to 400
constexpr int32_t MapColumns = 13;      // filled columns of each row
constexpr int32_t MapRowStride = 16;    // columns 13 to 15 stay 0
constexpr int32_t TileSize = 32;
constexpr int32_t VisibleMapRows = 15;
constexpr int32_t PlayfieldLeft = 32;   // x of column 0
constexpr int32_t MapBaseY = 416;       // ScrollY at the start of every row

// Rows where the scroll halts for bosses 1 to 3, and where the level ends.
inline constexpr int32_t BossStopRows[] = {116, 240, 370};
constexpr int32_t LevelEndRow = 387;

// ---- State ---------------------------------------------------------------

extern int32_t* LevelMap;    // element (row, column) at row * MapRowStride + column
extern int32_t MapRow;       // map row drawn at the bottom of the playfield
extern int32_t ScrollY;      // screen y of that row's top edge, 416 to 448
extern int32_t ScrollStep;   // pixels scrolled within the current row, 0 to 33
extern int32_t LevelEnd;     // 1 once MapRow reached LevelEndRow

// ---- Operations ----------------------------------------------------------

// Creates LevelMap and fills it from the level map block, which lists the
// level from row 400 down to row 0. Leaves DataCursor just past the block.
void BuildLevelMap();

// One scroll tick: starts a boss fight at its stop row, marks the level's
// end, or moves the map one pixel on (a new row every 32 pixels).
void ScrollTick();

// Draws the 15 visible rows of 13 tiles, bottom row at ScrollY.
void DrawLevelMap();
