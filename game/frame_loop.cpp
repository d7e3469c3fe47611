#include "game/frame_loop.h"

#include "game/assets.h"
#include "game/bosses.h"
#include "game/controls.h"
#include "game/enemy_waves.h"
#include "game/frame_watch.h"
#include "game/game_screen.h"
#include "game/kept_files.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/score.h"
#include "game/screen_marks.h"
#include "game/settings_state.h"
#include "game/setup_notices.h"
#include "game/shots_explosions.h"
#include "game/sound_cues.h"
#include "game/status_panel.h"
#include "runtime/core/random.h"
#include "runtime/gui/windows.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"

FlowState Flow;

namespace {

constexpr int32_t LeaveLoop = 2;

constexpr int32_t BannerX = 140;
constexpr int32_t BannerY = 165;

// The attract pages replay the level from this row, changing page once the
// map has passed AttractRow + AttractRows.
constexpr int32_t AttractStartRow = 5;
constexpr int32_t AttractRestartRow = 15;
constexpr int32_t AttractRows = 5;
constexpr int32_t GetReadyRows = 5;  // the banner shows below this row

// The pause banner, centred on the playfield.
constexpr const char* PausedText = "PAUSED";
constexpr const char* ResumeText = "P to resume";
constexpr int32_t PausedBannerWidth = 136;
constexpr int32_t PausedBannerHeight = 44;
constexpr int32_t PausedBannerX = 240 - PausedBannerWidth / 2;
constexpr int32_t PausedBannerY = 240 - PausedBannerHeight / 2;

// Level-complete fireworks: one in FireworkChance + 1 frames, inside the
// upper playfield.
constexpr int32_t FireworkChance = 30;
constexpr int32_t FireworkDraw = 20;
constexpr int32_t FireworkLeft = 32;
constexpr int32_t FireworkWidth = 380;
constexpr int32_t FireworkTop = 32;
constexpr int32_t FireworkHeight = 200;

bool ShowsGameOver()
{
    return Flow.Phase == GamePhase::GameOver || Flow.Phase == GamePhase::GameOverAtLevelEnd;
}

// ---- Changes of phase -------------------------------------------------------

void ReadFirstWave()
{
    ReadWaveAt(0);
}

void StartPlay()
{
    StopGameSound(TitleMusic);
    PlayMusic(PlayingMusic);
    LoadBosses();
    StartPlane();
    SetDamageGauge(DamageGaugeStart);
    ResetScore();
    Flow.StartPage = ShowsGameOver() ? GamePhase::GameOver : Flow.Phase;
    Flow.Phase = GamePhase::Play;
    NoteGamePlayed();
    RestartScrollAt(0);
    ReadFirstWave();
    ClearShotsAndExplosions();
}

// Alternates the title and credits pages (game over gives way to the title)
// and replays the start of the level under them.
void NextAttractPage()
{
    Flow.Phase = Flow.Phase == GamePhase::Title ? GamePhase::Credits : GamePhase::Title;
    Flow.AttractRow = AttractRestartRow;
    RestartScrollAt(AttractStartRow);
    ReadFirstWave();
}

// The scroll stops on the level's end row, whether the plane is in play or
// was lost on the way there.
void ReachLevelEnd()
{
    if (Flow.Phase == GamePhase::Play)
        Flow.Phase = GamePhase::LevelComplete;
    else if (Flow.Phase == GamePhase::GameOver)
        Flow.Phase = GamePhase::GameOverAtLevelEnd;
}

// The player is destroyed. The upper boss-music layer plays on to its end.
void DeathStep()
{
    AddExplosion(Player.PlayerX - 2, Player.PlayerY, SlowestBurst);
    AddExplosion(Player.PlayerX + 2, Player.PlayerY + 16, SlowBurst);
    Flow.Phase = AtLevelEnd() ? GamePhase::GameOverAtLevelEnd : GamePhase::GameOver;
    ParkPlane();
    StopGameSound(BossMusicLow);
    StopGameSound(PlayingMusic);
    PlayEffect(PlayerDestroyedSound);
    SendActiveBossAway();
    Flow.AttractRow = Level.MapRow;
    Flow.TitleMusicPending = 1;
}

// ---- Steps of the frame -----------------------------------------------------

// The options window is long closed by now; this keeps the toolkit's
// events flowing while the game runs in a window. The frame does not rest
// here: it rests at the flip until it is due, and a second sleep would cost
// a second wake-up each frame.
void HandleWindowEvents()
{
    if (Settings.UseWindow != 0 && QV_WindowEvent() == QV_EventCloseWindow)
        Flow.QuitFlag = LeaveLoop;
}

// The screen's own window reports its close button as an SDL quit request,
// which ends the game as Escape does (and so do SIGINT and SIGTERM, which SDL
// turns into the same request).
FrameControls ExamineControls()
{
    const FrameControls controls = TakeFrameControls(Settings.UseKeys != 0);
    if (controls.leave)
        Flow.QuitFlag = LeaveLoop;
    if (controls.switchScreen && !SwitchScreenMode())
        Flow.QuitFlag = LeaveLoop;
    return controls;
}

// The start key counts by its release, and only on the pages that ask for
// it: a press made elsewhere and let go here does not start a game.
bool StartReleased(const FrameControls& controls)
{
    return Flow.StartRelease.Seen(controls.startHeld ? 1 : 0) != 0;
}

void ScrollStepOfFrame()
{
    if (!StartScrollFrame())
        return;
    if (const int32_t boss = BossAtStopRow(); boss != 0)
        StopForBoss(boss);
    if (ScrollTick(BossFight.ActiveBoss != 0))
        ReachLevelEnd();
}

void DrawTitlePage()
{
    if (Flow.Phase == GamePhase::Title) {
        QV_DisplayTransparentSprite(TitlePicture, 70, 120);
        ForgetBosses();
    } else if (Flow.Phase == GamePhase::Credits) {
        QV_DisplayTransparentSprite(CreditsPicture, 64, 64);
    } else {
        QV_DisplayTransparentSprite(GameOverBanner, BannerX, BannerY);
    }
}

void TitleStep(const FrameControls& controls)
{
    DrawTitlePage();
    if (Flow.TitleMusicPending != 0 && !ShowsGameOver()) {
        Flow.TitleMusicPending = 0;
        PlayMusic(TitleMusic);
    }
    if (StartReleased(controls)) {
        StartPlay();
        return;
    }
    if (Level.MapRow > Flow.AttractRow + AttractRows)
        NextAttractPage();
}

void LaunchFirework()
{
    PlayEffect(ExplosionSound);
    const int32_t x = QV_Random(FireworkWidth) + FireworkLeft;
    const int32_t y = QV_Random(FireworkHeight) + FireworkTop;
    AddExplosion(x, y, Blast);
}

void LevelEndStep(const FrameControls& controls)
{
    QV_DisplayTransparentSprite(LevelCompletePicture, 70, 100);
    if (QV_Random(FireworkChance) == FireworkDraw)
        LaunchFirework();
    if (StartReleased(controls)) {
        StopGameSound(PlayingMusic);
        NewGame();
    }
}

// Only a plane in play can die.
void DamageStep()
{
    if (AddFrameDamage() && PlaneInPlay())
        DeathStep();
}

// One line of the banner, centred across it, in the front colour.
void DrawBannerLine(const char* text, int32_t y)
{
    QV_Locate(PausedBannerX + (PausedBannerWidth - QV_TextLength(text)) / 2, PausedBannerY + y);
    QV_DrawText(text);
}

void DrawPausedBanner()
{
    QV_StartDrawing(QV_ScreenOutput());
    DrawPlate(PausedBannerX, PausedBannerY, PausedBannerWidth, PausedBannerHeight);
    QV_FrontColor(255, 255, 255);
    DrawBannerLine(PausedText, 10);
    QV_FrontColor(160, 170, 180);
    DrawBannerLine(ResumeText, 26);
    QV_StopDrawing();
}

// Waits out a pause, switching the screen as often as Alt+Enter asks; true
// when play goes on, false when the game ends.
bool StayPaused()
{
    for (;;) {
        switch (WaitWhilePaused()) {
        case PauseEnd::Resume: return true;
        case PauseEnd::Leave: return false;
        case PauseEnd::SwitchScreen:
            if (!SwitchPausedScreen())
                return false;
        }
    }
}

// R on the title page ends this run, kept, to watch the last one.
void AskToWatchLastRun()
{
    if (!KeptRunToWatch()) {
        ShowNote("NO RUN KEPT YET");
        return;
    }
    Flow.WatchLast = true;
    Flow.QuitFlag = LeaveLoop;
}

// Drawn after the frame's digest, like the pause banner: what the player's
// own settings file says changes no frame of a run.
void DrawSetupNotices()
{
    if (Flow.Phase == GamePhase::Title)
        DrawStartKeyPrompt(false);
    else if (Flow.Phase == GamePhase::Credits)
        DrawCreditsControls();
    else if (AtLevelEnd())
        DrawStartKeyPrompt(true);
    if (!PlaneInPlay())
        DrawRefusedSettings();
}

}  // namespace

