// Enemy waves: the enemies of one level section, read from the wave stream in
// one go, waiting for their start rows, then flying or rolling across the
// playfield, firing volleys, ramming the plane and taking bullet hits.
#pragma once

#include <cstdint>

#include "runtime/core/lists.h"

// ---- Record --------------------------------------------------------------

// One enemy. Sprite is the type: the shadow picture of a flying enemy (whose
// animation frames are Sprite + 1 and Sprite + 2), the only picture of a
// ground enemy. Types below 27 fly.
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

extern QV_List Enemies;          // created at start-up with the size of Enemy
extern int32_t EnemyFrame;       // animation frame of flying enemies, 1 or 2
extern int32_t EnemyFrameDelay;  // divider of EnemyFrame, 0 or 1

// Fire parameters of the enemy being walked, set from its type.
extern int32_t EnemyFireChance;
extern int32_t EnemyShotKind;
extern int32_t EnemyShotOffset;

// ---- Operations ----------------------------------------------------------

// Replaces Enemies with the wave at DataCursor; leaves DataCursor just past
// the wave's end marker.
void ReadNextWave();

// The enemy part of a frame: advances the animation counter, clears
// FrameDamage and walks every enemy.
void EnemyStep();
