// Enemy waves: the enemies of one level section, read from the wave stream in
// one go, waiting for their start rows, then flying or rolling across the
// playfield, firing volleys, ramming the plane and taking bullet hits.
#pragma once

#include "game/record_list.h"

#include <cstdint>

// ---- Record --------------------------------------------------------------

// One enemy. Sprite is the type (assets.h): the shadow picture of a flying
// enemy, whose animation frames are Sprite + 1 and Sprite + 2, or the only
// picture of a ground enemy.
struct Enemy {
    int32_t X;
    int32_t Y;
    int32_t DX;
    int32_t DY;
    int32_t Sprite;
    int32_t HitPoints;
    int32_t Shots;
    int32_t StartRow;
    int32_t Active;
};

// ---- State ---------------------------------------------------------------

struct EnemyWaveState {
    RecordList<Enemy> Enemies;
    int32_t EnemyFrame = 1;       // animation frame of flying enemies, 1 or 2
    int32_t EnemyFrameDelay = 0;  // divider of EnemyFrame, 0 or 1
};

// Written by this module alone; the rest of the game reads it.
extern EnemyWaveState Waves;

// ---- Operations ----------------------------------------------------------

// Replaces Enemies with the wave at DataCursor; leaves DataCursor just past
// the wave's end marker.
void ReadNextWave();

// Replaces Enemies with the wave at `offset` in the wave stream (0 for the
// level's first section, Wave2Offset, Wave3Offset).
void ReadWaveAt(int32_t offset);

// The enemy part of a frame: advances the animation counter, clears the
// frame's ramming damage and walks every enemy.
void EnemyStep();
