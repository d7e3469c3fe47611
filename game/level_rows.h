// The level's fixed rows, which the game's scroll and panel, the asset
// generator's level design and the tests all go by: the map's size, the rows
// where the scroll stops for the bosses and for the level's end, and where
// the panel's progress marker stands on each row.
#pragma once

#include <cmath>
#include <cstdint>

constexpr int32_t MapRows = 401;    // rows 0 to 400
constexpr int32_t MapColumns = 13;  // tiles of each row

// Rows where the scroll halts for bosses 1 to 3, and where the level ends.
inline constexpr int32_t BossStopRows[] = {116, 240, 370};
constexpr int32_t LevelEndRow = 387;

// The progress marker travels from this x at row 0 to ProgressMarkerLeft +
// ProgressMarkerTravel at the end row.
constexpr int32_t ProgressMarkerLeft = 490;
constexpr int32_t ProgressMarkerTravel = 134;

// The progress marker's x at map row `row`, worked out in single precision
// as the marker always has been placed: one pixel on about every third row.
inline int32_t ProgressMarkerX(int32_t row)
{
    const float progress =
        static_cast<float>(row) / static_cast<float>(LevelEndRow) * static_cast<float>(ProgressMarkerTravel);
    return static_cast<int32_t>(std::lrint(progress + static_cast<float>(ProgressMarkerLeft)));
}
