#include "tests/game/game_fixture.h"

#include "runtime/gui/windows.h"

#include <gtk/gtk.h>

namespace {

constexpr int32_t FirstWaveEnemies = 77;

using FrameLoopTest = GameTest;

TEST_F(FrameLoopTest, NewGameOpensTheAttractPagesAndTheFirstFrameIsOnlyCleared)
{
    EXPECT_EQ(TitleMode, 1);
    EXPECT_EQ(TitlePage, 0);
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(AttractRow, 15);
    EXPECT_EQ(PlayerX, ParkedPlayerX);
    EXPECT_EQ(PlayerY, ParkedPlayerY);
    EXPECT_EQ(QV_CountList(&Enemies), FirstWaveEnemies);

    RunFrame();
    EXPECT_TRUE(ScreenIsBlack()) << "nothing has a display target before the first flip";
    EXPECT_EQ(TitleMusicPending, 0);
    EXPECT_EQ(DamageGauge, DamageGaugeEnd) << "clamped without a death";
    EXPECT_EQ(TitleMode, 1);

    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(54, 70, 120)) << "title picture";
    EXPECT_TRUE(ScreenShowsOpaque(1, 0, 0)) << "top frame strip";
    EXPECT_FALSE(ScreenShowsKeyed(49, 140, 165)) << "no get-ready banner from row 5";
}

TEST_F(FrameLoopTest, AttractPagesAlternateEachTimeTheMapPassesRow20)
{
    ActiveBoss = 2;
    ShownBoss = 2;
    MapRow = 20;
    ScrollStep = 0;
    RunFrame();
    EXPECT_EQ(TitlePage, 0);
    EXPECT_EQ(MapRow, 20);
    EXPECT_EQ(ActiveBoss, 0) << "the title page keeps bosses out of the attract pages";
    EXPECT_EQ(ShownBoss, 0);

    MapRow = 21;
    QV_ClearList(&Enemies);
    RunFrame();
    EXPECT_EQ(TitlePage, 1);
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(AttractRow, 15);
    EXPECT_EQ(QV_CountList(&Enemies), FirstWaveEnemies) << "the first wave is read again";
    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(53, 64, 64)) << "credits picture";

    MapRow = 21;
    RunFrame();
    EXPECT_EQ(TitlePage, 0);
}

TEST_F(FrameLoopTest, GameOverPageGivesWayToTheTitlePageAndItsMusic)
{
    TitlePage = 2;
    TitleMusicPending = 1;
    AttractRow = 100;
    MapRow = 105;
    RunFrames(2);
    EXPECT_EQ(TitlePage, 2);
    EXPECT_TRUE(ScreenShowsKeyed(50, 140, 165)) << "game-over banner";
    EXPECT_EQ(TitleMusicPending, 1) << "the title music waits while game over shows";

    MapRow = 106;
    RunFrame();
    EXPECT_EQ(TitlePage, 0);
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(TitleMusicPending, 1);
    RunFrame();
    EXPECT_EQ(TitleMusicPending, 0);
}

TEST_F(FrameLoopTest, ReleasingSStartsPlayAndShowsTheGetReadyBanner)
{
    TitlePage = 1;
    Score = 95;
    BulletSlots = 0;
    Bullets[1] = Bullet{100, 200, 4, 1};
    AddExplosion(100, 100, 8, 4);
    AddEnemyShot(100, 100, 0, 1, 0);
    RunFrame();
    PushKeyDown(SDLK_s);
    RunFrame();
    EXPECT_EQ(TitleMode, 1) << "play starts on the release, not the press";
    PushKeyUp(SDLK_s);
    RunFrame();

    EXPECT_EQ(TitleMode, 0);
    EXPECT_EQ(PlayerX, 192);
    EXPECT_EQ(PlayerY, 360);
    EXPECT_EQ(PlayerSpeed, 1);
    EXPECT_EQ(BulletSlots, 2);
    EXPECT_EQ(GunSide, 0);
    EXPECT_EQ(PlayerFrame, 1);
    EXPECT_EQ(PlayerFrameDelay, 1);
    EXPECT_EQ(DamageGauge, DamageGaugeStart);
    EXPECT_EQ(ProgressX, 490) << "recomputed in the same frame";
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(MapRow, 0);
    EXPECT_EQ(LevelEnd, 0);
    EXPECT_EQ(ActiveBoss, 0);
    EXPECT_EQ(ShownBoss, 0);
    EXPECT_EQ(TitlePage, 1) << "the page is not reset";
    EXPECT_EQ(QV_CountList(&Explosions), 0);
    EXPECT_EQ(QV_CountList(&EnemyShots), 0);
    EXPECT_EQ(QV_CountList(&Enemies), FirstWaveEnemies);
    EXPECT_EQ(Bosses[1].HitPoints, 50);
    EXPECT_EQ(Bullets[1].Active, 1) << "bullets in flight are kept";
    EXPECT_EQ(Bullets[1].Y, 200);
    EXPECT_TRUE(ScreenShowsKeyed(49, 140, 165)) << "get-ready banner";

    RunFrame();
    EXPECT_EQ(Bullets[1].Y, 196) << "the kept bullet flies on";
    MapRow = 5;
    RunFrame();
    EXPECT_FALSE(ScreenShowsKeyed(49, 140, 165)) << "the banner is gone from row 5";
}

