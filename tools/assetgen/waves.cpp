// The enemy waves and the boss table.
//
// Each section of the level is one wave, read whole when the section
// begins. An enemy waits until the map passes its start row, so the rows
// below say when it appears; one row takes 64 frames, a little under a
// second.
//
// Wave 1 (rows 6-108), the coast and the farmland: after the opening
// line, pairs teach the attack directions one by one (from the top left,
// from the top right, from the right, from the left, straight down); then
// small formations mix them, ever closer together, and the approach to the
// first boss closes with fast lines across the whole width. Every plane
// falls to one bullet.
//
// Wave 2 (rows 121-233), the great river and the desert: the first ground
// forces. Gunboats cruise the river and tanks hold its islands and the
// desert; they take three hits and fire more often than they die. Diving
// pairs from the top right keep the player moving sideways.
//
// Wave 3 (rows 242-365), the long green, the dunes and the sea: the
// heaviest raid. Streams of interceptors sweep in from the left, columns
// come straight down, some planes take two hits, and a flotilla guards
// the battleship's water.
//
// Fairness: every plane enters hidden under the frame or above the
// playfield (and its shadow with it) and leaves by the bottom or its side
// exit; ground units keep to ground that suits them (ships on water,
// vehicles on land) for as long as they are on screen, and all of them
// scroll away with the map. Ground units appear only well before a boss
// stop, so none drifts across a halted map.
#include "level.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

bool isShip(int sprite)
{
    return sprite >= 29 && sprite <= 31;
}

// Planes and ships are 64 pixels square, the vehicles 32.
int sizeOf(int sprite)
{
    return sprite <= 31 ? 64 : 32;
}

// Where a ground unit is at each scroll tick after it starts moving: the
// map row and column under a point of it, in map pixels. A unit starts in
// the frame in which the map row becomes StartRow + 1, with the bottom row
// at y 416; from then on each tick moves the ground and the unit alike.
struct GroundPath {
    const LevelMap& map;

    // The ground of the tile under screen point (x, y) when the map's bottom
    // row is `mapRow` drawn at `scrollY`.
    std::optional<Ground> groundAt(double x, double y, int mapRow, int scrollY) const
    {
        const double world = mapRow * 32.0 + scrollY + 31.0 - y;
        const int row = int(std::floor(world / 32.0));
        const int column = int(std::floor((x - 32.0) / 32.0));
        if (row < 0 || row >= MapRows || column < 0 || column >= MapColumns)
            return std::nullopt;
        const Ground corners[] = {map.corners[row][column], map.corners[row][column + 1], map.corners[row + 1][column],
                                  map.corners[row + 1][column + 1]};
        for (Ground g : corners)
            if (g != corners[0])
                return Ground::Grass;  // a shore or an edge: counts as land
        return corners[0];
    }

    // True when, for as long as any of it is on screen, the points along the
    // unit's length lie on water (ships) or on land (vehicles).
    bool suits(const EnemyRecord& e) const
    {
        const int size = sizeOf(e.sprite);
        double x = e.x, y = e.y;
        int mapRow = e.startRow + 1, scrollY = 416, step = 1;
        for (int tick = 0; tick < 2000; ++tick) {
            y += 1 + e.dy;
            x += e.dx;
            if (++step > 32) {
                step = 1;
                ++mapRow;
                scrollY = 416;
            } else {
                ++scrollY;
            }
            if (y > 448)
                return true;
            if (x + size <= 32 || x >= 448 || y + size <= 32)
                continue;  // hidden under the frame
            const double cx = x + size / 2.0, cy = y + size / 2.0;
            const double reach = size * 0.3;
            for (double t : {-1.0, 0.0, 1.0}) {
                // Along the unit's length: across for side-movers, down otherwise.
                const bool across = e.dx != 0 && e.dy == 0;
                const auto g = groundAt(cx + (across ? t * reach : 0), cy + (across ? 0 : t * reach), mapRow, scrollY);
                if (!g)
                    continue;
                if (isShip(e.sprite) != (*g == Ground::Water))
                    return false;
            }
        }
        return false;
    }
};

class WaveBuilder {
public:
    WaveBuilder(Wave& wave, const LevelMap& map) : wave_(wave), path_{map} {}

