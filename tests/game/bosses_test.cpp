#include "tests/game/combat_support.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

class BossesTest : public CombatTest {
protected:
    // Play at boss `number`'s stop row; the next frame's tick starts the fight.
    static void ReachStopRow(int32_t number)
    {
        PlayFromRow(BossStopRows[number - 1]);
        Level.ScrollY = MapBaseY;
        NextFrameTicks(true);
    }

    static void StartFight(int32_t number)
    {
        ReachStopRow(number);
        RunFrame();
        ASSERT_EQ(BossFight.ActiveBoss, number);
        ASSERT_EQ(BossFight.ShownBoss, number);
    }

    // Runs a frame with the plane kept alive against the boss's shots.
    static void RunShieldedFrame()
    {
        Player.DamageGauge = DamageGaugeStart;
        RunFrame();
    }

    static void RunShieldedFrames(int count)
    {
        for (int frame = 0; frame < count; ++frame)
            RunShieldedFrame();
    }

    static int RunShieldedFramesUntil(const std::function<bool()>& done, int limit)
    {
        return RunFramesUntil(done, limit, RunShieldedFrame);
    }

    static Boss& Fought() { return BossFight.Bosses[BossFight.ActiveBoss]; }

    // A bullet in slot 1 at the boss's centre, tested in the next frame.
    static void AimBulletAtBoss(const Boss& boss) { FireBullet(1, boss.X + boss.CentreX, boss.Y + boss.CentreY); }
};

using Velocity = std::pair<int32_t, int32_t>;

// The turning rows of a swinging boss, from its first turn at the bottom on.
struct SwingRange {
    bool turned = false;
    int32_t top = 1000;
    int32_t bottom = -1000;

    void Record(const Boss& boss)
    {
        turned = turned || boss.DY < 0;
        if (!turned)
            return;
        top = std::min(top, boss.Y);
        bottom = std::max(bottom, boss.Y);
    }
};

std::vector<int32_t> Fields(const Boss& boss)
{
    return {boss.X, boss.Y, boss.DX, boss.DY, boss.DamagedAt, boss.HitPoints, boss.CentreX, boss.CentreY, boss.Sprite};
}

TEST_F(BossesTest, BossRecordsAreReadAfreshFromTheTable)
{
    BossFight.Bosses[1].HitPoints = 3;
    BossFight.Bosses[3].X = 99;
    LoadBosses();
    EXPECT_EQ(Fields(BossFight.Bosses[1]), (std::vector<int32_t>{190, -128, 0, 1, 25, 50, 45, 45, 55}));
    EXPECT_EQ(Fields(BossFight.Bosses[2]), (std::vector<int32_t>{190, -128, 0, 1, 40, 80, 45, 45, 55}));
    EXPECT_EQ(Fields(BossFight.Bosses[3]), (std::vector<int32_t>{448, 150, -1, 0, 60, 120, 123, 30, 70}));
    EXPECT_EQ(DataCursor, BossTableStart() + BossTableBytes);
}

