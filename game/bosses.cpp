#include "game/bosses.h"

#include "game/assets.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/score.h"
#include "game/shots_explosions.h"
#include "game/sound_cues.h"
#include "runtime/core/random.h"
#include "runtime/screen/sprites.h"

BossState BossFight;

namespace {

// A wreck, or a boss sent away by the player's death, is gone once it has
// sunk this far.
constexpr int32_t GoneY = 500;

constexpr int32_t PointsPerBossNumber = 250;

// The stop test of the scroll tick raises the counter on every tick spent at
// a stop row, so a counter of 1 on a tick with a fight on means this tick
// has just raised it from 0. A counter left standing by a death (nothing
// resets it then) keeps the next fight silent.
void StartMusicAtFightStart()
{
    if (IsScrollTick() && BossFight.ActiveBoss >= 1 && BossFight.BossMusicCounter == 1) {
        PlayMusic(BossMusicLow);
        PlayMusic(BossMusicHigh);
    }
}

// Bosses 1 and 2 swing up and down between their turning rows, boss 2 twice
// as fast, wandering sideways by single pixels; boss 3 comes in from the
// right and stops for good.
void SteerActiveBoss()
{
    Boss& boss = BossFight.Bosses[BossFight.ActiveBoss];
    if (BossFight.ActiveBoss == 1 || BossFight.ActiveBoss == 2) {
        const int32_t r = QV_Random(15);
        if (r == 10)
            boss.X += 1;
        if (r == 5)
            boss.X -= 1;
        const int32_t swingSpeed = BossFight.ActiveBoss == 1 ? 1 : 2;
        BossFight.BossFireChance = 20;
        if (boss.Y > 200)
            boss.DY = -swingSpeed;
        if (boss.Y < 64)
            boss.DY = swingSpeed;
    } else if (BossFight.ActiveBoss == 3) {
        BossFight.BossFireChance = 10;
        if (boss.X < 100)
            boss.DX = 0;
    }
}

void MoveShownBoss()
{
    BossFight.BossStepDelay += 1;
    if (BossFight.BossStepDelay <= 1)
        return;
    BossFight.BossStepDelay = 0;
    Boss& shown = BossFight.Bosses[BossFight.ShownBoss];
    shown.X += shown.DX;
    shown.Y += shown.DY;
    if (BossFight.ActiveBoss >= 1)
        SteerActiveBoss();
}

// What destroying each boss gives: the player's speed, the bullet slots and
// the wave of the next section (none after the last boss).
struct Reward {
    int32_t playerSpeed;
    int32_t bulletSlots;
    std::optional<int32_t> nextWaveOffset;
};

constexpr Reward Rewards[BossCount + 1] = {
    {},
    {1, 10, Wave2Offset},
    {2, 10, Wave3Offset},
    {1, 0, std::nullopt},
};

// Returns the offset of the next section's wave, which the frame reads
// before anything else sees the enemies.
std::optional<int32_t> DestroyActiveBoss(int32_t slot)
{
    Boss& boss = BossFight.Bosses[BossFight.ActiveBoss];
    StopGameSound(BossMusicLow);
    StopGameSound(BossMusicHigh);
    PlayEffect(BossDestroyedSound);
    AddScore(PointsPerBossNumber * BossFight.ActiveBoss);
    const int32_t cx = boss.X + boss.CentreX;
    const int32_t cy = boss.Y + boss.CentreY;
    const int32_t h = boss.CentreX >> 1;
    const int32_t v = boss.CentreY >> 1;
    AddExplosion(cx, cy, SlowestBurst);
    AddExplosion(cx - h, cy, SlowBurst);
    AddExplosion(cx + h, cy, QuickBurst);
    AddExplosion(cx, cy + v, QuickBurst);
    RetireBullet(slot);
    // The wreck sinks away as the shown boss.
    boss.DX = 0;
    boss.DY = 1;
    boss.Sprite += 1;
    const Reward& reward = Rewards[BossFight.ActiveBoss];
    Rearm(reward.playerSpeed, reward.bulletSlots);
    BossFight.BossMusicCounter = 0;
    BossFight.ActiveBoss = 0;
    LeaveStopRow();
    return reward.nextWaveOffset;
}

// Bullets are tested where they were drawn in the previous frame, since the
// bullet step comes later. Returns the slot of the bullet that destroyed the
// boss, or 0; the remaining bullets then fly on untested.
int32_t TakeBulletHits()
{
    Boss& boss = BossFight.Bosses[BossFight.ActiveBoss];
    int32_t slot = 0;
    while ((slot = NextBulletHitting(slot, boss.Sprite, boss.X, boss.Y)) != 0) {
        const Bullet& bullet = Player.Bullets[slot];
        boss.HitPoints -= 1;
        if (boss.HitPoints == boss.DamagedAt)
            boss.Sprite += 1;
        if (boss.HitPoints == 0)
            return slot;
        PlayEffect(ExplosionSound);
        AddScore(PointsPerHit);
        RetireBullet(slot);
        AddExplosion(bullet.X - 32, bullet.Y - 32, HitFlash);
    }
    return 0;
}

bool InFirePosition(const Boss& boss)
{
    return boss.X > 64 && boss.X < 288 && boss.Y > -16 && boss.Y < 200;
}

// The velocity of a boss shot for the draw d: sideways for 0 and 4, down for
// 1 to 3, up for 5 and 6 (boss 3 only). The random numbers are drawn in
// this order.
void ShotVelocity(int32_t d, int32_t& dx, int32_t& dy)
{
    switch (d) {
    case 0:
        dx = -2;
        dy = 0;
        break;
    case 1:
        dx = -(1 + QV_Random(1));
        dy = 2;
        break;
    case 2:
        dx = 0;
        dy = 2;
        break;
    case 3:
        dx = 1 + QV_Random(1);
        dy = 2;
        break;
    case 4:
        dx = 2;
        dy = 0;
        break;
    case 5:
        dx = -(1 + QV_Random(1));
        dy = -2;
        break;
    default:
        dx = 1 + QV_Random(1);
        dy = -2;
        break;
    }
}

// A shot raises the chance of another until the next boss move resets it.
void Fire()
{
    const Boss& boss = BossFight.Bosses[BossFight.ActiveBoss];
    if (!InFirePosition(boss) || QV_Random(BossFight.BossFireChance) != BossFight.BossFireChance)
        return;
    PlayEffect(EnemyFireSound);
    int32_t x;
    if (BossFight.ActiveBoss == 3) {
        BossFight.BossFireChance = 6;
        x = boss.X + QV_Random(2 * boss.CentreX);
    } else {
        BossFight.BossFireChance = 4;
        x = boss.X + boss.CentreX;
    }
    const int32_t y = boss.Y + boss.CentreY;
    int32_t dx;
    int32_t dy;
    ShotVelocity(QV_Random(BossFight.BossFireChance), dx, dy);
    AddEnemyShot(x, y, dx, dy, RedShot);
}

}  // namespace

