#include "game/shots_explosions.h"

#include "game/assets.h"
#include "game/player.h"
#include "game/sound_cues.h"
#include "runtime/screen/sprites.h"

HitState Hits;

namespace {

// Shots live inside this square; one that moves out of it is gone.
constexpr int32_t ShotAreaLow = 24;
constexpr int32_t ShotAreaHigh = 448;

constexpr int32_t ShotDamage = 10;

bool ShotHitsPlayer(const EnemyShot& shot)
{
    return QV_SpritePixelCollision(EnemyShotSprite + shot.Kind, shot.X, shot.Y, PlanePicture(), Player.PlayerX,
                                   Player.PlayerY) != 0;
}

bool ShotOutsideArea(const EnemyShot& shot)
{
    return shot.X < ShotAreaLow || shot.X > ShotAreaHigh || shot.Y < ShotAreaLow || shot.Y > ShotAreaHigh;
}

// Advances one explosion by a frame; true when its last picture is done.
bool AgeExplosion(Explosion& explosion)
{
    explosion.Countdown -= 1;
    if (explosion.Countdown != 0)
        return false;
    explosion.Countdown = explosion.Delay;
    explosion.Frames -= 1;
    return explosion.Frames == 0;
}

}  // namespace

void AddExplosion(int32_t x, int32_t y, ExplosionKind kind)
{
    if (QV_AddElement(&Hits.Explosions) == nullptr)
        return;
    *QV_CurrentRecord<Explosion>(Hits.Explosions) = Explosion{x, y, kind.frames, kind.delay, kind.delay};
}

void AddEnemyShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t kind)
{
    if (QV_AddElement(&Hits.EnemyShots) == nullptr)
        return;
    *QV_CurrentRecord<EnemyShot>(Hits.EnemyShots) = EnemyShot{x, y, dx, dy, kind};
}

void ClearShotsAndExplosions()
{
    QV_ClearList(&Hits.Explosions);
    QV_ClearList(&Hits.EnemyShots);
}

// A deletion moves the list's cursor back, so the walk's next step reaches
// the following element; after deleting the first element it passes over
// the new first one instead, which then waits a frame.
void EnemyShotWalk()
{
    Hits.EnemyShots.Walk([](EnemyShot& shot) {
        QV_DisplayTransparentSprite(EnemyShotSprite + shot.Kind, shot.X, shot.Y);
        if (ShotHitsPlayer(shot)) {
            PlayEffect(ExplosionSound);
            AddExplosion(Player.PlayerX, Player.PlayerY, HitFlash);
            TakeShotDamage(ShotDamage);
            QV_DeleteElement(&Hits.EnemyShots);
            return;
        }
        shot.X += shot.DX;
        shot.Y += shot.DY;
        if (ShotOutsideArea(shot))
            QV_DeleteElement(&Hits.EnemyShots);
    });
}

void ExplosionWalk()
{
    Hits.Explosions.Walk([](Explosion& explosion) {
        QV_DisplayTransparentSprite(ExplosionSprite + explosion.Frames, explosion.X, explosion.Y);
        if (AgeExplosion(explosion))
            QV_DeleteElement(&Hits.Explosions);
    });
}