TEST_F(BossesTest, BossOneComesDownWithoutFiringThenSwingsAndFires)
{
    StartFight(1);
    const int32_t entryStart = Fought().Y;
    int frames = 0;
    while (Fought().Y <= -16) {
        RunShieldedFrame();
        ++frames;
        ASSERT_EQ(QV_CountList(&Hits.EnemyShots), 0) << "fired at y " << Fought().Y;
    }
    EXPECT_NEAR(frames, 2 * (Fought().Y - entryStart), 1) << "one pixel every second frame";

    // Each shot starts at the boss's centre and is moved once in its first
    // frame.
    std::set<std::pair<int32_t, int32_t>> velocities;
    SwingRange swing;
    int32_t shotsSeen = 0;
    for (int frame = 0; frame < 1200; ++frame) {
        const int32_t shotsBefore = QV_CountList(&Hits.EnemyShots);
        RunShieldedFrame();
        swing.Record(Fought());
        if (QV_CountList(&Hits.EnemyShots) > shotsBefore && BossFight.BossFireChance == 4) {
            const EnemyShot& shot = *static_cast<EnemyShot*>(QV_ElementData(Hits.EnemyShots.header->last));
            EXPECT_EQ(shot.X - shot.DX, Fought().X + 45);
            EXPECT_EQ(shot.Y - shot.DY, Fought().Y + 45);
            EXPECT_EQ(shot.Kind, 0);
            velocities.insert({shot.DX, shot.DY});
            ++shotsSeen;
        }
    }
    EXPECT_GT(shotsSeen, 10);
    EXPECT_EQ(swing.top, 63);
    EXPECT_EQ(swing.bottom, 201);
    const std::set<Velocity> table{{-2, 0}, {-1, 2}, {-2, 2}, {0, 2}, {1, 2}, {2, 2}, {2, 0}};
    EXPECT_TRUE(std::includes(table.begin(), table.end(), velocities.begin(), velocities.end()));
    EXPECT_NE(Fought().X, 190) << "the boss wanders sideways";
    EXPECT_EQ(Level.MapRow, BossStopRows[0]) << "the map waits for the fight";
}

// Its one odd step on the way in (the table's DY 1, before the first turn
// doubles it) keeps it on odd rows.
TEST_F(BossesTest, BossTwoSwingsTwiceAsFast)
{
    StartFight(2);
    SwingRange swing;
    for (int frame = 0; frame < 900; ++frame) {
        RunShieldedFrame();
        swing.Record(Fought());
        if (swing.turned) {
            ASSERT_EQ(std::abs(Fought().DY), 2);
        }
    }
    EXPECT_EQ(swing.top, 63);
    EXPECT_EQ(swing.bottom, 201);
}

TEST_F(BossesTest, BossThreeSailsInFromTheRightFiringOnlyOnceInsideAndStopsAtNinetyNine)
{
    StartFight(3);
    const std::set<Velocity> table{{-2, 0}, {-1, 2},  {-2, 2},  {0, 2},  {1, 2}, {2, 2},
                                   {2, 0},  {-1, -2}, {-2, -2}, {1, -2}, {2, -2}};
    std::set<QV_ListElement*> previous;
    int32_t shotsSeen = 0;
    for (int frame = 0; frame < 1200; ++frame) {
        RunShieldedFrame();
        std::set<QV_ListElement*> current;
        for (QV_ListElement* element = Hits.EnemyShots.header->first; element != nullptr; element = element->next) {
            current.insert(element);
            if (previous.count(element) != 0)
                continue;
            const EnemyShot& shot = *static_cast<EnemyShot*>(QV_ElementData(element));
            ASSERT_LT(Fought().X, 288) << "fired while sailing in";
            const int32_t startX = shot.X - shot.DX;
            EXPECT_GE(startX, Fought().X);
            EXPECT_LE(startX, Fought().X + 246) << "anywhere along the ship";
            EXPECT_EQ(shot.Y - shot.DY, Fought().Y + 30);
            EXPECT_EQ(table.count({shot.DX, shot.DY}), 1u) << shot.DX << ", " << shot.DY;
            ++shotsSeen;
        }
        previous = current;
    }
    EXPECT_EQ(Fought().X, 99);
    EXPECT_EQ(Fought().Y, 150);
    EXPECT_GT(shotsSeen, 10);
}