    void add(int sprite, int x, int y, int dx, int dy, int hitPoints, int shots, int startRow)
    {
        wave_.push_back({x, y, dx, dy, sprite, hitPoints, shots, startRow, 1});
    }

    // Type 14: from the right, flying left.
    void fromRight(int row, int y, int dx = -1, int hp = 1, int shots = 1, int x = 448)
    {
        add(14, x, y, dx, 0, hp, shots, row);
    }
    // Type 17: from the top right, diving down to the left.
    void diveLeft(int row, int x, int y = -64, int hp = 1, int shots = 1) { add(17, x, y, -1, 1, hp, shots, row); }
    // Type 20: straight down from the top.
    void down(int row, int x, int y = -64, int dy = 1, int hp = 1, int shots = 1)
    {
        add(20, x, y, 0, dy, hp, shots, row);
    }
    // Type 23: from the top left, diving down to the right.
    void diveRight(int row, int x, int y = -64, int hp = 1, int shots = 1) { add(23, x, y, 1, 1, hp, shots, row); }
    // Type 26: from the left, flying right.
    void fromLeft(int row, int y, int dx = 1, int hp = 1, int shots = 1, int x = -64)
    {
        add(26, x, y, dx, 0, hp, shots, row);
    }

    // A ground unit near map row `mapRow` and x whose whole path suits it:
    // the nearest row and column that work are taken. A unit that starts
    // hidden just above the playfield lies over the map row 15 rows above
    // its start row.
    void ground(int sprite, int mapRow, int x, int dx, int dy, int shots)
    {
        const int y = isShip(sprite) ? -64 : -32;
        for (int shift = 0; shift <= 4; ++shift)
            for (int sign : {1, -1})
                for (int offset = 0; offset <= 160; offset += 16)
                    for (int side : {1, -1}) {
                        const int startRow = mapRow - 15 + sign * shift;
                        const int candidateX = x + side * offset;
                        if (candidateX < 40 || candidateX > 408 - sizeOf(sprite))
                            continue;
                        const EnemyRecord e{candidateX, y, dx, dy, sprite, 3, shots, startRow, 1};
                        if (path_.suits(e)) {
                            wave_.push_back(e);
                            return;
                        }
                    }
        throw std::logic_error("no place for ground unit " + std::to_string(sprite) + " near row " +
                               std::to_string(mapRow));
    }

    // A vehicle rolling in from the right edge along a row of open land
    // near `mapRow`.
    void rollIn(int mapRow, int shots)
    {
        for (int shift = 0; shift <= 8; ++shift) {
            const EnemyRecord e{448, 0, -1, 0, 32, 3, shots, mapRow - 14 + shift, 1};
            if (path_.suits(e)) {
                wave_.push_back(e);
                return;
            }
        }
        throw std::logic_error("no open row for a vehicle near row " + std::to_string(mapRow));
    }

private:
    Wave& wave_;
    GroundPath path_;
};

