// Shots, hits and explosions: the enemy and boss shots, the explosion
// animations every hit leaves behind, and the damage gauge that hits and
// rams fill.
#pragma once

#include "game/record_list.h"

#include <cstdint>

// ---- Records -------------------------------------------------------------

// One enemy or boss shot; drawn as EnemyShotSprite + Kind (0 red, 1 yellow).
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

// ---- State ---------------------------------------------------------------

// The damage gauge: damage as the x of its panel marker.
constexpr int32_t DamageGaugeStart = 490;
constexpr int32_t DamageGaugeEnd = 625;  // passing it destroys the plane
// Out of play the gauge holds a value past its end, clamped in the first
// frame without a death.
constexpr int32_t DamageGaugeIdle = 999;

struct HitState {
    RecordList<EnemyShot> EnemyShots;
    RecordList<Explosion> Explosions;
    int32_t FrameDamage = 0;  // ramming damage taken in this frame
    int32_t DamageGauge = 0;  // 490 to 625 in play
};

// Written by this module alone; the rest of the game reads it.
extern HitState Hits;

// ---- Adding and clearing -------------------------------------------------

// Adds an explosion after the list's current element.
void AddExplosion(int32_t x, int32_t y, int32_t frames, int32_t delay);

// Adds an enemy shot after the list's current element.
void AddEnemyShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t kind);

// Play starts with no shot or explosion left over.
void ClearShotsAndExplosions();

// ---- Damage --------------------------------------------------------------

void SetDamageGauge(int32_t value);

// A new frame's ramming damage starts at 0.
void ClearFrameDamage();

// An enemy rams the plane.
void TakeRamDamage(int32_t damage);

// Adds the frame's ramming damage to the gauge. True when the gauge passed
// its end, where it then stands: damage beyond the end is lost.
bool AddFrameDamage();

// ---- Frame steps ---------------------------------------------------------

// Draws every enemy shot, tests it against the plane, then moves it; a shot
// that hits or leaves the area 24..448 is deleted.
void EnemyShotWalk();

// Draws every explosion and ages it; a finished one is deleted.
void ExplosionWalk();
