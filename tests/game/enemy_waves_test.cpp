#include "tests/game/combat_support.h"

#include <array>

namespace {

using EnemyWavesTest = CombatTest;

constexpr int32_t RecordWords = 10;

// Reads a wave from words laid out here, as the stream would hold them.
template <size_t N>
void ReadWaveFrom(const std::array<int32_t, N>& words)
{
    DataCursor = reinterpret_cast<const uint8_t*>(words.data());
    ReadNextWave();
}

TEST_F(EnemyWavesTest, WaveReadsRecordsInStreamOrderUpToTheEndMarker)
{
    const std::array<int32_t, 22> words{0, 448, 32,  -1, 0, 14, 1, 1, 6,  1,
                                        5,  // an unknown marker is skipped as one word
                                        0, 64,  -32, 0,  1, 20, 2, 3, 13, 1, 9};
    ReadWaveFrom(words);
    ASSERT_EQ(QV_CountList(&Waves.Enemies), 2);
    const std::vector<Enemy> enemies = Records<Enemy>(Waves.Enemies);
    EXPECT_EQ((std::vector<int32_t>{enemies[0].X, enemies[0].Y, enemies[0].DX, enemies[0].DY, enemies[0].Sprite,
                                    enemies[0].HitPoints, enemies[0].Shots, enemies[0].StartRow, enemies[0].Active}),
              (std::vector<int32_t>{448, 32, -1, 0, 14, 1, 1, 6, 1}));
    EXPECT_EQ(enemies[1].Sprite, 20);
    EXPECT_EQ(enemies[1].Shots, 3);
    EXPECT_EQ(DataCursor, reinterpret_cast<const uint8_t*>(words.data() + words.size()));

    const std::array<int32_t, RecordWords> empty{9};
    ReadWaveFrom(empty);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), 0) << "the old wave is replaced";
    EXPECT_EQ(DataCursor, reinterpret_cast<const uint8_t*>(empty.data() + 1));
}

// The end record's nine words after its marker are never read.
TEST_F(EnemyWavesTest, BuiltInWavesFollowEachOther)
{
    struct Wave {
        int32_t offset;
        int32_t enemies;
        int32_t nextOffset;
    };
    for (const Wave wave :
         {Wave{0, 77, Wave2Offset}, Wave{Wave2Offset, 91, Wave3Offset}, Wave{Wave3Offset, 139, WaveStreamBytes}}) {
        DataCursor = WaveStreamStart() + wave.offset;
        ReadNextWave();
        EXPECT_EQ(QV_CountList(&Waves.Enemies), wave.enemies) << "wave at " << wave.offset;
        EXPECT_EQ(DataCursor, WaveStreamStart() + wave.nextOffset - 36);
    }
}

TEST_F(EnemyWavesTest, EnemyWaitsUntilTheMapHasPassedItsStartRow)
{
    ClearBattlefield();
    Enemy& enemy = PlaceEnemy(Enemy{200, 100, 0, 1, 20, 1, 0, 6, 1});
    Level.MapRow = 6;
    Level.ScrollStep = 31;  // the second tick from now starts row 7
    NextFrameTicks(true);
    RunFrames(2);
    ASSERT_EQ(Level.MapRow, 6);
    EXPECT_EQ(enemy.Y, 100) << "waiting at row 6";
    RunFrame();
    ASSERT_EQ(Level.MapRow, 7);
    EXPECT_EQ(enemy.Y, 102) << "the drift of the tick and its own step";
}

