#include "game/enemy_waves.h"

#include "game/assets.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/score.h"
#include "game/shots_explosions.h"
#include "game/sound_cues.h"
#include "runtime/core/random.h"
#include "runtime/screen/sprites.h"

EnemyWaveState Waves;

namespace {

// Wave stream markers.
constexpr int32_t EnemyRecordFollows = 0;
constexpr int32_t EndOfWave = 9;

// An enemy leaves at the bottom below this Y, and by its side beyond these X.
constexpr int32_t BottomExitY = 448;
constexpr int32_t LeftExitX = -32;
constexpr int32_t RightExitX = 448;

// Enemies fire only from strictly inside this square.
constexpr int32_t FireAreaLow = 32;
constexpr int32_t FireAreaHigh = 416;
constexpr int32_t FireDraw = 80;
// A flying enemy draws for a volley among 101 numbers, a ground one among 181.
constexpr int32_t FlyingFireChance = 100;
constexpr int32_t GroundFireChance = 180;
// Shots start this far right of and below the enemy's corner: the middle
// of a large picture, or of a small one.
constexpr int32_t LargeShotOffset = 32;
constexpr int32_t SmallShotOffset = 16;

constexpr int32_t RamDamage = 20;

enum class SideExit { None, Left, Right };

bool IsFlying(const Enemy& enemy)
{
    return enemy.Sprite <= InterceptorType;
}

SideExit SideExitOf(int32_t type)
{
    switch (type) {
    case RaiderType:
    case DiverType:
    case GunboatWestType: return SideExit::Left;
    case StrikerType:
    case InterceptorType:
    case GunboatEastType: return SideExit::Right;
    default: return SideExit::None;
    }
}

bool HasPassedSide(const Enemy& enemy)
{
    switch (SideExitOf(enemy.Sprite)) {
    case SideExit::Left: return enemy.X < LeftExitX;
    case SideExit::Right: return enemy.X > RightExitX;
    case SideExit::None: break;
    }
    return false;
}

// The picture the enemy shows this frame, which bullets and rams are tested
// against.
int32_t CurrentPicture(const Enemy& enemy)
{
    return IsFlying(enemy) ? enemy.Sprite + Waves.EnemyFrame : enemy.Sprite;
}

void AdvanceAnimation()
{
    Waves.EnemyFrameDelay += 1;
    if (Waves.EnemyFrameDelay > 1) {
        Waves.EnemyFrameDelay = 0;
        Waves.EnemyFrame += 1;
        if (Waves.EnemyFrame > 2)
            Waves.EnemyFrame = 1;
    }
}

void Ram(Enemy& enemy)
{
    PlayEffect(EnemyHitSound);
    TakeRamDamage(RamDamage);
    AddExplosion(enemy.X, enemy.Y, Blast);
    enemy.Active = 0;
    AddExplosion(Player.PlayerX, Player.PlayerY, HitFlash);
}

void MoveFlying(Enemy& enemy)
{
    enemy.X += enemy.DX;
    enemy.Y += enemy.DY;
    QV_DisplayTransparentSprite(enemy.Sprite, enemy.X + ShadowOffsetX, enemy.Y + ShadowOffsetY);
    QV_DisplayTransparentSprite(enemy.Sprite + Waves.EnemyFrame, enemy.X, enemy.Y);
    if (QV_SpritePixelCollision(PlanePicture(), Player.PlayerX, Player.PlayerY, enemy.Sprite + Waves.EnemyFrame,
                                enemy.X, enemy.Y) != 0)
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

// How an enemy type fires: the range of its fire draw, the kind of its
// shots and where they start, relative to the enemy.
struct FireParameters {
    int32_t chance;
    int32_t shotKind;
    int32_t shotOffset;
};

FireParameters FireParametersOf(const Enemy& enemy)
{
    if (IsFlying(enemy))
        return {FlyingFireChance, YellowShot, LargeShotOffset};
    return {GroundFireChance, RedShot, enemy.Sprite < TankWestType ? LargeShotOffset : SmallShotOffset};
}

bool InFireArea(const Enemy& enemy)
{
    return enemy.X > FireAreaLow && enemy.X < FireAreaHigh && enemy.Y > FireAreaLow && enemy.Y < FireAreaHigh;
}

// Two shots spreading away from each other, downwards when the plane is
// level with or below the enemy, upwards otherwise.
void FireVolley(Enemy& enemy, const FireParameters& fire)
{
    enemy.Shots -= 1;
    PlayEffect(EnemyFireSound);
    const int32_t x = enemy.X + fire.shotOffset;
    const int32_t y = enemy.Y + fire.shotOffset;
    if (Player.PlayerY >= enemy.Y) {
        AddEnemyShot(x, y, enemy.DX - 1, enemy.DY + 2, fire.shotKind);
        AddEnemyShot(x, y, enemy.DX + 1, enemy.DY + 2, fire.shotKind);
    } else {
        AddEnemyShot(x, y, 1 - enemy.DX, -enemy.DY - 1, fire.shotKind);
        AddEnemyShot(x, y, -1 - enemy.DX, -enemy.DY - 1, fire.shotKind);
    }
}

void Fire(Enemy& enemy)
{
    if (!InFireArea(enemy))
        return;
    const FireParameters fire = FireParametersOf(enemy);
    // The draw is made even when the enemy has no volleys left.
    if (QV_Random(fire.chance) == FireDraw && enemy.Shots > 0)
        FireVolley(enemy, fire);
}

// An enemy that an earlier bullet finished this frame still takes the later
// bullets, its hit points going below zero as non-destroying hits.
void TakeBulletHits(Enemy& enemy)
{
    const int32_t picture = CurrentPicture(enemy);
    int32_t slot = 0;
    while ((slot = NextBulletHitting(slot, picture, enemy.X, enemy.Y)) != 0) {
        enemy.HitPoints -= 1;
        PlayEffect(EnemyHitSound);
        AddScore(PointsPerHit);
        RetireBullet(slot);
        if (enemy.HitPoints == 0) {
            enemy.Active = 0;
            AddExplosion(enemy.X, enemy.Y, Blast);
        } else {
            PlayEffect(ExplosionSound);
            AddExplosion(enemy.X, enemy.Y, HitFlash);
        }
    }
}

// One enemy's frame. A side exit, a ram or a destruction ends the enemy
// from the next frame on: in this frame it is still drawn, may fire and
// meets every bullet.
void WalkEnemy(Enemy& enemy)
{
    if (Level.MapRow <= enemy.StartRow || enemy.Active != 1)
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

}  // namespace

// A marker other than 0 and 9 is skipped as a single word.
void ReadNextWave()
{
    QV_ClearList(&Waves.Enemies);
    int32_t marker;
    do {
        marker = ReadDataInteger();
        if (marker == EnemyRecordFollows) {
            const Enemy enemy = ReadEnemyRecord();
            if (QV_AddElement(&Waves.Enemies) != nullptr)
                *QV_CurrentRecord<Enemy>(Waves.Enemies) = enemy;
        }
    } while (marker != EndOfWave);
}

void ReadWaveAt(int32_t offset)
{
    StartReading(WaveStreamStart() + offset);
    ReadNextWave();
}

void EnemyStep()
{
    AdvanceAnimation();
    ClearFrameDamage();
    Waves.Enemies.Walk(WalkEnemy);
}
