#include "game/enemy_waves.h"

#include "game/assets.h"
#include "game/frame_loop.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/shots_explosions.h"
#include "game/status_panel.h"
#include "runtime/core/random.h"
#include "runtime/screen/sprites.h"

QV_List Enemies;
int32_t EnemyFrame;
int32_t EnemyFrameDelay;
int32_t EnemyFireChance;
int32_t EnemyShotKind;
int32_t EnemyShotOffset;

namespace {

// Wave stream markers.
constexpr int32_t EnemyRecordFollows = 0;
constexpr int32_t EndOfWave = 9;

// Enemy types (their base sprite numbers).
constexpr int32_t FirstGroundType = 27;
constexpr int32_t FirstSmallGroundType = 32;

// An enemy leaves at the bottom below this Y, and by its side beyond these X.
constexpr int32_t BottomExitY = 448;
constexpr int32_t LeftExitX = -32;
constexpr int32_t RightExitX = 448;

// Enemies fire only from strictly inside this square.
constexpr int32_t FireAreaLow = 32;
constexpr int32_t FireAreaHigh = 416;
constexpr int32_t FireDraw = 80;

constexpr int32_t RamDamage = 20;
constexpr int32_t PointsPerHit = 5;

constexpr int32_t EnemyHitSound = 0;
constexpr int32_t ExplosionSound = 2;
constexpr int32_t EnemyFireSound = 3;

enum class SideExit { None, Left, Right };

bool IsFlying(const Enemy& enemy)
{
    return enemy.Sprite < FirstGroundType;
}

SideExit SideExitOf(int32_t type)
{
    switch (type) {
    case 14: case 17: case 29:
        return SideExit::Left;
    case 23: case 26: case 31:
        return SideExit::Right;
    default:
        return SideExit::None;
    }
}

bool HasPassedSide(const Enemy& enemy)
{
    switch (SideExitOf(enemy.Sprite)) {
    case SideExit::Left:
        return enemy.X < LeftExitX;
    case SideExit::Right:
        return enemy.X > RightExitX;
    case SideExit::None:
        break;
    }
    return false;
}

// The picture the enemy shows this frame, which bullets and rams are tested
// against.
int32_t CurrentPicture(const Enemy& enemy)
{
    return IsFlying(enemy) ? enemy.Sprite + EnemyFrame : enemy.Sprite;
}

bool IsScrollTick()
{
    return FrameParity >= 2;
}

void AdvanceAnimation()
{
    EnemyFrameDelay += 1;
    if (EnemyFrameDelay > 1) {
        EnemyFrameDelay = 0;
        EnemyFrame += 1;
        if (EnemyFrame > 2)
            EnemyFrame = 1;
    }
}

void Ram(Enemy& enemy)
{
    PlayGameSound(EnemyHitSound, 0);
    FrameDamage += RamDamage;
    AddExplosion(enemy.X, enemy.Y, 8, 4);
    enemy.Active = 0;
    AddExplosion(PlayerX, PlayerY, 4, 1);
}

void MoveFlying(Enemy& enemy)
{
    enemy.X += enemy.DX;
    enemy.Y += enemy.DY;
    QV_DisplayTransparentSprite(enemy.Sprite, enemy.X + 40, enemy.Y + 50);
    QV_DisplayTransparentSprite(enemy.Sprite + EnemyFrame, enemy.X, enemy.Y);
    if (QV_SpritePixelCollision(PlayerFrame + 4, PlayerX, PlayerY,
                                enemy.Sprite + EnemyFrame, enemy.X, enemy.Y) != 0)
        Ram(enemy);
}

// Ground enemies move with the ground, one step per scroll tick.
void MoveGround(Enemy& enemy)
{
    if (IsScrollTick()) {
        enemy.X += enemy.DX;
        enemy.Y += enemy.DY;
    }
    QV_DisplayTransparentSprite(enemy.Sprite, enemy.X, enemy.Y);
}

void SetFireParameters(const Enemy& enemy)
{
    if (IsFlying(enemy)) {
        EnemyFireChance = 100;
        EnemyShotKind = 1;
        EnemyShotOffset = 32;
    } else {
        EnemyFireChance = 180;
        EnemyShotKind = 0;
        EnemyShotOffset = enemy.Sprite < FirstSmallGroundType ? 32 : 16;
    }
}

bool InFireArea(const Enemy& enemy)
{
    return enemy.X > FireAreaLow && enemy.X < FireAreaHigh
        && enemy.Y > FireAreaLow && enemy.Y < FireAreaHigh;
}

// Two shots spreading away from each other, downwards when the plane is
// level with or below the enemy, upwards otherwise.
void FireVolley(Enemy& enemy)
{
    enemy.Shots -= 1;
    PlayGameSound(EnemyFireSound, 0);
    const int32_t x = enemy.X + EnemyShotOffset;
    const int32_t y = enemy.Y + EnemyShotOffset;
    if (PlayerY >= enemy.Y) {
        AddEnemyShot(x, y, enemy.DX - 1, enemy.DY + 2, EnemyShotKind);
        AddEnemyShot(x, y, enemy.DX + 1, enemy.DY + 2, EnemyShotKind);
    } else {
        AddEnemyShot(x, y, 1 - enemy.DX, -enemy.DY - 1, EnemyShotKind);
        AddEnemyShot(x, y, -1 - enemy.DX, -enemy.DY - 1, EnemyShotKind);
    }
}

void Fire(Enemy& enemy)
{
    if (!InFireArea(enemy))
        return;
    // The draw is made even when the enemy has no volleys left.
    if (QV_Random(EnemyFireChance) == FireDraw && enemy.Shots > 0)
        FireVolley(enemy);
}

// An enemy that an earlier bullet finished this frame still takes the later
// bullets, its hit points going below zero as non-destroying hits.
void TakeBulletHits(Enemy& enemy)
{
    const int32_t picture = CurrentPicture(enemy);
    for (int32_t slot = 1; slot <= BulletSlots; ++slot) {
        Bullet& bullet = Bullets[slot];
        if (bullet.Active != 1)
            continue;
        if (QV_SpritePixelCollision(BulletSprite, bullet.X, bullet.Y, picture, enemy.X, enemy.Y) == 0)
            continue;
        enemy.HitPoints -= 1;
        PlayGameSound(EnemyHitSound, 0);
        Score += PointsPerHit;
        bullet.Active = 0;
        if (enemy.HitPoints == 0) {
            enemy.Active = 0;
            AddExplosion(enemy.X, enemy.Y, 8, 4);
        } else {
            PlayGameSound(ExplosionSound, 0);
            AddExplosion(enemy.X, enemy.Y, 4, 1);
        }
    }
}

// One enemy's frame. A side exit, a ram or a destruction ends the enemy
// from the next frame on: in this frame it is still drawn, may fire and
// meets every bullet.
void WalkEnemy(Enemy& enemy)
{
    if (MapRow <= enemy.StartRow || enemy.Active != 1)
        return;
    if (IsScrollTick())
        enemy.Y += 1;
    if (enemy.Y > BottomExitY) {
        enemy.Active = 0;
        return;
    }
    if (HasPassedSide(enemy))
        enemy.Active = 0;
    if (IsFlying(enemy))
        MoveFlying(enemy);
    else
        MoveGround(enemy);
    SetFireParameters(enemy);
    Fire(enemy);
    TakeBulletHits(enemy);
}

Enemy ReadEnemyRecord()
{
    Enemy enemy;
    enemy.X = ReadDataInteger();
    enemy.Y = ReadDataInteger();
    enemy.DX = ReadDataInteger();
    enemy.DY = ReadDataInteger();
    enemy.Sprite = ReadDataInteger();
    enemy.HitPoints = ReadDataInteger();
    enemy.Shots = ReadDataInteger();
    enemy.StartRow = ReadDataInteger();
    enemy.Active = ReadDataInteger();
    return enemy;
}

} // namespace

// A marker other than 0 and 9 is skipped as a single word.
void ReadNextWave()
{
    QV_ClearList(&Enemies);
    int32_t marker;
    do {
        marker = ReadDataInteger();
        if (marker == EnemyRecordFollows) {
            const Enemy enemy = ReadEnemyRecord();
            if (QV_AddElement(&Enemies) != nullptr)
                *QV_CurrentRecord<Enemy>(Enemies) = enemy;
        }
    } while (marker != EndOfWave);
}

void EnemyStep()
{
    AdvanceAnimation();
    FrameDamage = 0;
    QV_ResetList(&Enemies);
    while (QV_NextElement(&Enemies) != nullptr)
        WalkEnemy(*QV_CurrentRecord<Enemy>(Enemies));
}
