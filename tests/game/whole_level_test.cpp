// Long scenarios: the whole level played from the start to its end, and a
// long run of scripted play and attract pages under the sanitizers.
#include "tests/game/combat_support.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int32_t PlaneWidth = 60;
constexpr int32_t GunsCentre = 32;  // the two guns' bullets straddle PlayerX + 32

// Holds the arrow keys and Space the way a player would: a key goes down
// when the plane should start moving that way and comes up when it should
// stop.
class Pilot {
public:
    ~Pilot()
    {
        Hold(SDLK_LEFT, false);
        Hold(SDLK_RIGHT, false);
        Hold(SDLK_UP, false);
        Hold(SDLK_DOWN, false);
        Hold(SDLK_SPACE, false);
    }

    void Fire(bool on) { Hold(SDLK_SPACE, on); }

    // Steers so that the guns' bullets meet x.
    void SteerUnder(int32_t x)
    {
        const int32_t target = std::clamp(x - GunsCentre, 32, 386);
        Hold(SDLK_LEFT, Player.PlayerX > target);
        Hold(SDLK_RIGHT, Player.PlayerX < target);
    }

    void Steer(bool left, bool right, bool up, bool down)
    {
        Hold(SDLK_LEFT, left);
        Hold(SDLK_RIGHT, right);
        Hold(SDLK_UP, up);
        Hold(SDLK_DOWN, down);
    }

private:
    void Hold(int32_t key, bool down)
    {
        bool& held = held_[key];
        if (held == down)
            return;
        held = down;
        if (down)
            PushKeyDown(key);
        else
            PushKeyUp(key);
    }

    bool held_[QV_KEYBOARD_KEYS] = {};
};

class WholeLevelTest : public CombatTest {
protected:
    // The largest list lengths seen, for the bound checks.
    int32_t mostShots_ = 0;
    int32_t mostExplosions_ = 0;

    void RunWatchedFrame()
    {
        RunFrame();
        mostShots_ = std::max(mostShots_, QV_CountList(&Hits.EnemyShots));
        mostExplosions_ = std::max(mostExplosions_, QV_CountList(&Hits.Explosions));
    }
};

TEST_F(WholeLevelTest, PlaneFliesThroughAllThreeBossesToTheEndOfTheLevel)
{
    StartPlaying();
    Pilot pilot;
    pilot.Fire(true);

    int32_t bossesDestroyed = 0;
    int32_t previousBoss = 0;
    int32_t frames = 0;
    while (!AtLevelEnd()) {
        ASSERT_LT(++frames, 40000) << "stuck at row " << Level.MapRow << " with boss " << BossFight.ActiveBoss;
        if (BossFight.ActiveBoss >= 1) {
            const Boss& boss = BossFight.Bosses[BossFight.ActiveBoss];
            pilot.SteerUnder(boss.X + boss.CentreX);
        } else {
            pilot.SteerUnder(PlayfieldLeft + 208);
        }
        Player.DamageGauge = DamageGaugeStart;
        RunWatchedFrame();
        ASSERT_TRUE(PlaneInPlay()) << "the plane was lost at row " << Level.MapRow;

        if (previousBoss >= 1 && BossFight.ActiveBoss == 0) {
            ++bossesDestroyed;
            SCOPED_TRACE(::testing::Message() << "boss " << previousBoss << " at frame " << frames);
            EXPECT_EQ(BossFight.Bosses[previousBoss].Sprite, previousBoss == 3 ? 72 : 57) << "the wreck picture";
            switch (previousBoss) {
            case 1:
                EXPECT_EQ(QV_CountList(&Waves.Enemies), 91) << "wave 2";
                EXPECT_EQ(Player.BulletSlots, 10);
                break;
            case 2:
                EXPECT_EQ(QV_CountList(&Waves.Enemies), 139) << "wave 3";
                EXPECT_EQ(Player.PlayerSpeed, 2);
                break;
            default:
                EXPECT_EQ(Player.BulletSlots, 0);
                EXPECT_EQ(Player.PlayerSpeed, 1);
                break;
            }
        }
        previousBoss = BossFight.ActiveBoss;
    }
    std::printf("level completed in %d frames, score %d\n", frames, Scoring.Score);
    EXPECT_EQ(bossesDestroyed, 3);
    EXPECT_EQ(Level.MapRow, LevelEndRow);
    EXPECT_GE(Scoring.Score, 250 + 500 + 750 + 5 * (50 + 80 + 120 - 3));

    RunFrames(3);
    EXPECT_GT(ShownShare(75, 70, 100), 0.8) << "the level-complete picture";
    EXPECT_EQ(Level.MapRow, LevelEndRow) << "the scroll stays at the end";

    pilot.Fire(false);
    TapKey(SDLK_s);
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_FALSE(AtLevelEnd());
    EXPECT_EQ(Level.MapRow, 5);
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_GT(ShownShare(54, 70, 120), 0.9) << "back on the title page";
}

// Attract pages, games lost to enemies, and a long shielded game into the
// first boss fight and past it: the lists stay bounded and the sanitizers
// stay quiet.
TEST_F(WholeLevelTest, LongRunOfPlayAndAttractPagesKeepsItsListsBounded)
{
    std::mt19937 script(20240611);
    Pilot pilot;
    int32_t frames = 0;
    int32_t gamesLost = 0;
    // Random steering and fire, changed every 24 frames; a shielded plane
    // goes under the boss in a fight.
    auto play = [&](int count, bool shielded) {
        for (int frame = 0; frame < count && PlaneInPlay(); ++frame, ++frames) {
            if (frame % 24 == 0) {
                const uint32_t move = script();
                pilot.Steer(move & 1, move & 2, move & 4, move & 8);
                pilot.Fire(move & 16);
            }
            if (shielded) {
                Player.DamageGauge = DamageGaugeStart;
                if (BossFight.ActiveBoss >= 1) {
                    pilot.SteerUnder(BossFight.Bosses[BossFight.ActiveBoss].X +
                                     BossFight.Bosses[BossFight.ActiveBoss].CentreX);
                    pilot.Fire(true);
                }
            }
            RunWatchedFrame();
        }
    };
    auto attract = [&](int count) {
        pilot.Steer(false, false, false, false);
        pilot.Fire(false);
        for (int frame = 0; frame < count; ++frame, ++frames)
            RunWatchedFrame();
    };

    attract(1500);
    while (frames < 6000) {
        TapKey(SDLK_s);
        frames += 2;
        play(2500, false);
        gamesLost += PlaneInPlay() ? 0 : 1;
        if (PlaneInPlay())
            Player.DamageGauge = DamageGaugeEnd + 1;  // a survivor is lost all the same
        attract(500);
    }
    TapKey(SDLK_s);
    frames += 2;
    play(20000 - frames, true);

    std::printf("%d frames, %d games lost, at most %d shots and %d explosions, row %d\n", frames, gamesLost, mostShots_,
                mostExplosions_, Level.MapRow);
    EXPECT_GE(frames, 20000);
    EXPECT_GE(gamesLost, 1);
    EXPECT_EQ(BossFight.Bosses[1].Sprite, 57) << "the shielded game got past the first boss";
    EXPECT_LT(mostShots_, 100);
    EXPECT_LT(mostExplosions_, 100);
}

}  // namespace