TEST_F(EnemyWavesTest, FlyingEnemyMovesEveryFrameAndShowsItsFrameOverItsShadow)
{
    PlayFromRow(40);
    Waves.EnemyFrame = 2;
    Waves.EnemyFrameDelay = 1;
    Enemy& enemy = PlaceEnemy(MakeEnemy(StrikerType, 100, 100, 1, 1));
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(Waves.EnemyFrame, 1) << "the frame advances every second frame, 2 wrapping to 1";
    EXPECT_EQ(enemy.X, 101);
    EXPECT_EQ(enemy.Y, 101);
    EXPECT_TRUE(ScreenShowsKeyed(StrikerType + 1, 101, 101));
    EXPECT_GT(ShownShare(StrikerType, 141, 151), 0.25) << "the shadow, partly under the plane";

    RunFrame();  // a tick: the drift adds to the enemy's own step
    EXPECT_EQ(Waves.EnemyFrame, 1);
    EXPECT_EQ(enemy.Y, 103);
    RunFrame();
    EXPECT_EQ(Waves.EnemyFrame, 2);
    EXPECT_TRUE(ScreenShowsKeyed(StrikerType + 2, enemy.X, enemy.Y));
}

// A ground enemy standing on the map drifts with it, also while a boss holds
// the map, and a moving one takes its steps on the ticks only.
TEST_F(EnemyWavesTest, GroundEnemiesMoveOnScrollTicksOnly)
{
    PlayFromRow(116);
    Level.ScrollY = 416;
    Enemy& standing = PlaceEnemy(MakeEnemy(36, 200, 100, 0, 0));
    Enemy& rolling = PlaceEnemy(MakeEnemy(35, 300, 100, 1, 1));
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(standing.Y, 100);
    EXPECT_EQ(rolling.X, 300);
    RunFrame();
    ASSERT_EQ(BossFight.ActiveBoss, 1) << "the map is held";
    EXPECT_EQ(standing.Y, 101);
    EXPECT_EQ(rolling.X, 301);
    EXPECT_EQ(rolling.Y, 102);
    EXPECT_TRUE(ScreenShowsKeyed(35, 301, 102));
    RunFrames(20);
    EXPECT_EQ(Level.MapRow, 116);
    EXPECT_EQ(standing.Y, 111);
}

TEST_F(EnemyWavesTest, EnemiesLeaveAtTheBottomAndByTheSideOfTheirType)
{
    PlayFromRow(40);
    Enemy& bottom = PlaceEnemy(MakeEnemy(20, 200, 448, 5, 0));
    Enemy& left = PlaceEnemy(MakeEnemy(14, -33, 100, -1, 0));
    Enemy& right = PlaceEnemy(MakeEnemy(31, 449, 100, 0, 0));
    Enemy& noSide = PlaceEnemy(MakeEnemy(35, 449, 100, 1, 0));
    Enemy& inside = PlaceEnemy(MakeEnemy(26, 448, 100, 0, 0));
    NextFrameTicks(true);
    RunFrame();

    EXPECT_EQ(bottom.Active, 0);
    EXPECT_EQ(bottom.X, 200) << "nothing else happens to it";
    EXPECT_EQ(left.Active, 0);
    EXPECT_EQ(left.X, -34) << "still moved in its last frame";
    EXPECT_EQ(right.Active, 0);
    EXPECT_EQ(noSide.Active, 1) << "type 35 has no side exit";
    EXPECT_EQ(noSide.X, 450);
    EXPECT_EQ(inside.Active, 1);

    RunFrame();
    EXPECT_EQ(left.X, -34) << "finished from the next frame";
}

