// Shots, hits and explosions: the enemy and boss shots, the explosion
// animations every hit leaves behind, and the player's death.
//
// The damage gauge itself (`DamageGauge`, `FrameDamage`) belongs to the frame
// loop, which adds each frame's ramming damage and calls DeathStep() when the
// gauge overflows during play.
#pragma once

#include <cstdint>

#include "runtime/core/lists.h"

// ---- Records -------------------------------------------------------------

// One enemy or boss shot; drawn as sprite 37 + Kind (0 red, 1 yellow).
struct EnemyShot {
    int32_t X;
    int32_t Y;
    int32_t DX;
    int32_t DY;
    int32_t Kind;
};

// One explosion; shows sprite 39 + Frames, each picture for Delay frames.
struct Explosion {
    int32_t X;
    int32_t Y;
    int32_t Frames;
    int32_t Delay;
    int32_t Countdown;
};

// ---- Lists (created at start-up with the record sizes above) -------------

extern QV_List EnemyShots;
extern QV_List Explosions;

// ---- Adding objects ------------------------------------------------------

// Adds an explosion after the list's current element.
void AddExplosion(int32_t x, int32_t y, int32_t frames, int32_t delay);

// Adds an enemy shot after the list's current element.
void AddEnemyShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t kind);

// ---- Frame steps ---------------------------------------------------------

// Draws every enemy shot, tests it against the plane, then moves it; a shot
// that hits or leaves the area 24..448 is deleted.
void EnemyShotWalk();

// Draws every explosion and ages it; a finished one is deleted.
void ExplosionWalk();

// The player is destroyed: explosions, the plane parked off screen, the
// boss being fought sent away, and the game-over page made ready.
void DeathStep();

// ---- Sound ---------------------------------------------------------------

// Every sound call of the game goes through these two, which do nothing
// while sound is switched off.
void PlayGameSound(int32_t sound, int32_t mode);
void StopGameSound(int32_t sound);