Wave designWave1(const LevelMap& map)
{
    Wave wave;
    WaveBuilder w(wave, map);
    // The opening, as the game has always had it: two raiders from the
    // right, then a line of six fighters.
    w.add(14, 448, 32, -1, 0, 1, 1, 6);
    w.add(14, 448, 32, -1, 0, 1, 1, 7);
    w.add(20, 64, -32, 0, 1, 1, 1, 13);
    w.add(20, 128, -32, 0, 1, 1, 1, 14);
    w.add(20, 192, -32, 0, 1, 1, 1, 13);
    w.add(20, 256, -32, 0, 1, 1, 2, 17);
    w.add(20, 320, -32, 0, 1, 1, 1, 18);
    w.add(20, 384, -32, 0, 1, 1, 1, 17);

    w.fromLeft(9, 40, 1, 1, 0);
    w.fromLeft(10, 40);

    // One attack direction at a time, a pair every four rows.
    w.diveRight(21, -64);
    w.diveRight(21, -99, -32);
    w.diveLeft(25, 416);
    w.diveLeft(25, 480);
    w.fromRight(29, 96);
    w.fromRight(30, 96, -1, 1, 0);
    w.fromLeft(33, 150, 2);
    w.fromLeft(34, 200, 2);
    w.down(37, 96);
    w.down(37, 192, -96);
    w.down(37, 288);

    // Small formations, and two directions at once.
    w.diveRight(42, -64);
    w.diveRight(42, 0, -64, 1, 0);
    w.diveRight(43, -64);
    w.fromLeft(46, 60);
    w.fromLeft(46, 60, 1, 1, 0, -96);
    w.fromLeft(47, 120);
    w.diveLeft(50, 300);
    w.fromRight(50, 140);
    w.down(53, 192);
    w.down(53, 128, -96);
    w.down(53, 256, -96);
    w.diveRight(57, -64);
    w.diveRight(57, 32, -64, 1, 2);
    w.fromRight(60, 140);

    // Closer together, and faster.
    w.fromLeft(62, 30);
    w.fromLeft(62, 90, 1, 1, 0);
    w.diveLeft(64, 190);
    w.diveLeft(64, 260, -96);
    w.down(66, 64);
    w.down(66, 352);
    w.down(67, 64, -64, 1, 1, 0);
    w.down(67, 352, -64, 1, 1, 0);
    w.diveRight(70, -99);
    w.diveRight(70, -64, -32);
    w.diveRight(70, -32, 0, 1, 0);
    w.fromRight(73, 40, -2);
    w.fromRight(73, 40, -2, 1, 1, 480);
    w.fromLeft(76, 100, 2);
    w.fromLeft(76, 160, 2, 1, 0);

    // The run-in to the first boss: fast lines across the whole width.
    w.diveRight(81, 100);
    w.diveRight(81, 180, -64, 1, 2);
    w.diveLeft(83, 256);
    w.diveLeft(83, 320, -96);
    w.diveLeft(83, 384, -64, 1, 0);
    w.fromRight(85, 60, -2);
    w.fromLeft(85, 180);
    w.down(87, 50, -64, 2);
    w.down(87, 200, -64, 2);
    w.down(87, 350, -64, 2);
    w.diveRight(90, -64);
    w.diveRight(90, -99, -32);
    w.down(93, 64, -64, 2);
    w.down(93, 160, -64, 2);
    w.down(93, 256, -64, 2);
    w.down(93, 352, -64, 2);
    w.fromRight(96, 150, -1, 1, 2);
    w.diveLeft(96, 352);
    w.down(101, 128);
    w.down(101, 224, -96);
    w.down(101, 320);
    w.down(104, 96);
    w.down(104, 160);
    w.down(104, 224, -64, 1, 1, 2);
    w.down(104, 288);
    w.diveRight(108, -64);
    w.diveRight(108, 0, -64, 1, 0);
    return wave;
}