TEST_F(EnemyWavesTest, FlyingEnemyFiresAVolleyTowardsThePlanesSide)
{
    PlayFromRow(40);
    Enemy& below = PlaceEnemy(Enemy{200, 100, 1, 1, 17, 1, 2, -1, 1});
    NextFrameTicks(false);
    SeedGivingFirstDraw(100, 80);
    RunFrame();
    ASSERT_EQ(below.Shots, 1);
    std::vector<EnemyShot> shots = ShotRecords();
    ASSERT_EQ(shots.size(), 2u);
    for (const EnemyShot& shot : shots) {
        EXPECT_EQ(shot.X, 233);
        EXPECT_EQ(shot.Y, 133);
        EXPECT_EQ(shot.Kind, 1);
    }
    EXPECT_EQ((std::vector<int32_t>{shots[0].DX, shots[0].DY, shots[1].DX, shots[1].DY}),
              (std::vector<int32_t>{0, 3, 2, 3}))
        << "downwards, spreading";

    // The same enemy below the plane fires upwards.
    QV_ClearList(&Hits.EnemyShots);
    below.Y = 380;
    Player.PlayerY = 100;
    NextFrameTicks(false);
    SeedGivingFirstDraw(100, 80);
    RunFrame();
    shots = ShotRecords();
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ((std::vector<int32_t>{shots[0].DX, shots[0].DY, shots[1].DX, shots[1].DY}),
              (std::vector<int32_t>{0, -2, -2, -2}));
    EXPECT_EQ(below.Shots, 0);
}

TEST_F(EnemyWavesTest, GroundEnemiesFireLessOftenWithRedShotsFromTheirCentre)
{
    PlayFromRow(40);
    PlaceEnemy(Enemy{100, 100, 0, 0, 34, 3, 1, -1, 1});
    PlaceEnemy(Enemy{300, 100, 0, 0, 29, 3, 1, -1, 1});
    NextFrameTicks(false);
    const int32_t seed = SeedGivingFirstDraw(180, 80);
    QV_Random(180);
    const bool secondDrawFires = QV_Random(180) == 80;
    QV_RandomSeed(seed);
    RunFrame();
    const std::vector<EnemyShot> shots = ShotRecords();
    ASSERT_GE(shots.size(), 2u);
    EXPECT_EQ(shots[0].X, 116) << "small ground units fire from 16, 16";
    EXPECT_EQ(shots[0].Y, 116);
    EXPECT_EQ(shots[0].Kind, 0);
    EXPECT_EQ((std::vector<int32_t>{shots[0].DX, shots[0].DY, shots[1].DX, shots[1].DY}),
              (std::vector<int32_t>{-1, 2, 1, 2}));
    EXPECT_EQ(shots.size(), secondDrawFires ? 4u : 2u);
}

// The fire draw is made inside the area whether or not volleys are left, and
// not made at all outside it.
TEST_F(EnemyWavesTest, FireDrawIsMadeOnlyStrictlyInsideTheArea)
{
    PlayFromRow(40);
    Enemy& spent = PlaceEnemy(Enemy{200, 100, 0, 0, 20, 1, 0, -1, 1});
    NextFrameTicks(false);
    const int32_t seed = SeedGivingFirstDraw(100, 80);
    QV_Random(100);
    const int32_t secondDraw = QV_Random(100);
    QV_RandomSeed(seed);
    RunFrame();
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0) << "no volleys left";
    EXPECT_EQ(QV_Random(100), secondDraw) << "the first draw was taken";

    spent.Shots = 1;
    for (const std::array<int32_t, 2> position :
         {std::array<int32_t, 2>{416, 100}, std::array<int32_t, 2>{32, 100}, std::array<int32_t, 2>{200, 32}}) {
        spent.X = position[0];
        spent.Y = position[1];
        NextFrameTicks(false);
        SeedGivingFirstDraw(100, 80);
        RunFrame();
        EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0) << position[0] << ", " << position[1];
        EXPECT_EQ(QV_Random(100), 80) << "the draw was left for the next caller";
    }
}

TEST_F(EnemyWavesTest, TwoBulletsOnAToughEnemyEachCount)
{
    PlayFromRow(40);
    Enemy& enemy = PlaceEnemy(Enemy{200, 100, 0, 0, 36, 3, 0, -1, 1});
    FireBullet(1, 210, 124);
    FireBullet(2, 220, 124);
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(enemy.HitPoints, 1);
    EXPECT_EQ(enemy.Active, 1);
    EXPECT_EQ(Scoring.Score, 10);
    EXPECT_EQ(Player.Bullets[1].Active, 0);
    EXPECT_EQ(Player.Bullets[2].Active, 0);
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_EQ(explosions.size(), 2u);
    for (const Explosion& explosion : explosions) {
        EXPECT_EQ(explosion.X, 200) << "at the enemy's corner, not the bullet";
        EXPECT_EQ(explosion.Y, 100);
        EXPECT_EQ(explosion.Frames, 3) << "a small one, shown once already";
        EXPECT_EQ(explosion.Delay, 1);
    }
}

