#include "tests/game/game_fixture.h"

#include "runtime/gui/windows.h"

#include <gtk/gtk.h>

namespace {

constexpr int32_t FirstWaveEnemies = 77;

using FrameLoopTest = GameTest;

TEST_F(FrameLoopTest, NewGameOpensTheAttractPagesAndTheFirstFrameIsOnlyCleared)
{
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Flow.AttractRow, 15);
    EXPECT_EQ(Player.PlayerX, ParkedPlayerX);
    EXPECT_EQ(Player.PlayerY, ParkedPlayerY);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), FirstWaveEnemies);

    RunFrame();
    EXPECT_TRUE(ScreenIsBlack()) << "nothing has a display target before the first flip";
    EXPECT_EQ(Flow.TitleMusicPending, 0);
    EXPECT_EQ(Player.DamageGauge, DamageGaugeEnd) << "clamped without a death";
    EXPECT_FALSE(PlaneInPlay());

    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(TitlePicture, 70, 120)) << "title picture";
    EXPECT_TRUE(ScreenShowsOpaque(TopStripSprite, 0, 0)) << "top frame strip";
    EXPECT_FALSE(ScreenShowsKeyed(GetReadyBanner, 140, 165)) << "no get-ready banner from row 5";
}

// Frames are drawn without a clear, so nothing of the last frame may show
// through at any scroll position.
TEST_F(FrameLoopTest, TheMapTheStripsAndThePanelCoverEveryPixel)
{
    QV_FlipBuffers();  // the screen becomes the display target
    const Uint32 leftOver = SDL_MapRGB(QV_Screen_Current->format, 1, 2, 3);
    for (const int32_t row : {0, LevelEndRow}) {
        for (const int32_t scrollY : {MapBaseY, MapBaseY + 1, MapBaseY + TileSize - 1, MapBaseY + TileSize}) {
            QV_ClearScreen(1, 2, 3);
            Level.MapRow = row;
            Level.ScrollY = scrollY;
            DrawLevelMap();
            DrawPanelFrame();
            for (int32_t y = 0; y < 480; ++y) {
                for (int32_t x = 0; x < 640; ++x)
                    ASSERT_NE(ScreenPixel(x, y), leftOver) << x << ", " << y << " at row " << row << ", " << scrollY;
            }
        }
    }
}

TEST_F(FrameLoopTest, AttractPagesAlternateEachTimeTheMapPassesRow20)
{
    BossFight.ActiveBoss = 2;
    BossFight.ShownBoss = 2;
    Level.MapRow = 20;
    Level.ScrollStep = 0;
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(Level.MapRow, 20);
    EXPECT_EQ(BossFight.ActiveBoss, 0) << "the title page keeps bosses out of the attract pages";
    EXPECT_EQ(BossFight.ShownBoss, 0);

    Level.MapRow = 21;
    QV_ClearList(&Waves.Enemies);
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Credits);
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Flow.AttractRow, 15);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), FirstWaveEnemies) << "the first wave is read again";
    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(CreditsPicture, 64, 64)) << "credits picture";

    Level.MapRow = 21;
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
}

TEST_F(FrameLoopTest, GameOverPageGivesWayToTheTitlePageAndItsMusic)
{
    Flow.Phase = GamePhase::GameOver;
    Flow.TitleMusicPending = 1;
    Flow.AttractRow = 100;
    Level.MapRow = 105;
    RunFrames(2);
    EXPECT_EQ(Flow.Phase, GamePhase::GameOver);
    EXPECT_TRUE(ScreenShowsKeyed(GameOverBanner, 140, 165)) << "game-over banner";
    EXPECT_EQ(Flow.TitleMusicPending, 1) << "the title music waits while game over shows";

    Level.MapRow = 106;
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Flow.TitleMusicPending, 1);
    RunFrame();
    EXPECT_EQ(Flow.TitleMusicPending, 0);
}