Wave designWave2(const LevelMap& map)
{
    Wave wave;
    WaveBuilder w(wave, map);
    // Breathing space after the first boss, then the river.
    w.down(121, 160);
    w.down(121, 256);
    w.diveLeft(124, 300);
    w.diveLeft(124, 380, -96);
    w.diveRight(127, -64);
    w.diveRight(127, 20, -64, 1, 0);
    w.down(130, 96, -64, 2);
    w.down(130, 352, -64, 2);
    w.fromLeft(136, 80);
    w.fromLeft(136, 140, 1, 1, 0);
    w.diveLeft(139, 250);
    w.diveLeft(139, 330, -96, 1, 2);
    w.down(142, 64);
    w.down(142, 160);
    w.down(142, 256);
    w.down(142, 352);
    w.diveRight(148, -64);
    w.diveRight(148, 40, -64, 1, 2);
    w.diveLeft(152, 220);
    w.diveLeft(153, 300);
    w.down(156, 128, -64, 2);
    w.down(156, 288, -64, 2);
    w.fromLeft(159, 60, 2);
    w.fromLeft(159, 120, 2, 1, 2);
    w.down(162, 96);
    w.down(162, 192, -96);
    w.down(162, 288);
    w.diveLeft(166, 420);
    w.diveLeft(166, 480, -96);
    w.diveRight(169, -64);
    w.down(172, 64);
    w.down(172, 352);
    w.down(173, 128, -64, 2);
    w.down(173, 288, -64, 2);
    w.diveLeft(177, 260);
    w.diveLeft(177, 340, -96);
    w.fromLeft(181, 100);
    w.down(184, 192);
    w.down(184, 256, -96);
    w.diveRight(188, -64);
    w.diveRight(188, 20, -64, 1, 3);
    w.diveLeft(191, 350);
    w.diveLeft(191, 420, -96);
    w.down(193, 64, -64, 2);
    w.down(193, 160, -64, 2);
    w.down(193, 256, -64, 2);
    w.down(193, 352, -64, 2);
    w.diveLeft(199, 300);
    w.diveLeft(199, 380, -96);
    w.down(203, 128);
    w.down(203, 224, -96, 1, 1, 2);
    w.down(203, 320);
    w.diveRight(207, -64);
    w.diveRight(207, -99, -32);
    w.fromLeft(210, 200, 2);
    w.diveLeft(215, 250);
    w.diveLeft(215, 330);
    w.down(218, 96);
    w.down(218, 352);
    w.down(220, 160, -64, 2);
    w.down(220, 288, -64, 2);
    w.down(226, 224);
    w.down(227, 128, -96);
    w.down(227, 320, -96);
    w.diveRight(230, -64);
    w.diveRight(230, 0, -64, 1, 0);
    w.diveLeft(233, 380);
    w.diveRight(233, -64);
    // Ground forces of the river and the desert (map rows).
    w.ground(31, 146, 96, 1, 0, 1);
    w.ground(30, 149, 192, 0, 1, 1);
    w.ground(34, 150, 240, 0, 0, 4);
    w.ground(29, 155, 288, 0, 0, 4);
    w.ground(30, 165, 240, 0, 1, 1);
    w.ground(34, 166, 112, 0, 0, 4);
    w.ground(30, 177, 192, 0, 0, 6);
    w.ground(31, 183, 64, 0, 0, 4);
    w.ground(29, 186, 256, -1, 0, 1);
    w.ground(29, 190, 320, 0, 0, 4);
    w.ground(30, 194, 160, 0, 1, 1);
    w.ground(29, 199, 288, 0, 0, 6);
    w.ground(34, 207, 64, 0, 0, 4);
    w.ground(34, 209, 352, 0, 0, 4);
    w.ground(35, 214, 128, 1, 1, 1);
    w.ground(35, 216, 288, 0, 0, 4);
    w.ground(35, 219, 96, 1, 1, 1);
    w.rollIn(222, 1);
    w.ground(35, 224, 160, 0, 0, 6);
    w.rollIn(228, 4);
    w.ground(35, 228, 320, 0, 0, 4);
    w.ground(35, 231, 192, 1, 1, 1);
    w.rollIn(234, 1);
    return wave;
}

