// The level: the tile map, the enemy waves and the boss table, as the game
// reads them through its data cursor (signed 32-bit little-endian integers).
#pragma once

#include "game/level_rows.h"
#include "terrain.h"

#include <array>
#include <cstdint>
#include <vector>

// tiles[row][column]; row 0 lies under the player at the start.
struct LevelMap {
    std::array<std::array<int32_t, MapColumns>, MapRows> tiles;
    // The ground under each corner, kept so that the wave design can put
    // ships on water and vehicles on land: corners[row][x] is the bottom-left
    // corner of tile (row, x).
    std::array<std::array<Ground, MapColumns + 1>, MapRows + 1> corners;
};

LevelMap designLevelMap();

// 401 x 13 integers, row 400 first, each row from the left.
std::vector<uint8_t> encodeLevelMap(const LevelMap& map);

struct EnemyRecord {
    int32_t x, y, dx, dy, sprite, hitPoints, shots, startRow, active;
};
using Wave = std::vector<EnemyRecord>;

std::array<Wave, 3> designWaves(const LevelMap& map);

// Each enemy as marker 0 and its nine fields; each wave closed by marker 9
// and nine zeros.
std::vector<uint8_t> encodeWaveStream(const std::array<Wave, 3>& waves);

// The three bosses: X, Y, DX, DY, HitPoints, DamagedAt, CentreX, CentreY, Sprite.
std::vector<uint8_t> encodeBossTable();

void appendInteger(std::vector<uint8_t>& out, int32_t value);
