// Player ship and guns: the plane's movement inside the playfield, the fire
// cadence and the bullet slots, the bullets' flight, the plane's animation
// with its drop shadow, and the damage gauge that shots and rams fill.
#pragma once

#include "game/record_array.h"

#include <cstdint>

// ---- Records -------------------------------------------------------------

// One bullet slot; drawn as BulletSprite.
struct Bullet {
    int32_t X;
    int32_t Y;
    int32_t Speed;   // pixels moved upwards per frame
    int32_t Active;  // 1 while the bullet flies, 0 when the slot is free
};

// ---- State ---------------------------------------------------------------

constexpr int32_t BulletUpperBound = 11;  // slots 0 to 11; 0 and 11 unused
constexpr int32_t ParkedPlayerX = 640;    // where the plane waits out of play
constexpr int32_t ParkedPlayerY = 480;
// Every flying thing's shadow lies this far right of and below its picture.
constexpr int32_t ShadowOffsetX = 40;
constexpr int32_t ShadowOffsetY = 50;

// The damage gauge: damage as the x of its panel marker.
constexpr int32_t DamageGaugeStart = 490;
constexpr int32_t DamageGaugeEnd = 625;  // passing it destroys the plane
// Out of play the gauge holds a value past its end, clamped in the first
// frame without a death.
constexpr int32_t DamageGaugeIdle = 999;

struct PlayerState {
    // Declared at start-up and never cleared afterwards: a new game keeps
    // the bullets still in flight.
    RecordArray<Bullet, BulletUpperBound + 1> Bullets;
    int32_t PlayerX = 0;  // top-left corner of the plane sprite
    int32_t PlayerY = 0;
    int32_t PlayerSpeed = 0;       // pixels per frame on each axis
    int32_t PlayerFrame = 0;       // animation frame 1 to 4
    int32_t PlayerFrameDelay = 0;  // divider of PlayerFrame
    int32_t FireDelay = 0;         // frames since the fire control was last read
    int32_t GunSide = 0;           // which gun fires next
    int32_t BulletSlots = 0;       // slots 1 to BulletSlots are in use
    int32_t FrameDamage = 0;       // ramming damage taken in this frame
    int32_t DamageGauge = 0;       // 490 to 625 in play
};

// Written by this module alone; the rest of the game reads it.
extern PlayerState Player;

// The picture the plane shows now, which hits are tested against.
int32_t PlanePicture();

// ---- Changes asked by the game's flow and rules ----------------------------

// The plane at its start of play: two bullet slots, speed 1, first frame.
void StartPlane();

// The plane out of play, off the screen.
void ParkPlane();

// A boss's reward: the plane's speed and its bullet slots.
void Rearm(int32_t speed, int32_t bulletSlots);

// A bullet that hit something stops flying.
void RetireBullet(int32_t slot);

// The first slot after `slot`, up to BulletSlots, whose bullet is active and
// touches `picture` at (x, y); 0 when there is none. Start from slot 0.
int32_t NextBulletHitting(int32_t slot, int32_t picture, int32_t x, int32_t y);

// ---- Damage --------------------------------------------------------------

void SetDamageGauge(int32_t value);

// A new frame's ramming damage starts at 0.
void ClearFrameDamage();

// An enemy rams the plane; the gauge takes it at the frame's damage step.
void TakeRamDamage(int32_t damage);

// A shot hits the plane: the gauge takes it at once, though only the damage
// step compares it with the end.
void TakeShotDamage(int32_t damage);

// The frame's damage step: adds the frame's ramming damage to the gauge.
// True when the gauge passed its end, where it then stands: damage beyond
// the end is lost.
bool AddFrameDamage();

// ---- Frame steps ---------------------------------------------------------

// During play: moves and clamps the plane by -1, 0 or +1 steps on each axis;
// every eighth frame reads the fire control and, while `fire` is held, fires
// from the first free slot.
void PlayerInputStep(int32_t x, int32_t y, bool fire);

// Every frame: moves the active bullets up, retires those past the top and
// draws them.
void BulletStep();

// During play: advances the plane's animation and draws shadow and plane.
void PlayerDrawStep();