Wave designWave3(const LevelMap& map)
{
    Wave wave;
    WaveBuilder w(wave, map);
    // Out of the desert into the long green.
    w.down(242, 128);
    w.down(242, 320);
    w.fromLeft(244, 80);
    w.fromLeft(245, 80);
    w.fromLeft(246, 80, 1, 1, 0);
    w.down(248, 64, -64, 2);
    w.down(248, 192, -64, 2);
    w.down(248, 320, -64, 2);
    w.fromRight(251, 100, -2);
    w.fromRight(251, 100, -2, 1, 1, 480);
    w.fromLeft(253, 160, 2);
    w.fromLeft(253, 220, 2, 1, 0);
    w.diveRight(255, -64);
    w.diveRight(255, 20, -64, 1, 2);
    w.down(256, 160, -96);
    w.down(258, 96, -64, 1, 2, 2);
    w.down(258, 224, -64, 1, 2, 1);
    w.down(258, 352, -64, 1, 2, 2);
    w.fromLeft(261, 40);
    w.fromLeft(261, 100, 1, 1, 0, -96);
    w.fromLeft(262, 40);
    w.fromLeft(262, 100, 1, 1, 1, -96);
    w.down(265, 64);
    w.down(265, 128, -96);
    w.down(265, 192, -64);
    w.down(265, 256, -96);
    w.down(265, 320, -64);
    w.diveLeft(268, 300);
    w.fromLeft(269, 180, 2, 2);
    w.fromLeft(270, 180, 2, 2, 2);
    w.fromRight(272, 60, -1, 2, 2);
    w.diveRight(274, -64);
    w.diveRight(274, 0, -64, 1, 3);
    w.down(276, 160, -64, 2);
    w.down(276, 288, -64, 2);
    w.fromLeft(278, 60);
    w.fromLeft(278, 120, 1, 1, 0, -96);
    w.fromLeft(279, 60);
    w.fromLeft(279, 120, 1, 1, 2, -96);
    w.down(282, 64, -64, 1, 2);
    w.down(282, 352, -64, 1, 2);
    w.down(283, 128);
    w.down(283, 288);
    w.fromLeft(286, 200, 2);
    w.fromLeft(286, 250, 2, 1, 0, -96);
    w.diveRight(288, -64, -64, 2, 2);
    w.diveRight(289, -64);
    w.down(291, 224, -64, 2, 2, 2);
    w.fromLeft(293, 30);
    w.fromLeft(294, 30);
    w.fromLeft(295, 30, 1, 1, 3);
    w.down(297, 64);
    w.down(297, 160, -96);
    w.down(297, 256);
    w.down(297, 352, -96);
    w.fromRight(300, 120, -2, 2);
    w.fromLeft(302, 90, 2);
    w.fromLeft(302, 150, 2, 1, 0);
    w.diveRight(305, -64);
    w.diveRight(305, -99, -32, 2, 2);
    w.diveLeft(306, 320);
    w.down(308, 96, -64, 2);
    w.down(308, 192, -64, 2);
    w.down(308, 288, -64, 2);
    w.fromLeft(311, 60, 1, 2, 2);
    w.fromLeft(312, 60);
    w.down(314, 128, -64, 1, 2);
    w.down(314, 256, -64, 1, 2);
    w.diveRight(318, -64);
    w.diveRight(318, 20, -64, 2, 2);
    w.fromRight(320, 100, -2);
    w.fromRight(320, 100, -2, 1, 0, 480);
    w.fromLeft(322, 170, 2);
    w.fromLeft(322, 230, 2, 2, 1, -96);
    w.down(325, 64, -64, 2);
    w.down(325, 160, -64, 2);
    w.down(325, 256, -64, 2);
    w.down(325, 352, -64, 2);
    w.diveRight(329, -64);
    w.diveRight(329, -99, -32);
    w.fromLeft(331, 50);
    w.fromLeft(331, 110, 1, 1, 0, -96);
    w.fromLeft(332, 50, 1, 2, 2);
    w.down(335, 96, -64, 1, 2);
    w.down(335, 224, -96, 1, 2);
    w.down(335, 352, -64, 1, 2);
    w.fromLeft(339, 140, 2);
    w.fromLeft(339, 200, 2, 1, 3, -96);
    w.diveRight(343, -64);
    w.diveRight(343, 20, -64, 1, 2);
    w.fromLeft(346, 70);
    w.fromLeft(347, 70);
    w.fromLeft(348, 70, 1, 2, 2);
    w.down(351, 128, -64, 2);
    w.down(351, 320, -64, 2);
    w.fromLeft(354, 160, 2);
    w.fromLeft(354, 220, 2, 1, 0, -96);
    w.down(357, 64);
    w.down(357, 192, -96);
    w.down(357, 352);
    w.fromLeft(360, 100, 1, 2, 2);
    w.fromLeft(361, 100);
    w.fromLeft(362, 100, 1, 1, 0);
    w.down(363, 160, -64, 1, 2);
    w.down(363, 288, -64, 1, 2);
    w.fromLeft(365, 60, 2);
    // Ground forces of the long green, the dunes and the sea (map rows).
    w.ground(34, 258, 192, 0, 0, 4);
    w.ground(36, 262, 96, 0, 0, 6);
    w.ground(34, 264, 320, 0, 1, 1);
    w.ground(35, 266, 288, 1, 1, 1);
    w.ground(29, 269, 200, 0, 0, 4);
    w.ground(30, 272, 300, 0, 0, 6);
    w.ground(33, 272, 352, -1, 1, 1);
    w.ground(34, 278, 128, 0, 0, 4);
    w.ground(36, 284, 64, 0, 0, 6);
    w.ground(34, 290, 288, 0, 1, 1);
    w.ground(35, 292, 96, 0, 0, 4);
    w.ground(33, 296, 320, -1, 1, 1);
    w.ground(30, 297, 192, 0, 0, 6);
    w.ground(34, 305, 352, 0, 0, 4);
    w.ground(35, 312, 96, 1, 1, 1);
    w.ground(34, 315, 288, 0, 1, 1);
    w.ground(35, 318, 192, 0, 0, 4);
    w.ground(33, 320, 352, -1, 1, 1);
    w.ground(34, 322, 128, 0, 0, 4);
    w.ground(35, 326, 256, 0, 0, 6);
    w.ground(34, 331, 192, 0, 1, 1);
    w.rollIn(334, 1);
    w.ground(35, 336, 320, 1, 1, 1);
    w.ground(34, 339, 96, 0, 0, 4);
    w.ground(30, 349, 224, 0, 0, 4);
    w.ground(31, 351, 96, 1, 0, 1);
    w.ground(29, 355, 320, -1, 0, 1);
    w.ground(30, 357, 128, 0, 0, 6);
    w.ground(30, 360, 288, 0, 1, 1);
    w.ground(31, 362, 96, 0, 0, 4);
    w.ground(29, 364, 352, 0, 0, 6);
    w.ground(30, 366, 224, 0, 0, 4);
    w.ground(30, 368, 160, 0, 0, 4);
    return wave;
}