TEST_F(BossesTest, BossOneTurnsDamagedAtItsHalfAndFallsToItsFiftiethHit)
{
    StartFight(1);
    RunShieldedFramesUntil([] { return Fought().Y > 100; }, 1000);
    const int32_t scoreBefore = Scoring.Score;

    for (int hit = 1; hit <= 24; ++hit) {
        AimBulletAtBoss(Fought());
        RunShieldedFrame();
        ASSERT_EQ(Player.Bullets[1].Active, 0) << "hit " << hit;
    }
    EXPECT_EQ(Fought().HitPoints, 26);
    EXPECT_EQ(Fought().Sprite, 55);
    EXPECT_EQ(Scoring.Score, scoreBefore + 24 * 5);

    // The 25th hit changes the picture, which shows from the next frame on.
    RunShieldedFrames(5);
    FireBullet(1, Fought().X, Fought().Y + 97);
    RunShieldedFrame();
    EXPECT_EQ(Fought().Sprite, 56);
    EXPECT_GT(ShownShare(55, Fought().X, Fought().Y), ShownShare(56, Fought().X, Fought().Y));
    RunShieldedFrames(5);
    EXPECT_GT(ShownShare(56, Fought().X, Fought().Y), 0.9);
    EXPECT_GT(ShownShare(56, Fought().X, Fought().Y), ShownShare(55, Fought().X, Fought().Y));

    for (int hit = 26; hit <= 49; ++hit) {
        AimBulletAtBoss(Fought());
        RunShieldedFrame();
    }
    ASSERT_EQ(Fought().HitPoints, 1);
    const int32_t scoreAfterHits = Scoring.Score;
    QV_ClearList(&Hits.Explosions);
    Boss& boss = BossFight.Bosses[1];
    AimBulletAtBoss(boss);
    RunShieldedFrame();

    EXPECT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(BossFight.ShownBoss, 1);
    EXPECT_EQ(Scoring.Score, scoreAfterHits + 250) << "no 5 points for the last hit";
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    EXPECT_EQ(boss.Sprite, 57);
    EXPECT_EQ(boss.DX, 0);
    EXPECT_EQ(boss.DY, 1);
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_EQ(explosions.size(), 4u);
    const int32_t cx = boss.X + 45;  // it moves before it is hit, not after
    const int32_t cy = boss.Y + 45;
    const std::vector<std::vector<int32_t>> expected{
        {cx, cy, 8, 10}, {cx - 22, cy, 8, 8}, {cx + 22, cy, 8, 6}, {cx, cy + 22, 8, 6}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ((std::vector<int32_t>{explosions[i].X, explosions[i].Y, explosions[i].Frames, explosions[i].Delay}),
                  expected[i])
            << "explosion " << i;
    }

    // The reward, the next wave, and the scroll moving on.
    EXPECT_EQ(Player.BulletSlots, 10);
    EXPECT_EQ(Player.PlayerSpeed, 1);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), 91);
    EXPECT_EQ(DataCursor, WaveStreamStart() + Wave3Offset - 36) << "past wave 2's end marker";
    EXPECT_EQ(BossFight.BossMusicCounter, 0);
    EXPECT_EQ(Level.ScrollY, MapBaseY + 1);
    ASSERT_GT(RunShieldedFramesUntil([] { return Level.MapRow == 117; }, 70), 0);

    // The wreck sinks out of sight and is then left alone.
    ASSERT_GT(RunShieldedFramesUntil([&boss] { return boss.Y >= 500; }, 1000), 0);
    RunShieldedFrames(4);
    EXPECT_EQ(boss.Y, 500);
}

TEST_F(BossesTest, TwoBulletsCostTwoHitPointsUnlessTheFirstDestroys)
{
    StartFight(1);
    RunShieldedFramesUntil([] { return Fought().Y > 100; }, 1000);
    Fought().HitPoints = 3;
    AimBulletAtBoss(Fought());
    FireBullet(2, Player.Bullets[1].X + 10, Player.Bullets[1].Y);
    RunShieldedFrame();
    EXPECT_EQ(Fought().HitPoints, 1);

    AimBulletAtBoss(Fought());
    FireBullet(2, Player.Bullets[1].X + 10, Player.Bullets[1].Y);
    RunShieldedFrame();
    EXPECT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    EXPECT_EQ(Player.Bullets[2].Active, 1) << "the second bullet flies on";
}

