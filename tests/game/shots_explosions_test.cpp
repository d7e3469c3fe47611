#include "tests/game/combat_support.h"

namespace {

using ShotsAndExplosionsTest = CombatTest;

// A shot placed where the plane is, so the next shot walk finds the hit.
void ShootAtPlayer()
{
    AddEnemyShot(Player.PlayerX + 20, Player.PlayerY + 20, 0, 0, RedShot);
}

TEST_F(ShotsAndExplosionsTest, ExplosionsRunBackwardsThroughTheirPictures)
{
    ClearBattlefield();
    QV_ClearList(&Waves.Enemies);
    AddExplosion(200, 330, HitFlash);
    for (int32_t picture = 43; picture >= 40; --picture) {
        RunFrame();
        EXPECT_TRUE(ScreenShowsKeyed(picture, 200, 330)) << "picture " << picture;
        EXPECT_FALSE(ScreenShowsKeyed(picture + 1, 200, 330)) << "picture " << picture + 1;
    }
    EXPECT_EQ(QV_CountList(&Hits.Explosions), 0);

    AddExplosion(100, 330, Blast);
    for (int32_t picture = 47; picture >= 40; --picture) {
        for (int repeat = 0; repeat < 4; ++repeat) {
            RunFrame();
            ASSERT_TRUE(ScreenShowsKeyed(picture, 100, 330)) << "picture " << picture << ", frame " << repeat;
        }
    }
    EXPECT_EQ(QV_CountList(&Hits.Explosions), 0) << "gone after 32 frames";
}

// A walk that deletes the first element moves past the element after it.
TEST_F(ShotsAndExplosionsTest, DeletingTheFirstExplosionHoldsBackTheNextOneAFrame)
{
    ClearBattlefield();
    QV_ResetList(&Hits.Explosions);
    AddExplosion(40, 40, {1, 1});     // ends in this walk
    AddExplosion(80, 40, HitFlash);   // passed over
    AddExplosion(120, 40, HitFlash);  // aged as usual
    ExplosionWalk();

    std::vector<Explosion> left = ExplosionRecords();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].X, 80);
    EXPECT_EQ(left[0].Frames, 4);
    EXPECT_EQ(left[1].Frames, 3);

    ExplosionWalk();
    left = ExplosionRecords();
    EXPECT_EQ(left[0].Frames, 3);
    EXPECT_EQ(left[1].Frames, 2);
}

TEST_F(ShotsAndExplosionsTest, NewExplosionsGoAfterTheListsCurrentElement)
{
    ClearBattlefield();
    AddExplosion(1, 1, Blast);
    AddExplosion(2, 2, Blast);
    ExplosionWalk();  // leaves the cursor on the last element
    AddExplosion(3, 3, HitFlash);
    const std::vector<Explosion> records = ExplosionRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].X, 3);
    EXPECT_EQ(records[2].Countdown, 1) << "the countdown starts at the delay";
}

TEST_F(ShotsAndExplosionsTest, ShotIsDrawnAtEachPositionAndDeletedOnceItsYPasses448)
{
    ClearBattlefield();
    AddEnemyShot(200, 440, 0, 2, YellowShot);
    for (int32_t y = 440; y <= 446; y += 2) {
        RunFrame();
        ASSERT_EQ(QV_CountList(&Hits.EnemyShots), 1) << "drawn at " << y;
        // The bottom frame strip, drawn later, covers it from y 448 on.
        if (y + 6 <= 448) {
            EXPECT_EQ(ShownShare(38, 200, y), 1.0) << y;
        } else {
            EXPECT_GT(ShownShare(38, 200, y), 0.0) << y;
        }
    }
    ASSERT_EQ(ShotRecords()[0].Y, 448) << "still inside";
    RunFrame();
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0) << "drawn at 448, deleted as its Y becomes 450";

    AddEnemyShot(25, 200, -2, 0, RedShot);
    EnemyShotWalk();
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0) << "X 23 is outside";
}

TEST_F(ShotsAndExplosionsTest, ShotHitsThePlaneBeforeItMoves)
{
    PlayFromRow(40);
    const int32_t gauge = Player.DamageGauge;
    AddEnemyShot(Player.PlayerX - 6, Player.PlayerY - 6, 0, 0, 0);  // corners touching
    EnemyShotWalk();
    EXPECT_EQ(Player.DamageGauge, gauge + 10) << "the gauge takes a shot at once";
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0);
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ(explosions[0].X, Player.PlayerX);
    EXPECT_EQ(explosions[0].Y, Player.PlayerY);
    EXPECT_EQ(explosions[0].Frames, 4);
    EXPECT_EQ(explosions[0].Delay, 1);

    AddEnemyShot(Player.PlayerX - 7, Player.PlayerY, 0, 0, 0);  // one pixel apart
    EnemyShotWalk();
    EXPECT_EQ(Player.DamageGauge, gauge + 10);
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 1);
}

TEST_F(ShotsAndExplosionsTest, ShotAfterADeletedFirstShotIsNeitherMovedNorTested)
{
    PlayFromRow(40);
    const int32_t gauge = Player.DamageGauge;
    ShootAtPlayer();
    ShootAtPlayer();
    AddEnemyShot(100, 100, 1, 1, 0);
    EnemyShotWalk();
    EXPECT_EQ(Player.DamageGauge, gauge + 10) << "only the first shot counted";
    const std::vector<EnemyShot> shots = ShotRecords();
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].X, Player.PlayerX + 20);
    EXPECT_EQ(shots[1].X, 101);
}