bool AtLevelEnd()
{
    return Flow.Phase == GamePhase::LevelComplete || Flow.Phase == GamePhase::GameOverAtLevelEnd;
}

bool PlaneInPlay()
{
    return Flow.Phase == GamePhase::Play || Flow.Phase == GamePhase::LevelComplete;
}

void NewGame()
{
    LoadBosses();
    Flow.TitleMusicPending = 1;
    RestartScrollAt(AttractStartRow);
    Flow.AttractRow = AttractRestartRow;
    SetDamageGauge(DamageGaugeIdle);
    ParkPlane();
    Flow.QuitFlag = 0;
    Flow.Phase = Flow.StartPage;
    ReadFirstWave();
}

void RunFrame()
{
    HandleWindowEvents();
    const FrameControls controls = ExamineControls();
    if (PlaneInPlay())
        PlayerInputStep(controls.player.X, controls.player.Y, controls.player.Fire);
    ScrollStepOfFrame();
    // No clear: the map, the frame strips and the panel cover every pixel.
    DrawLevelMap();
    if (const std::optional<int32_t> nextWave = BossStep())
        ReadWaveAt(*nextWave);
    EnemyShotWalk();
    BulletStep();
    EnemyStep();
    if (PlaneInPlay())
        PlayerDrawStep();
    else
        TitleStep(controls);
    if (AtLevelEnd())
        LevelEndStep(controls);
    ExplosionWalk();
    DrawPanelFrame();
    UpdateProgressMarker();
    DamageStep();
    if (Level.MapRow < GetReadyRows)
        QV_DisplayTransparentSprite(GetReadyBanner, BannerX, BannerY);
    RaiseHiScoreToScore();
    DrawGaugesAndScores();
    if (controls.credits)
        DrawCreditsLine();
    EndScrollFrame();
    WatchFrame();
    if (controls.screenshot)
        TakeScreenshot();
    if (controls.watchLast && Flow.Phase == GamePhase::Title)
        AskToWatchLastRun();
    DrawSetupNotices();
    DrawScreenMarks();
    // The banner goes over the frame after its digest: a paused run shows
    // the same frames as one never paused.
    const bool pausing = PlaneInPlay() && controls.pause;
    if (pausing)
        DrawPausedBanner();
    QV_FlipBuffers();
    if (pausing && !StayPaused())
        Flow.QuitFlag = LeaveLoop;
}

void RunFrameLoop()
{
    while (Flow.QuitFlag == 0 && ControlledFramesLeft())
        RunFrame();
}