// How many enemies of each type each wave holds, and its start rows.
struct WavePlan {
    int firstRow, lastRow;
    std::map<int, int> counts;
};

const WavePlan Plans[3] = {
    {6, 108, {{14, 10}, {17, 9}, {20, 30}, {23, 16}, {26, 12}}},
    {121, 233, {{17, 17}, {20, 33}, {23, 12}, {26, 6}, {29, 4}, {30, 4}, {31, 2}, {32, 3}, {34, 4}, {35, 6}}},
    {242,
     365,
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
      {36, 2}}},
};

void check(const Wave& wave, const WavePlan& plan, int number)
{
    std::map<int, int> counts;
    int first = 1 << 30, last = -1;
    for (const EnemyRecord& e : wave) {
        ++counts[e.sprite];
        first = std::min(first, e.startRow);
        last = std::max(last, e.startRow);
    }
    if (counts != plan.counts || first != plan.firstRow || last != plan.lastRow) {
        std::string detail;
        for (auto [sprite, count] : counts) {
            detail += ' ';
            detail += std::to_string(sprite);
            detail += ':';
            detail += std::to_string(count);
        }
        throw std::logic_error("wave " + std::to_string(number) + " does not match its plan: rows " +
                               std::to_string(first) + "-" + std::to_string(last) + ", types" + detail);
    }
}

}  // namespace

std::array<Wave, 3> designWaves(const LevelMap& map)
{
    std::array<Wave, 3> waves{designWave1(map), designWave2(map), designWave3(map)};
    for (int i = 0; i < 3; ++i)
        check(waves[i], Plans[i], i + 1);
    return waves;
}

std::vector<uint8_t> encodeWaveStream(const std::array<Wave, 3>& waves)
{
    std::vector<uint8_t> out;
    for (const Wave& wave : waves) {
        for (const EnemyRecord& e : wave)
            for (int32_t value : {0, e.x, e.y, e.dx, e.dy, e.sprite, e.hitPoints, e.shots, e.startRow, e.active})
                appendInteger(out, value);
        appendInteger(out, 9);
        for (int i = 0; i < 9; ++i)
            appendInteger(out, 0);
    }
    return out;
}

std::vector<uint8_t> encodeBossTable()
{
    const int32_t table[3][9] = {
        {190, -128, 0, 1, 50, 25, 45, 45, 55},
        {190, -128, 0, 1, 80, 40, 45, 45, 55},
        {448, 150, -1, 0, 120, 60, 123, 30, 70},
    };
    std::vector<uint8_t> out;
    for (const auto& boss : table)
        for (int32_t value : boss)
            appendInteger(out, value);
    return out;
}