TEST_F(ShotsAndExplosionsTest, ThePlaneSurvivesThirteenShotHitsAndDiesAtTheFourteenth)
{
    PlayFromRow(40);
    for (int hit = 1; hit <= 13; ++hit) {
        ShootAtPlayer();
        RunFrame();
    }
    EXPECT_EQ(Player.DamageGauge, 620);
    ASSERT_TRUE(PlaneInPlay());

    const int32_t x = Player.PlayerX;
    const int32_t y = Player.PlayerY;
    ShootAtPlayer();
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, 625) << "damage past the end is lost";
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_EQ(Player.PlayerX, 640);
    EXPECT_EQ(Player.PlayerY, 480);
    EXPECT_EQ(Flow.Phase, GamePhase::GameOver);
    EXPECT_EQ(Flow.AttractRow, Level.MapRow);
    EXPECT_EQ(Flow.TitleMusicPending, 1);

    // The two explosions of the death come last and are first drawn in the
    // next frame.
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_GE(explosions.size(), 2u);
    const Explosion& first = explosions[explosions.size() - 2];
    const Explosion& second = explosions.back();
    EXPECT_EQ((std::vector<int32_t>{first.X, first.Y, first.Frames, first.Delay}),
              (std::vector<int32_t>{x - 2, y, 8, 10}));
    EXPECT_EQ((std::vector<int32_t>{second.X, second.Y, second.Frames, second.Delay}),
              (std::vector<int32_t>{x + 2, y + 16, 8, 8}));
    EXPECT_EQ(first.Countdown, 10);

    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(GameOverBanner, 140, 165)) << "the game-over banner";

    // The title page follows once the map has moved six rows on.
    ASSERT_GT(RunFramesUntil([] { return Flow.Phase != GamePhase::GameOver; }, 7 * 64), 0);
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(Level.MapRow, 5);
}

TEST_F(ShotsAndExplosionsTest, SixRamsAndTwoShotsDestroyThePlane)
{
    PlayFromRow(40);
    for (int ram = 1; ram <= 6; ++ram) {
        PlaceEnemy(MakeEnemy(20, Player.PlayerX, Player.PlayerY, 0, 0));
        RunFrame();
    }
    EXPECT_EQ(Player.DamageGauge, 610);
    ShootAtPlayer();
    RunFrame();
    EXPECT_TRUE(PlaneInPlay());
    ShootAtPlayer();
    RunFrame();
    EXPECT_FALSE(PlaneInPlay());
}

TEST_F(ShotsAndExplosionsTest, ShotAndRamInOneFrameCountTogetherAndTheExcessIsLost)
{
    PlayFromRow(40);
    Player.DamageGauge = 600;
    ShootAtPlayer();
    PlaceEnemy(MakeEnemy(17, Player.PlayerX, Player.PlayerY, 0, 0));
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, 625);
    EXPECT_FALSE(PlaneInPlay());
}

TEST_F(ShotsAndExplosionsTest, DeathDuringABossFightSendsTheBossAwayAndFreesTheScroll)
{
    PlayFromRow(116);
    Level.ScrollY = 416;
    BossFight.ActiveBoss = BossFight.ShownBoss = 1;
    BossFight.BossMusicCounter = 7;
    BossFight.Bosses[1].Y = 150;
    BossFight.Bosses[1].DY = -1;
    NextFrameTicks(false);
    Player.DamageGauge = 625;
    ShootAtPlayer();
    RunFrame();
    ASSERT_FALSE(PlaneInPlay());
    EXPECT_EQ(BossFight.ActiveBoss, 0);
    EXPECT_EQ(BossFight.ShownBoss, 1) << "the boss stays in sight as it sinks";
    EXPECT_EQ(BossFight.Bosses[1].DY, 1);
    EXPECT_EQ(Level.ScrollY, 417);
    EXPECT_EQ(BossFight.BossMusicCounter, 7) << "a death does not reset the counter";

    const int32_t row = Level.MapRow;
    RunFrames(70);
    EXPECT_GT(Level.MapRow, row) << "the map scrolls on";
}

TEST_F(ShotsAndExplosionsTest, DeathStopsTheMusicButTheUpperBossLayerPlaysOn)
{
    StartSoundWithBuiltInSounds();
    PlayFromRow(40);
    PlayMusic(PlayingMusic);
    PlayMusic(BossMusicLow);
    PlayMusic(BossMusicHigh);
    Player.DamageGauge = 625;
    ShootAtPlayer();
    RunFrame();
    ASSERT_FALSE(PlaneInPlay());
    EXPECT_EQ(ChannelsPlaying(PlayingMusic), 0);
    EXPECT_EQ(ChannelsPlaying(BossMusicLow), 0);
    EXPECT_EQ(ChannelsPlaying(BossMusicHigh), 1);
    EXPECT_EQ(ChannelsPlaying(PlayerDestroyedSound), 1);
    EXPECT_EQ(ChannelsPlaying(ExplosionSound), 1) << "the shot's hit";
}

TEST_F(ShotsAndExplosionsTest, NoSoundIsPlayedWhileSoundIsOff)
{
    StartSoundWithBuiltInSounds();
    Settings.UseAudio = 0;
    PlayEffect(PlayerDestroyedSound);
    EXPECT_EQ(ChannelsPlaying(PlayerDestroyedSound), 0);
    Settings.UseAudio = 1;
    PlayEffect(PlayerDestroyedSound);
    Settings.UseAudio = 0;
    StopGameSound(PlayerDestroyedSound);
    EXPECT_EQ(ChannelsPlaying(PlayerDestroyedSound), 1);
}

}  // namespace