TEST_F(FrameLoopTest, ReleasingSStartsPlayAndShowsTheGetReadyBanner)
{
    Flow.Phase = GamePhase::Credits;
    Scoring.Score = 95;
    Player.BulletSlots = 0;
    Player.Bullets[1] = Bullet{100, 200, 4, 1};
    AddExplosion(100, 100, Blast);
    AddEnemyShot(100, 100, 0, 1, RedShot);
    RunFrame();
    PushKeyDown(SDLK_s);
    RunFrame();
    EXPECT_FALSE(PlaneInPlay()) << "play starts on the release, not the press";
    PushKeyUp(SDLK_s);
    RunFrame();

    EXPECT_TRUE(PlaneInPlay());
    EXPECT_EQ(Scoring.Score, 0);
    EXPECT_EQ(Level.MapRow, 0);
    EXPECT_EQ(Flow.StartPage, GamePhase::Credits) << "the page play began from is kept for the next game";
    EXPECT_EQ(QV_CountList(&Hits.Explosions), 0);
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), FirstWaveEnemies);
    EXPECT_EQ(BossFight.Bosses[1].HitPoints, 50);
    EXPECT_EQ(Player.Bullets[1].Active, 1) << "bullets in flight are kept";
    EXPECT_TRUE(ScreenShowsKeyed(GetReadyBanner, 140, 165)) << "get-ready banner";

    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(PlaneSprite, 192, 360)) << "the plane's first frame at its start";
    EXPECT_TRUE(ScreenShowsOpaque(MarkerSprite, DamageGaugeStart, 281)) << "no damage yet";
    EXPECT_EQ(Player.Bullets[1].Y, 196) << "the kept bullet flies on";
    Level.MapRow = 5;
    RunFrame();
    EXPECT_FALSE(ScreenShowsKeyed(GetReadyBanner, 140, 165)) << "the banner is gone from row 5";
}

TEST_F(FrameLoopTest, SDuringPlayIsNotLookedAt)
{
    StartPlaying();
    Level.MapRow = 40;
    Scoring.Score = 30;
    TapKey(SDLK_s);
    EXPECT_TRUE(PlaneInPlay());
    EXPECT_EQ(Level.MapRow, 40);
    EXPECT_EQ(Scoring.Score, 30);
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopOnlyAfterTheFrameIsPresented)
{
    PushKeyDown(SDLK_ESCAPE);
    RunFrame();
    EXPECT_EQ(Flow.QuitFlag, 0);
    ASSERT_EQ(Level.FrameParity, 1);
    PushKeyUp(SDLK_ESCAPE);
    RunFrameLoop();
    EXPECT_EQ(Flow.QuitFlag, 2);
    EXPECT_EQ(Level.FrameParity, 0) << "the frame ran to its end";
    EXPECT_TRUE(ScreenShowsOpaque(TopStripSprite, 0, 0)) << "and was presented";
}

// A tap quicker than a frame brings its press and its release to one
// examination, where the keyboard would never see the key held: the release
// waits for the next frame, so the tap counts as a slower one does.
TEST_F(FrameLoopTest, TapsQuickerThanAFrameStillStartAndLeave)
{
    RunFrame();
    PushKeyDown(SDLK_s);
    PushKeyUp(SDLK_s);
    RunFrame();
    EXPECT_EQ(QV_KeyboardPushed(SDLK_s), 1) << "the press is seen first";
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::Play);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_s), 0);

    // Two taps in one frame are one tap, and Escape's counts as well.
    PushKeyDown(SDLK_ESCAPE);
    PushKeyUp(SDLK_ESCAPE);
    PushKeyDown(SDLK_ESCAPE);
    PushKeyUp(SDLK_ESCAPE);
    RunFrame();
    EXPECT_EQ(Flow.QuitFlag, 0);
    RunFrame();
    EXPECT_EQ(Flow.QuitFlag, 2);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_ESCAPE), 0) << "nothing is left for later frames";
    RunFrame();
    EXPECT_EQ(QV_KeyboardPushed(SDLK_ESCAPE), 0);
}

TEST_F(FrameLoopTest, ClosingTheWindowEndsTheLoopLikeEscape)
{
    StartPlaying();
    PushQuitRequest();
    RunFrameLoop();
    EXPECT_EQ(Flow.QuitFlag, 2);
    EXPECT_TRUE(PlaneInPlay());
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
    EXPECT_EQ(Flow.QuitFlag, 0);
    EXPECT_EQ(QV_WindowID2(0), window) << "full screen takes no window events";

    Settings.UseWindow = 1;
    for (int frame = 0; frame < 100 && Flow.QuitFlag == 0; ++frame)
        RunFrame();
    EXPECT_EQ(Flow.QuitFlag, 2);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    QV_FreeWindows();
}

