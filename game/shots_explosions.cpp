#include "game/shots_explosions.h"

#include "game/bosses.h"
#include "game/frame_loop.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/settings.h"
#include "runtime/screen/sprites.h"
#include "runtime/sound/sound.h"

QV_List EnemyShots;
QV_List Explosions;

namespace {

// Shots live inside this square; one that moves out of it is gone.
constexpr int32_t ShotAreaLow = 24;
constexpr int32_t ShotAreaHigh = 448;

constexpr int32_t ShotSprite = 37;
constexpr int32_t ExplosionSprite = 39;
constexpr int32_t ShotDamage = 10;

constexpr int32_t PlayerHitSound = 2;
constexpr int32_t PlayerDestroyedSound = 4;
constexpr int32_t PlayMusic = 6;
constexpr int32_t BossMusicLow = 7;

bool ShotHitsPlayer(const EnemyShot& shot)
{
    return QV_SpritePixelCollision(ShotSprite + shot.Kind, shot.X, shot.Y,
                                   PlayerFrame + 4, PlayerX, PlayerY) != 0;
}

bool ShotOutsideArea(const EnemyShot& shot)
{
    return shot.X < ShotAreaLow || shot.X > ShotAreaHigh
        || shot.Y < ShotAreaLow || shot.Y > ShotAreaHigh;
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

} // namespace

void PlayGameSound(int32_t sound, int32_t mode)
{
    if (UseAudio != 0)
        QV_PlaySound2(sound, mode);
}

void StopGameSound(int32_t sound)
{
    if (UseAudio != 0)
        QV_StopSound(sound);
}

void AddExplosion(int32_t x, int32_t y, int32_t frames, int32_t delay)
{
    if (QV_AddElement(&Explosions) == nullptr)
        return;
    *QV_CurrentRecord<Explosion>(Explosions) = Explosion{x, y, frames, delay, delay};
}

void AddEnemyShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t kind)
{
    if (QV_AddElement(&EnemyShots) == nullptr)
        return;
    *QV_CurrentRecord<EnemyShot>(EnemyShots) = EnemyShot{x, y, dx, dy, kind};
}

// A deletion moves the list's cursor back, so the walk's next step reaches
// the following element; after deleting the first element it passes over
// the new first one instead, which then waits a frame.
void EnemyShotWalk()
{
    QV_ResetList(&EnemyShots);
    while (QV_NextElement(&EnemyShots) != nullptr) {
        EnemyShot& shot = *QV_CurrentRecord<EnemyShot>(EnemyShots);
        QV_DisplayTransparentSprite(ShotSprite + shot.Kind, shot.X, shot.Y);
        if (ShotHitsPlayer(shot)) {
            PlayGameSound(PlayerHitSound, 0);
            AddExplosion(PlayerX, PlayerY, 4, 1);
            // The gauge takes a shot at once; only the damage step compares it.
            DamageGauge += ShotDamage;
            QV_DeleteElement(&EnemyShots);
            continue;
        }
        shot.X += shot.DX;
        shot.Y += shot.DY;
        if (ShotOutsideArea(shot))
            QV_DeleteElement(&EnemyShots);
    }
}

void ExplosionWalk()
{
    QV_ResetList(&Explosions);
    while (QV_NextElement(&Explosions) != nullptr) {
        Explosion& explosion = *QV_CurrentRecord<Explosion>(Explosions);
        QV_DisplayTransparentSprite(ExplosionSprite + explosion.Frames, explosion.X, explosion.Y);
        if (AgeExplosion(explosion))
            QV_DeleteElement(&Explosions);
    }
}

void DeathStep()
{
    AddExplosion(PlayerX - 2, PlayerY, 8, 10);
    AddExplosion(PlayerX + 2, PlayerY + 16, 8, 8);
    TitleMode += 1;
    PlayerX = ParkedPlayerX;
    PlayerY = ParkedPlayerY;
    // The upper boss-music layer plays on to its end.
    StopGameSound(BossMusicLow);
    StopGameSound(PlayMusic);
    PlayGameSound(PlayerDestroyedSound, 0);
    // A boss being fought sinks away without a reward, and the scroll moves
    // on because ScrollY no longer matches the stop test.
    if (ActiveBoss >= 1)
        Bosses[ActiveBoss].DY = 1;
    ActiveBoss = 0;
    ScrollY += 1;
    AttractRow = MapRow;
    TitlePage = 2;
    TitleMusicPending = 1;
}