// A bullet reaching an enemy that an earlier slot destroyed in this frame
// still hits it, as a hit that does not destroy.
TEST_F(EnemyWavesTest, BulletsAfterTheDestroyingOneStillHit)
{
    PlayFromRow(40);
    Enemy& enemy = PlaceEnemy(MakeEnemy(20, 200, 100, 0, 0));
    FireBullet(1, 210, 124);
    FireBullet(2, 220, 124);
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(enemy.HitPoints, -1);
    EXPECT_EQ(enemy.Active, 0);
    EXPECT_EQ(Scoring.Score, 10);
    EXPECT_EQ(Player.Bullets[2].Active, 0);
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_EQ(explosions.size(), 2u);
    EXPECT_EQ(explosions[0].Delay, 4) << "the destruction";
    EXPECT_EQ(explosions[0].Countdown, 3) << "shown once already";
    EXPECT_EQ(explosions[1].Delay, 1) << "the extra hit";

    FireBullet(1, 210, 124);
    RunFrame();
    EXPECT_EQ(Player.Bullets[1].Active, 1) << "a finished enemy takes no more bullets";
}

TEST_F(EnemyWavesTest, HitSoundsTellADestroyingHitFromOneThatIsNot)
{
    StartSoundWithBuiltInSounds();
    PlayFromRow(40);
    PlaceEnemy(Enemy{100, 100, 0, 0, 36, 3, 0, -1, 1});
    FireBullet(1, 110, 124);
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(ChannelsPlaying(EnemyHitSound), 1);
    EXPECT_EQ(ChannelsPlaying(ExplosionSound), 1);

    PlaceEnemy(MakeEnemy(20, 300, 100, 0, 0));
    FireBullet(2, 310, 124);
    RunFrame();
    EXPECT_EQ(ChannelsPlaying(EnemyHitSound), 2);
    EXPECT_EQ(ChannelsPlaying(ExplosionSound), 1) << "no second explosion sound";
}

TEST_F(EnemyWavesTest, FlyingEnemyRamsThePlaneButAGroundEnemyCannot)
{
    PlayFromRow(40);
    const int32_t gauge = Player.DamageGauge;
    Enemy& ground = PlaceEnemy(MakeEnemy(32, Player.PlayerX, Player.PlayerY, 0, 0));
    NextFrameTicks(false);
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, gauge);
    EXPECT_EQ(ground.Active, 1);

    Enemy& flying = PlaceEnemy(MakeEnemy(26, Player.PlayerX + 60, Player.PlayerY, 0, 0));  // edges touching
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, gauge + 20);
    EXPECT_EQ(flying.Active, 0);
    const std::vector<Explosion> explosions = ExplosionRecords();
    ASSERT_EQ(explosions.size(), 2u);
    // Both were shown once in this frame.
    EXPECT_EQ((std::vector<int32_t>{explosions[0].X, explosions[0].Y, explosions[0].Frames, explosions[0].Countdown}),
              (std::vector<int32_t>{flying.X, flying.Y, 8, 3}));
    EXPECT_EQ((std::vector<int32_t>{explosions[1].X, explosions[1].Y, explosions[1].Frames, explosions[1].Delay}),
              (std::vector<int32_t>{Player.PlayerX, Player.PlayerY, 3, 1}));

    RunFrame();
    EXPECT_EQ(Player.DamageGauge, gauge + 20) << "a finished enemy rams no more";
}

}  // namespace