TEST_F(FrameLoopTest, SDuringPlayIsNotLookedAt)
{
    StartPlaying();
    MapRow = 40;
    Score = 30;
    TapKey(SDLK_s);
    EXPECT_EQ(TitleMode, 0);
    EXPECT_EQ(MapRow, 40);
    EXPECT_EQ(Score, 30);
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopOnlyAfterTheFrameIsPresented)
{
    PushKeyDown(SDLK_ESCAPE);
    RunFrame();
    EXPECT_EQ(QuitFlag, 0);
    ASSERT_EQ(FrameParity, 1);
    PushKeyUp(SDLK_ESCAPE);
    RunFrameLoop();
    EXPECT_EQ(QuitFlag, 2);
    EXPECT_EQ(FrameParity, 0) << "the frame ran to its end";
    EXPECT_TRUE(ScreenShowsOpaque(1, 0, 0)) << "and was presented";
}

TEST_F(FrameLoopTest, ClosingTheWindowEndsTheLoopLikeEscape)
{
    StartPlaying();
    PushQuitRequest();
    RunFrameLoop();
    EXPECT_EQ(QuitFlag, 2);
    EXPECT_EQ(TitleMode, 0);
}

// Only a game in a window takes the window layer's events: full screen
// leaves a close pending, a window then ends the loop on it.
TEST_F(FrameLoopTest, AWindowCloseEndsTheLoopOnlyWhenPlayingInAWindow)
{
    QV_InitWindow();
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 60, 60, 0, "Closing");
    ASSERT_NE(window, nullptr) << "needs an X display";
    gtk_window_close(GTK_WINDOW(window));
    RunFrames(20);
    EXPECT_EQ(QuitFlag, 0);
    EXPECT_EQ(QV_WindowID2(0), window) << "full screen takes no window events";

    UseWindow = 1;
    for (int frame = 0; frame < 100 && QuitFlag == 0; ++frame)
        RunFrame();
    EXPECT_EQ(QuitFlag, 2);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    QV_FreeWindows();
}

TEST_F(FrameLoopTest, GaugeOverflowInPlayEndsTheGameOnTheGameOverPage)
{
    StartPlaying();
    MapRow = 40;
    DamageGauge = DamageGaugeEnd + 1;
    RunFrame();
    EXPECT_EQ(DamageGauge, DamageGaugeEnd);
    EXPECT_EQ(TitleMode, 1);
    EXPECT_EQ(TitlePage, 2);
    EXPECT_EQ(AttractRow, 40);
    EXPECT_EQ(PlayerX, ParkedPlayerX);
    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(50, 140, 165)) << "game-over banner";
}

TEST_F(FrameLoopTest, GaugeOverflowOutOfPlayOnlyClamps)
{
    RunFrame();
    const int32_t explosions = QV_CountList(&Explosions);
    DamageGauge = DamageGaugeEnd + 40;
    RunFrame();
    EXPECT_EQ(DamageGauge, DamageGaugeEnd);
    EXPECT_EQ(TitlePage, 0);
    EXPECT_EQ(QV_CountList(&Explosions), explosions);
}

class LevelEndTest : public GameTest {
protected:
    // Play at the end row, with no enemy left to add explosions of its own.
    void ReachLevelEnd()
    {
        StartPlaying();
        QV_ClearList(&Enemies);
        MapRow = LevelEndRow;
        RunFrames(2);  // one of them is a scroll tick
        ASSERT_EQ(LevelEnd, 1);
    }
};

TEST_F(LevelEndTest, LevelCompletePictureWithFireworksInTheUpperPlayfield)
{
    ReachLevelEnd();
    QV_ClearList(&Explosions);
    RunFrame();
    if (QV_CountList(&Explosions) == 0) {
        EXPECT_TRUE(ScreenShowsKeyed(75, 70, 100)) << "level-complete picture";
    }

    int32_t fireworks = 0;
    for (int frame = 0; frame < 620; ++frame) {
        QV_ClearList(&Explosions);
        RunFrame();
        if (QV_CountList(&Explosions) == 0)
            continue;
        ++fireworks;
        ASSERT_EQ(QV_CountList(&Explosions), 1);
        QV_ResetList(&Explosions);
        QV_NextElement(&Explosions);
        const Explosion& firework = *QV_CurrentRecord<Explosion>(Explosions);
        EXPECT_GE(firework.X, 32);
        EXPECT_LE(firework.X, 412);
        EXPECT_GE(firework.Y, 32);
        EXPECT_LE(firework.Y, 232);
        EXPECT_EQ(firework.Delay, 4);
    }
    // One in 31 frames on average: 20 expected.
    EXPECT_GT(fireworks, 5);
    EXPECT_LT(fireworks, 45);
    EXPECT_EQ(MapRow, LevelEndRow);
}

TEST_F(LevelEndTest, ReleasingSAtTheLevelEndStartsANewGame)
{
    TitlePage = 1;
    ReachLevelEnd();
    TapKey(SDLK_s);
    EXPECT_EQ(TitleMode, 1);
    EXPECT_EQ(LevelEnd, 0);
    EXPECT_EQ(MapRow, 5);
    EXPECT_EQ(DamageGauge, DamageGaugeEnd);
    EXPECT_EQ(TitlePage, 1) << "the attract pages resume where that game was started";
}

} // namespace
