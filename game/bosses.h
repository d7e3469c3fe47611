// Bosses: the three fights that hold the scroll at their stop rows, the
// bosses' movement, fire and damage, and the reward and next wave that
// follow a boss's destruction.
#pragma once

#include "game/record_array.h"

#include <cstdint>
#include <optional>

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
    int32_t CentreX;  // offset of the shots' start and the final explosions
    int32_t CentreY;
    int32_t Sprite;  // intact, then + 1 damaged, then + 2 wreck
};

// ---- State ---------------------------------------------------------------

constexpr int32_t BossCount = 3;
constexpr int32_t BossUpperBound = 4;  // records 0 and 4 play no part

struct BossState {
    RecordArray<Boss, BossUpperBound + 1> Bosses;  // records 1 to 3 are used
    int32_t ActiveBoss = 0;                        // boss being fought (holds the scroll), or 0
    int32_t ShownBoss = 0;                         // boss moved and drawn (also its wreck), or 0
    int32_t BossMusicCounter = 0;                  // scroll ticks spent at a boss stop row
    int32_t BossStepDelay = 0;                     // the shown boss moves every second frame
    int32_t BossFireChance = 0;                    // range of the boss's fire draw
};

// Written by this module alone; the rest of the game reads it.
extern BossState BossFight;

// ---- Operations ----------------------------------------------------------

// Reads the three boss records afresh from the boss table; no boss is
// fought or shown.
void LoadBosses();

// A scroll tick at boss `boss`'s stop row: the fight is on (or goes on).
void StopForBoss(int32_t boss);

// The player is destroyed: the boss being fought sinks away without a reward.
void SendActiveBossAway();

// No boss is fought or shown (the title page).
void ForgetBosses();

// The boss part of a frame: music, movement, drawing, bullet hits,
// destruction and fire. Does nothing unless a boss is shown above y 500.
// When it destroys a boss that opens another section, returns the offset in
// the wave stream of that section's wave, for the frame to read at once.
std::optional<int32_t> BossStep();
