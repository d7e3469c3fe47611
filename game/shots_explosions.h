// Shots, hits and explosions: the enemy and boss shots, which hurt the
// plane, and the explosion animations every hit leaves behind.
#pragma once

#include "game/record_list.h"

#include <cstdint>

// ---- Records -------------------------------------------------------------

// One enemy or boss shot; drawn as EnemyShotSprite + Kind.
struct EnemyShot {
    int32_t X;
    int32_t Y;
    int32_t DX;
    int32_t DY;
    int32_t Kind;
};

// One explosion; shows ExplosionSprite + Frames, each picture for Delay frames.
struct Explosion {
    int32_t X;
    int32_t Y;
    int32_t Frames;
    int32_t Delay;
    int32_t Countdown;
};

// The kinds of enemy shot.
constexpr int32_t RedShot = 0;
constexpr int32_t YellowShot = 1;

// How an explosion plays: its pictures from ExplosionSprite + frames down,
// each shown for `delay` frames.
struct ExplosionKind {
    int32_t frames;
    int32_t delay;
};

constexpr ExplosionKind HitFlash{4, 1};  // a hit on the plane, or one that destroys nothing
constexpr ExplosionKind Blast{8, 4};     // an enemy destroyed
// The layers of a burst where the plane or a boss is destroyed, slowest first.
constexpr ExplosionKind SlowestBurst{8, 10};
constexpr ExplosionKind SlowBurst{8, 8};
constexpr ExplosionKind QuickBurst{8, 6};

// ---- State ---------------------------------------------------------------

struct HitState {
    RecordList<EnemyShot> EnemyShots;
    RecordList<Explosion> Explosions;
};

// Written by this module alone; the rest of the game reads it.
extern HitState Hits;

// ---- Adding and clearing -------------------------------------------------

// Adds an explosion after the list's current element.
void AddExplosion(int32_t x, int32_t y, ExplosionKind kind);

// Adds an enemy shot after the list's current element.
void AddEnemyShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t kind);

// Play starts with no shot or explosion left over.
void ClearShotsAndExplosions();

// ---- Frame steps ---------------------------------------------------------

// Draws every enemy shot, tests it against the plane, then moves it; a shot
// that hits or leaves the area 24..448 is deleted.
void EnemyShotWalk();

// Draws every explosion and ages it; a finished one is deleted.
void ExplosionWalk();