void LoadBosses()
{
    StartReading(BossTableStart());
    for (int32_t number = 1; number <= BossCount; ++number) {
        Boss& boss = BossFight.Bosses[number];
        boss.X = ReadDataInteger();
        boss.Y = ReadDataInteger();
        boss.DX = ReadDataInteger();
        boss.DY = ReadDataInteger();
        boss.HitPoints = ReadDataInteger();
        boss.DamagedAt = ReadDataInteger();
        boss.CentreX = ReadDataInteger();
        boss.CentreY = ReadDataInteger();
        boss.Sprite = ReadDataInteger();
    }
    ForgetBosses();
}

void StopForBoss(int32_t boss)
{
    BossFight.ActiveBoss = boss;
    BossFight.ShownBoss = boss;
    BossFight.BossMusicCounter += 1;
}

// The scroll moves on because the stop row is left: ScrollY no longer
// matches the stop test.
void SendActiveBossAway()
{
    if (BossFight.ActiveBoss >= 1)
        BossFight.Bosses[BossFight.ActiveBoss].DY = 1;
    BossFight.ActiveBoss = 0;
    LeaveStopRow();
}

void ForgetBosses()
{
    BossFight.ActiveBoss = 0;
    BossFight.ShownBoss = 0;
}

std::optional<int32_t> BossStep()
{
    if (BossFight.ShownBoss < 1 || BossFight.Bosses[BossFight.ShownBoss].Y >= GoneY)
        return std::nullopt;
    StartMusicAtFightStart();
    MoveShownBoss();
    const Boss& shown = BossFight.Bosses[BossFight.ShownBoss];
    QV_DisplayTransparentSprite(shown.Sprite, shown.X, shown.Y);
    if (BossFight.ActiveBoss < 1)
        return std::nullopt;
    if (const int32_t slot = TakeBulletHits(); slot != 0)
        return DestroyActiveBoss(slot);
    Fire();
    return std::nullopt;
}