TEST_F(BossesTest, BossTwoGivesSpeedAndTheThirdWaveAndBossThreeTakesTheGuns)
{
    StartFight(2);
    RunShieldedFramesUntil([] { return Fought().Y > 100; }, 1000);
    Fought().HitPoints = 1;
    const int32_t score = Scoring.Score;
    AimBulletAtBoss(Fought());
    RunShieldedFrame();
    ASSERT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(Scoring.Score, score + 500);
    EXPECT_EQ(Player.PlayerSpeed, 2);
    EXPECT_EQ(Player.BulletSlots, 10);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), 139);

    StartFight(3);  // 's' does nothing during play: the game goes on
    const int32_t scoreBefore3 = Scoring.Score;
    Fought().HitPoints = 1;
    PlaceEnemy(MakeEnemy(20, 100, -64, 0, 0));
    const int32_t enemies = QV_CountList(&Waves.Enemies);
    AimBulletAtBoss(Fought());
    RunShieldedFrame();
    ASSERT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(Scoring.Score, scoreBefore3 + 750);
    EXPECT_EQ(Player.PlayerSpeed, 1);
    EXPECT_EQ(Player.BulletSlots, 0);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), enemies) << "no new wave";
}

TEST_F(BossesTest, BossMusicStartsOnceAtTheStartOfAFight)
{
    StartSoundWithBuiltInSounds();
    StartFight(1);
    EXPECT_EQ(BossFight.BossMusicCounter, 1);
    EXPECT_EQ(ChannelsPlaying(BossMusicLow), 1);
    EXPECT_EQ(ChannelsPlaying(BossMusicHigh), 1);
    RunShieldedFrames(5);
    EXPECT_EQ(BossFight.BossMusicCounter, 3);
    EXPECT_EQ(ChannelsPlaying(BossMusicLow), 1) << "not started again";
    EXPECT_EQ(ChannelsPlaying(BossMusicHigh), 1);

    Fought().HitPoints = 1;
    AimBulletAtBoss(Fought());
    RunShieldedFrame();
    ASSERT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(ChannelsPlaying(BossMusicLow), 0);
    EXPECT_EQ(ChannelsPlaying(BossMusicHigh), 0);
    EXPECT_EQ(ChannelsPlaying(BossDestroyedSound), 1);
}

// A counter that a death left standing keeps the next fight silent.
TEST_F(BossesTest, FightAfterADeathInAFightHasNoMusic)
{
    StartSoundWithBuiltInSounds();
    ReachStopRow(2);
    BossFight.BossMusicCounter = 4;
    RunFrame();
    ASSERT_EQ(BossFight.ActiveBoss, 2);
    EXPECT_EQ(BossFight.BossMusicCounter, 5);
    RunShieldedFrames(3);
    EXPECT_EQ(ChannelsPlaying(BossMusicLow), 0);
    EXPECT_EQ(ChannelsPlaying(BossMusicHigh), 0);
}

// After a death a few rows before a stop row the scroll behind the game-over
// page reaches that row, and the boss flies in with no plane in play.
TEST_F(BossesTest, BossFliesInBehindTheGameOverPage)
{
    PlayFromRow(BossStopRows[0] - 3);
    Player.DamageGauge = DamageGaugeEnd + 1;
    RunFrame();
    ASSERT_FALSE(PlaneInPlay());
    ASSERT_GT(RunFramesUntil([] { return BossFight.ActiveBoss == 1; }, 4 * 64), 0);
    EXPECT_EQ(Flow.Phase, GamePhase::GameOver);
    RunFrames(300);
    EXPECT_EQ(Level.MapRow, BossStopRows[0]) << "held until a new game";
    EXPECT_GT(Fought().Y, -16);
    EXPECT_EQ(Flow.Phase, GamePhase::GameOver);
}

}  // namespace
