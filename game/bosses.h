// Bosses: the three fights that hold the scroll at their stop rows, the
// bosses' movement, fire and damage, and the reward and next wave that
// follow a boss's destruction.
#pragma once

#include <cstdint>

// ---- Record --------------------------------------------------------------

// One boss. Note that HitPoints and DamagedAt stand in the opposite order to
// the boss table's.
struct Boss {
    int32_t X;
    int32_t Y;
    int32_t DX;
    int32_t DY;
    int32_t DamagedAt;  // the picture turns damaged when HitPoints reaches this
    int32_t HitPoints;
    int32_t CentreX;    // offset of the shots' start and the final explosions
    int32_t CentreY;
    int32_t Sprite;     // intact, then + 1 damaged, then + 2 wreck
};

// ---- State ---------------------------------------------------------------

constexpr int32_t BossCount = 3;

extern Boss* Bosses;               // element 0 of records 0 to 4; 1 to 3 are used
extern int32_t ActiveBoss;         // boss being fought (holds the scroll), or 0
extern int32_t ShownBoss;          // boss moved and drawn (also its wreck), or 0
extern int32_t BossMusicCounter;   // scroll ticks spent at a boss stop row
extern int32_t BossStepDelay;      // the shown boss moves every second frame
extern int32_t BossFireChance;     // range of the boss's fire draw

// ---- Operations ----------------------------------------------------------

// Reads the three boss records afresh from the boss table.
void LoadBosses();

// The boss part of a frame: music, movement, drawing, bullet hits,
// destruction and fire. Does nothing unless a boss is shown above y 500.
void BossStep();
