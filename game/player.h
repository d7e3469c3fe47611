// Player ship and guns: the plane's movement inside the playfield, the fire
// cadence and the bullet slots, the bullets' flight, and the plane's
// animation with its drop shadow.
#pragma once

#include <cstdint>

// ---- Record --------------------------------------------------------------

// One bullet slot; drawn as sprite 13.
struct Bullet {
    int32_t X;
    int32_t Y;
    int32_t Speed;   // pixels moved upwards per frame
    int32_t Active;  // 1 while the bullet flies, 0 when the slot is free
};

// ---- State ---------------------------------------------------------------

constexpr int32_t BulletUpperBound = 11;  // slots 0 to 11; 0 and 11 unused
constexpr int32_t BulletSprite = 13;
constexpr int32_t ParkedPlayerX = 640;    // where the plane waits out of play
constexpr int32_t ParkedPlayerY = 480;

extern Bullet* Bullets;            // element 0 of slots 0 to BulletUpperBound
extern int32_t PlayerX;            // top-left corner of the plane sprite
extern int32_t PlayerY;
extern int32_t PlayerSpeed;        // pixels per frame on each axis
extern int32_t PlayerFrame;        // animation frame 1 to 4; the plane is sprite PlayerFrame + 4
extern int32_t PlayerFrameDelay;   // divider of PlayerFrame
extern int32_t FireDelay;          // frames since the fire control was last read
extern int32_t GunSide;            // which gun fires next
extern int32_t BulletSlots;        // slots 1 to BulletSlots are in use

// ---- Frame steps ---------------------------------------------------------

// During play: moves and clamps the plane; every eighth frame reads the fire
// control and, while it is held, fires from the first free slot.
void PlayerInputStep();

// Every frame: moves the active bullets up, retires those past the top and
// draws them.
void BulletStep();

// During play: advances the plane's animation and draws shadow and plane.
void PlayerDrawStep();
