// Helpers of the enemy, boss, shot and explosion tests: setting up a fight
// by hand, reading the lists back, finding seeds for the random draws and
// watching the mixer for sound cues.
#pragma once

#include "runtime/core/lists.h"
#include "runtime/core/random.h"
#include "runtime/sound/mixer.h"
#include "tests/game/game_fixture.h"

#include <SDL.h>

#include <functional>
#include <vector>

class CombatTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        QV_FlipBuffers();  // the screen becomes the display target
        BossFight.BossStepDelay = 0;
        BossFight.BossFireChance = 0;
        Waves.EnemyFrame = 1;
        Waves.EnemyFrameDelay = 0;
        Level.FrameParity = 0;
    }

    // Empties every list and frees every bullet slot, so a test sees only
    // the objects it places itself.
    static void ClearBattlefield()
    {
        QV_ClearList(&Waves.Enemies);
        ClearShotsAndExplosions();
        Player.Bullets = {};
    }

    // Play from map row `row`, with nothing in the air.
    static void PlayFromRow(int32_t row)
    {
        StartPlaying();
        RestartScrollAt(row);
        ClearBattlefield();
    }

    // Appends an enemy that takes part at once and returns it.
    static Enemy& PlaceEnemy(Enemy enemy)
    {
        QV_LastElement(&Waves.Enemies);
        QV_AddElement(&Waves.Enemies);
        Enemy& placed = *QV_CurrentRecord<Enemy>(Waves.Enemies);
        placed = enemy;
        return placed;
    }

    static Enemy MakeEnemy(int32_t sprite, int32_t x, int32_t y, int32_t dx, int32_t dy)
    {
        return Enemy{x, y, dx, dy, sprite, 1, 0, -1, 1};
    }

    static void FireBullet(int32_t slot, int32_t x, int32_t y) { Player.Bullets[slot] = Bullet{x, y, 4, 1}; }

    // Makes the next frame a scroll tick (or not).
    static void NextFrameTicks(bool tick) { Level.FrameParity = tick ? 1 : 0; }

    template <class Record>
    static std::vector<Record> Records(QV_List& list)
    {
        std::vector<Record> records;
        for (QV_ListElement* element = list.header->first; element != nullptr; element = element->next)
            records.push_back(*static_cast<Record*>(QV_ElementData(element)));
        return records;
    }

    static std::vector<Explosion> ExplosionRecords() { return Records<Explosion>(Hits.Explosions); }

    static std::vector<EnemyShot> ShotRecords() { return Records<EnemyShot>(Hits.EnemyShots); }

    // Runs frames (through `frameStep`) until `done` holds, at most `limit`
    // frames; returns the number run, or -1 when `done` never held.
    static int RunFramesUntil(const std::function<bool()>& done, int limit, void (*frameStep)() = RunFrame)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            frameStep();
            if (done())
                return frame;
        }
        return -1;
    }

    // A seed whose first draw of QV_Random(range) gives `value`; the
    // generator is left seeded with it.
    static int32_t SeedGivingFirstDraw(int32_t range, int32_t value)
    {
        for (int32_t seed = 1; seed < 1000000; ++seed) {
            QV_RandomSeed(seed);
            if (QV_Random(range) == value) {
                QV_RandomSeed(seed);
                return seed;
            }
        }
        ADD_FAILURE() << "no seed draws " << value << " from 0.." << range;
        return 0;
    }

    // The share of the sprite's non-transparent pixels that show at (x, y),
    // for pictures that explosions or shots may partly cover.
    static double ShownShare(int32_t sprite, int32_t x, int32_t y)
    {
        const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
        int32_t shown = 0;
        int32_t total = 0;
        for (int32_t row = 0; row < record->displayedHeight; ++row) {
            for (int32_t column = 0; column < record->displayedWidth; ++column) {
                const int32_t sx = x + column;
                const int32_t sy = y + row;
                const Uint32 pixel = SpritePixel(sprite, record->clipX + column, record->clipY + row);
                if (pixel == record->colorKey || sx < 0 || sy < 0 || sx >= 640 || sy >= 480)
                    continue;
                ++total;
                shown += ScreenPixel(sx, sy) == pixel ? 1 : 0;
            }
        }
        return total == 0 ? 0.0 : static_cast<double>(shown) / total;
    }

    // ---- Sound cues, read from the mixer ----------------------------------

    // Switches sound on with the built-in sounds loaded. The device stays
    // paused, so a sound started stays on its channel until it is stopped.
    static void StartSoundWithBuiltInSounds()
    {
        Settings.UseAudio = 1;
        ASSERT_NE(QV_InitSound(), nullptr);
        SDL_PauseAudio(1);
        for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
            const BuiltInFile wave = SoundWave(sound);
            ASSERT_EQ(QV_CatchSound(sound, wave.address, wave.size), 1) << "sound " << sound;
        }
    }

    // How many mixer channels are playing the sound.
    static int ChannelsPlaying(int32_t sound)
    {
        int count = 0;
        SDL_LockAudio();
        for (const QV_SoundChannel& channel : tervane::sound::Channels())
            count += channel.sound == sound && channel.remaining > 0 ? 1 : 0;
        SDL_UnlockAudio();
        return count;
    }
};