TEST_F(FrameLoopTest, GaugeOverflowInPlayEndsTheGameOnTheGameOverPage)
{
    StartPlaying();
    Level.MapRow = 40;
    Player.DamageGauge = DamageGaugeEnd + 1;
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, DamageGaugeEnd);
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_EQ(Flow.Phase, GamePhase::GameOver);
    EXPECT_EQ(Flow.AttractRow, 40);
    EXPECT_EQ(Player.PlayerX, ParkedPlayerX);
    RunFrame();
    EXPECT_TRUE(ScreenShowsKeyed(GameOverBanner, 140, 165)) << "game-over banner";
}

TEST_F(FrameLoopTest, GaugeOverflowOutOfPlayOnlyClamps)
{
    RunFrame();
    const int32_t explosions = QV_CountList(&Hits.Explosions);
    Player.DamageGauge = DamageGaugeEnd + 40;
    RunFrame();
    EXPECT_EQ(Player.DamageGauge, DamageGaugeEnd);
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(QV_CountList(&Hits.Explosions), explosions);
}

class LevelEndTest : public GameTest {
protected:
    // Play at the end row, with no enemy left to add explosions of its own.
    void ReachLevelEnd()
    {
        StartPlaying();
        QV_ClearList(&Waves.Enemies);
        Level.MapRow = LevelEndRow;
        RunFrames(2);  // one of them is a scroll tick
        ASSERT_TRUE(AtLevelEnd());
    }
};

TEST_F(LevelEndTest, LevelCompletePictureWithFireworksInTheUpperPlayfield)
{
    ReachLevelEnd();
    QV_ClearList(&Hits.Explosions);
    RunFrame();
    if (QV_CountList(&Hits.Explosions) == 0) {
        EXPECT_TRUE(ScreenShowsKeyed(LevelCompletePicture, 70, 100)) << "level-complete picture";
    }

    int32_t fireworks = 0;
    for (int frame = 0; frame < 620; ++frame) {
        QV_ClearList(&Hits.Explosions);
        RunFrame();
        if (QV_CountList(&Hits.Explosions) == 0)
            continue;
        ++fireworks;
        ASSERT_EQ(QV_CountList(&Hits.Explosions), 1);
        QV_ResetList(&Hits.Explosions);
        QV_NextElement(&Hits.Explosions);
        const Explosion& firework = *QV_CurrentRecord<Explosion>(Hits.Explosions);
        EXPECT_GE(firework.X, 32);
        EXPECT_LE(firework.X, 412);
        EXPECT_GE(firework.Y, 32);
        EXPECT_LE(firework.Y, 232);
        EXPECT_EQ(firework.Delay, 4);
    }
    // One in 31 frames on average: 20 expected.
    EXPECT_GT(fireworks, 5);
    EXPECT_LT(fireworks, 45);
    EXPECT_EQ(Level.MapRow, LevelEndRow);
}

TEST_F(LevelEndTest, ReleasingSAtTheLevelEndStartsANewGame)
{
    Flow.Phase = GamePhase::Credits;
    ReachLevelEnd();
    TapKey(SDLK_s);
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_FALSE(AtLevelEnd());
    EXPECT_EQ(Level.MapRow, 5);
    EXPECT_EQ(Player.DamageGauge, DamageGaugeEnd);
    EXPECT_EQ(Flow.Phase, GamePhase::Credits) << "the attract pages resume where that game was started";
}

// A plane lost on the level's end row leaves the scroll stopped there, so
// the attract pages never come back on their own.
TEST_F(LevelEndTest, APlaneLostAtTheLevelEndLeavesBothPicturesUntilSStartsPlay)
{
    Flow.Phase = GamePhase::Credits;
    ReachLevelEnd();
    Player.DamageGauge = DamageGaugeEnd + 1;
    RunFrame();
    EXPECT_EQ(Flow.Phase, GamePhase::GameOverAtLevelEnd);
    EXPECT_TRUE(AtLevelEnd());
    RunFrames(100);
    EXPECT_EQ(Flow.Phase, GamePhase::GameOverAtLevelEnd);
    EXPECT_EQ(Level.MapRow, LevelEndRow);

    TapKey(SDLK_s);
    EXPECT_EQ(Flow.Phase, GamePhase::Play);
    EXPECT_EQ(Level.MapRow, 0);
    EXPECT_EQ(Flow.StartPage, GamePhase::GameOver) << "a completed level returns to the game-over page";
}

}  // namespace
