#include "game/player.h"

#include "game/assets.h"
#include "game/sound_cues.h"
#include "runtime/screen/sprites.h"

#include <algorithm>

PlayerState Player;

namespace {

// Where the plane may fly: its top-left corner stays inside these.
constexpr int32_t PlayerLeft = 32;
constexpr int32_t PlayerRight = 386;
constexpr int32_t PlayerTop = 100;
constexpr int32_t PlayerBottom = 382;

constexpr int32_t StartPlayerX = 192;
constexpr int32_t StartPlayerY = 360;
constexpr int32_t StartBulletSlots = 2;

constexpr int32_t FireInterval = 8;  // frames between reads of the fire control
constexpr int32_t LeftGunX = 24;     // bullet start, relative to the plane
constexpr int32_t RightGunX = 34;
constexpr int32_t GunY = 20;
constexpr int32_t BulletSpeed = 4;
constexpr int32_t BulletRetireY = 30;  // a bullet above this is spent

constexpr int32_t PlaneFrames = 4;
constexpr int32_t FrameHold = 2;  // frames each plane picture stays

// The last slot in use, never past the end of the array.
int32_t LastSlot()
{
    return std::min(Player.BulletSlots, BulletUpperBound);
}

void MovePlane(int32_t x, int32_t y)
{
    Player.PlayerX = std::clamp(Player.PlayerX + x * Player.PlayerSpeed, PlayerLeft, PlayerRight);
    Player.PlayerY = std::clamp(Player.PlayerY + y * Player.PlayerSpeed, PlayerTop, PlayerBottom);
}

// The fire control is read as held, so holding it fires every eighth frame.
bool FireReadDue()
{
    Player.FireDelay += 1;
    if (Player.FireDelay <= FireInterval)
        return false;
    Player.FireDelay = 1;
    return true;
}

void FireFrom(Bullet& bullet)
{
    Player.GunSide += 1;
    PlayEffect(GunSound);
    if (Player.GunSide > 1) {
        Player.GunSide = 0;
        bullet.X = Player.PlayerX + RightGunX;
    } else {
        bullet.X = Player.PlayerX + LeftGunX;
    }
    bullet.Active = 1;
    bullet.Y = Player.PlayerY + GunY;
    bullet.Speed = BulletSpeed;
}

// Fires from the first free slot; with every slot in flight nothing happens.
void Fire()
{
    for (int32_t slot = 1; slot <= LastSlot(); ++slot) {
        if (Player.Bullets[slot].Active == 0) {
            FireFrom(Player.Bullets[slot]);
            return;
        }
    }
}

void AnimatePlane()
{
    Player.PlayerFrameDelay += 1;
    if (Player.PlayerFrameDelay <= FrameHold)
        return;
    Player.PlayerFrameDelay = 1;
    Player.PlayerFrame = Player.PlayerFrame % PlaneFrames + 1;
}

}  // namespace

int32_t PlanePicture()
{
    return PlaneSprite - 1 + Player.PlayerFrame;
}

void StartPlane()
{
    Player.GunSide = 0;
    Player.BulletSlots = StartBulletSlots;
    Player.PlayerFrame = 1;
    Player.PlayerFrameDelay = 1;
    Player.PlayerX = StartPlayerX;
    Player.PlayerY = StartPlayerY;
    Player.PlayerSpeed = 1;
}

void ParkPlane()
{
    Player.PlayerX = ParkedPlayerX;
    Player.PlayerY = ParkedPlayerY;
}

void Rearm(int32_t speed, int32_t bulletSlots)
{
    Player.PlayerSpeed = speed;
    Player.BulletSlots = bulletSlots;
}

void RetireBullet(int32_t slot)
{
    Player.Bullets[slot].Active = 0;
}

void SetDamageGauge(int32_t value)
{
    Player.DamageGauge = value;
}

void ClearFrameDamage()
{
    Player.FrameDamage = 0;
}

void TakeRamDamage(int32_t damage)
{
    Player.FrameDamage += damage;
}

void TakeShotDamage(int32_t damage)
{
    Player.DamageGauge += damage;
}

bool AddFrameDamage()
{
    Player.DamageGauge += Player.FrameDamage;
    if (Player.DamageGauge <= DamageGaugeEnd)
        return false;
    Player.DamageGauge = DamageGaugeEnd;
    return true;
}

int32_t NextBulletHitting(int32_t slot, int32_t picture, int32_t x, int32_t y)
{
    while (++slot <= Player.BulletSlots) {
        const Bullet& bullet = Player.Bullets[slot];
        if (bullet.Active == 1 && QV_SpritePixelCollision(BulletSprite, bullet.X, bullet.Y, picture, x, y) != 0)
            return slot;
    }
    return 0;
}

void PlayerInputStep(int32_t x, int32_t y, bool fire)
{
    MovePlane(x, y);
    if (FireReadDue() && fire)
        Fire();
}

void BulletStep()
{
    for (int32_t slot = 1; slot <= LastSlot(); ++slot) {
        Bullet& bullet = Player.Bullets[slot];
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
    QV_DisplayTransparentSprite(PlaneShadowSprite - 1 + Player.PlayerFrame, Player.PlayerX + ShadowOffsetX,
                                Player.PlayerY + ShadowOffsetY);
    QV_DisplayTransparentSprite(PlanePicture(), Player.PlayerX, Player.PlayerY);
}
