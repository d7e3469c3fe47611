// Level map and scrolling: the 401-row tile map built from the level data,
// the scroll that moves it down one pixel on every scroll tick (every second
// frame), the rows where it stops for the bosses and for the level's end,
// and the drawing of the visible rows.
#pragma once

#include "game/level_rows.h"
#include "game/record_array.h"

#include <cstdint>
#include <optional>

// ---- Geometry ------------------------------------------------------------

constexpr int32_t MapRowStride = 16;  // columns past MapColumns stay 0
constexpr int32_t TileSize = 32;
constexpr int32_t VisibleMapRows = 15;
constexpr int32_t PlayfieldLeft = 32;  // x of column 0
constexpr int32_t PlayfieldNear = 32;  // the frame strips cover the screen above and left of this...
constexpr int32_t PlayfieldFar = 448;  // ...and from this on, drawn after the map every frame
constexpr int32_t MapBaseY = 416;      // ScrollY at the start of every row

// ---- State ---------------------------------------------------------------

struct LevelMapState {
    // Element (row, column) at row * MapRowStride + column. None until
    // BuildLevelMap declares it, after the pictures are loaded: the reset
    // of this struct at start-up comes earlier and declares none.
    std::optional<RecordArray<int32_t, MapRows, MapRowStride>> LevelMap;
    int32_t MapRow = 0;          // map row drawn at the bottom of the playfield
    int32_t ScrollY = MapBaseY;  // screen y of that row's top edge, 416 to 448
    int32_t ScrollStep = 0;      // pixels scrolled within the current row, 0 to 33
    int32_t FrameParity = 0;     // reaches 2 on every second frame: a scroll tick
};

// Written by this module alone; the rest of the game reads it.
extern LevelMapState Level;

// ---- Operations ----------------------------------------------------------

// Declares the map afresh and fills it from the level map block, which
// lists the level from row 400 down to row 0. Leaves DataCursor just past
// the block.
void BuildLevelMap();

// Counts a frame at its scroll step; true when the frame is a scroll tick.
bool StartScrollFrame();
// True in a scroll tick, from its scroll step to the end of the frame.
bool IsScrollTick();
// Ends the frame: after a scroll tick the count starts again.
void EndScrollFrame();

// The boss (1 to 3) whose stop row the scroll stands on, or 0. Once a fight
// is over ScrollY has been moved off MapBaseY, so the same row no longer
// matches.
int32_t BossAtStopRow();

// One scroll tick: moves the map one pixel on (a new row every 32 pixels)
// unless a boss holds it. True, without moving, on the level's end row.
bool ScrollTick(bool heldByBoss);

// Moves ScrollY off MapBaseY, so the stop test fails from the next tick on
// and the map scrolls on.
void LeaveStopRow();

// Puts the map at `row` for a new game, a new attract page or play.
void RestartScrollAt(int32_t row);

// Draws the 15 visible rows of 13 tiles, bottom row at ScrollY.
void DrawLevelMap();
