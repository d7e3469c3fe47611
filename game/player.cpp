#include "game/player.h"

#include "game/controls.h"
#include "game/settings.h"
#include "game/shots_explosions.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/sprites.h"

#include <SDL.h>

#include <algorithm>

Bullet* Bullets = nullptr;
int32_t PlayerX = 0;
int32_t PlayerY = 0;
int32_t PlayerSpeed = 0;
int32_t PlayerFrame = 0;
int32_t PlayerFrameDelay = 0;
int32_t FireDelay = 0;
int32_t GunSide = 0;
int32_t BulletSlots = 0;

namespace {

// Where the plane may fly: its top-left corner stays inside these.
constexpr int32_t PlayerLeft = 32;
constexpr int32_t PlayerRight = 386;
constexpr int32_t PlayerTop = 100;
constexpr int32_t PlayerBottom = 382;

constexpr int32_t FireInterval = 8;     // frames between reads of the fire control
constexpr int32_t GunSound = 1;
constexpr int32_t LeftGunX = 24;        // bullet start, relative to the plane
constexpr int32_t RightGunX = 34;
constexpr int32_t GunY = 20;
constexpr int32_t BulletSpeed = 4;
constexpr int32_t BulletRetireY = 30;   // a bullet above this is spent

constexpr int32_t PlaneFrames = 4;
constexpr int32_t FrameHold = 2;        // frames each plane picture stays
constexpr int32_t PlaneSprite = 4;      // plane frame n is sprite PlaneSprite + n
constexpr int32_t ShadowSprite = 8;     // its shadow is ShadowSprite + n
constexpr int32_t ShadowOffsetX = 40;
constexpr int32_t ShadowOffsetY = 50;

// The last slot in use, never past the end of the array.
int32_t LastSlot()
{
    return std::min(BulletSlots, BulletUpperBound);
}

// -1, 0 or +1 from two opposite keys; both held cancel out.
int32_t KeyAxis(int32_t lessKey, int32_t moreKey)
{
    return QV_KeyboardPushed(moreKey) - QV_KeyboardPushed(lessKey);
}

bool JoystickControl()
{
    return UseKeys != 0;
}

void MovePlane()
{
    int32_t dx = 0;
    int32_t dy = 0;
    if (JoystickControl()) {
        const JoystickReading joystick = FrameJoystick();
        dx = joystick.x;
        dy = joystick.y;
    } else {
        dx = KeyAxis(SDLK_LEFT, SDLK_RIGHT);
        dy = KeyAxis(SDLK_UP, SDLK_DOWN);
    }
    PlayerX = std::clamp(PlayerX + dx * PlayerSpeed, PlayerLeft, PlayerRight);
    PlayerY = std::clamp(PlayerY + dy * PlayerSpeed, PlayerTop, PlayerBottom);
}

bool FireHeld()
{
    if (JoystickControl())
        return FrameJoystick().button != 0;
    return QV_KeyboardPushed(SDLK_SPACE) != 0;
}

// The fire control is read as held, so holding it fires every eighth frame.
bool FireReadDue()
{
    FireDelay += 1;
    if (FireDelay <= FireInterval)
        return false;
    FireDelay = 1;
    return true;
}

void FireFrom(Bullet& bullet)
{
    GunSide += 1;
    PlayGameSound(GunSound, 0);
    if (GunSide > 1) {
        GunSide = 0;
        bullet.X = PlayerX + RightGunX;
    } else {
        bullet.X = PlayerX + LeftGunX;
    }
    bullet.Active = 1;
    bullet.Y = PlayerY + GunY;
    bullet.Speed = BulletSpeed;
}

// Fires from the first free slot; with every slot in flight nothing happens.
void Fire()
{
    for (int32_t slot = 1; slot <= LastSlot(); ++slot) {
        if (Bullets[slot].Active == 0) {
            FireFrom(Bullets[slot]);
            return;
        }
    }
}

void AnimatePlane()
{
    PlayerFrameDelay += 1;
    if (PlayerFrameDelay <= FrameHold)
        return;
    PlayerFrameDelay = 1;
    PlayerFrame = PlayerFrame % PlaneFrames + 1;
}

} // namespace

void PlayerInputStep()
{
    MovePlane();
    if (FireReadDue() && FireHeld())
        Fire();
}

void BulletStep()
{
    for (int32_t slot = 1; slot <= LastSlot(); ++slot) {
        Bullet& bullet = Bullets[slot];
        if (bullet.Active != 1)
            continue;
        bullet.Y -= bullet.Speed;
        if (bullet.Y < BulletRetireY)
            bullet.Active = 0;
        // Drawn once more in the frame it is retired.
        QV_DisplayTransparentSprite(BulletSprite, bullet.X, bullet.Y);
    }
}

void PlayerDrawStep()
{
    AnimatePlane();
    QV_DisplayTransparentSprite(ShadowSprite + PlayerFrame, PlayerX + ShadowOffsetX, PlayerY + ShadowOffsetY);
    QV_DisplayTransparentSprite(PlaneSprite + PlayerFrame, PlayerX, PlayerY);
}
