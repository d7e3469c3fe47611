#include "game/frame_loop.h"

#include "game/assets.h"
#include "game/bosses.h"
#include "game/controls.h"
#include "game/enemy_waves.h"
#include "game/frame_watch.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/settings.h"
#include "game/shots_explosions.h"
#include "game/status_panel.h"
#include "runtime/core/lists.h"
#include "runtime/core/random.h"
#include "runtime/gui/windows.h"
#include "runtime/screen/drawing.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"

#include <SDL.h>

int32_t QuitFlag = 0;
int32_t TitleMode = 0;
int32_t TitlePage = 0;
int32_t AttractRow = 0;
int32_t TitleMusicPending = 0;
int32_t FrameParity = 0;
int32_t FrameDamage = 0;
int32_t DamageGauge = 0;

namespace {

constexpr int32_t LeaveLoop = 2;

constexpr int32_t StartKey = SDLK_s;
constexpr int32_t CreditsKey = SDLK_F12;

// Title pages and their pictures.
constexpr int32_t TitlePicturePage = 0;
constexpr int32_t CreditsPage = 1;
constexpr int32_t GameOverPage = 2;
constexpr int32_t TitlePicture = 54;
constexpr int32_t CreditsPicture = 53;
constexpr int32_t GameOverBanner = 50;
constexpr int32_t GetReadyBanner = 49;
constexpr int32_t LevelCompletePicture = 75;
constexpr int32_t BannerX = 140;
constexpr int32_t BannerY = 165;

// The attract pages replay the level from this row, changing page once the
// map has passed AttractRow + AttractRows.
constexpr int32_t AttractStartRow = 5;
constexpr int32_t AttractRestartRow = 15;
constexpr int32_t AttractRows = 5;
constexpr int32_t GetReadyRows = 5;  // the banner shows below this row

constexpr int32_t PlayMusic = 6;
constexpr int32_t TitleMusic = 8;
constexpr int32_t ExplosionSound = 2;
constexpr int32_t MusicMode = 1;
constexpr int32_t EffectMode = 0;

// Out of play the gauge holds a value past its end, clamped in the first
// frame without a death.
constexpr int32_t DamageGaugeIdle = 999;

// The pause banner, centred on the playfield.
constexpr const char* PausedText = "PAUSED";
constexpr const char* ResumeText = "P to resume";
constexpr int32_t PausedBannerWidth = 136;
constexpr int32_t PausedBannerHeight = 44;
constexpr int32_t PausedBannerX = 240 - PausedBannerWidth / 2;
constexpr int32_t PausedBannerY = 240 - PausedBannerHeight / 2;

// Start-of-play values of the plane.
constexpr int32_t StartPlayerX = 192;
constexpr int32_t StartPlayerY = 360;
constexpr int32_t StartBulletSlots = 2;

// Level-complete fireworks: one in FireworkChance + 1 frames, inside the
// upper playfield.
constexpr int32_t FireworkChance = 30;
constexpr int32_t FireworkDraw = 20;
constexpr int32_t FireworkLeft = 32;
constexpr int32_t FireworkWidth = 380;
constexpr int32_t FireworkTop = 32;
constexpr int32_t FireworkHeight = 200;
constexpr int32_t FireworkFrames = 8;
constexpr int32_t FireworkDelay = 4;

void ReadFirstWave()
{
    DataCursor = WaveStreamStart();
    ReadNextWave();
}

// The options window is long closed by now; this keeps the toolkit's
// events flowing while the game runs in a window. A timedemo runs unpaced,
// so it does not rest.
void HandleWindowEvents()
{
    if (UseWindow == 0)
        return;
    if (QV_WindowEvent() == QV_EventCloseWindow)
        QuitFlag = LeaveLoop;
    else if (!TimingFrames())
        QV_Delay(1);
}

// The screen's own window reports its close button as an SDL quit request,
// which ends the game as Escape does (and so do SIGINT and SIGTERM, which SDL
// turns into the same request).
void ExamineControls()
{
    TakeFrameInput(UseKeys != 0);
    if (QV_KeyboardReleased(SDLK_ESCAPE) != 0 || QV_KeyboardQuitRequested() != 0)
        QuitFlag = LeaveLoop;
}

void ScrollStepOfFrame()
{
    FrameParity += 1;
    if (FrameParity >= 2)
        ScrollTick();
}

void StartPlay()
{
    StopGameSound(TitleMusic);
    PlayGameSound(PlayMusic, MusicMode);
    LoadBosses();
    ActiveBoss = 0;
    ShownBoss = 0;
    GunSide = 0;
    BulletSlots = StartBulletSlots;
    PlayerFrame = 1;
    PlayerFrameDelay = 1;
    PlayerX = StartPlayerX;
    PlayerY = StartPlayerY;
    PlayerSpeed = 1;
    DamageGauge = DamageGaugeStart;
    ProgressX = 0;
    TitleMode = 0;
    Score = 0;
    MapRow = 0;
    LevelEnd = 0;
    ReadFirstWave();
    QV_ClearList(&Explosions);
    QV_ClearList(&EnemyShots);
}

void DrawTitlePage()
{
    switch (TitlePage) {
    case TitlePicturePage:
        QV_DisplayTransparentSprite(TitlePicture, 70, 120);
        ActiveBoss = 0;
        ShownBoss = 0;
        break;
    case CreditsPage:
        QV_DisplayTransparentSprite(CreditsPicture, 64, 64);
        break;
    case GameOverPage:
        QV_DisplayTransparentSprite(GameOverBanner, BannerX, BannerY);
        break;
    default:
        break;
    }
}

// Alternates the title and credits pages (game over gives way to the title)
// and replays the start of the level under them.
void NextAttractPage()
{
    TitlePage += 1;
    if (TitlePage > CreditsPage)
        TitlePage = TitlePicturePage;
    AttractRow = AttractRestartRow;
    MapRow = AttractStartRow;
    ReadFirstWave();
}

void TitleStep()
{
    DrawTitlePage();
    if (TitleMusicPending != 0 && TitlePage != GameOverPage) {
        TitleMusicPending = 0;
        PlayGameSound(TitleMusic, MusicMode);
    }
    if (QV_KeyboardReleased(StartKey) != 0) {
        StartPlay();
        return;
    }
    if (MapRow > AttractRow + AttractRows)
        NextAttractPage();
}

void LaunchFirework()
{
    PlayGameSound(ExplosionSound, EffectMode);
    const int32_t x = QV_Random(FireworkWidth) + FireworkLeft;
    const int32_t y = QV_Random(FireworkHeight) + FireworkTop;
    AddExplosion(x, y, FireworkFrames, FireworkDelay);
}

void LevelEndStep()
{
    QV_DisplayTransparentSprite(LevelCompletePicture, 70, 100);
    if (QV_Random(FireworkChance) == FireworkDraw)
        LaunchFirework();
    if (QV_KeyboardReleased(StartKey) != 0) {
        StopGameSound(PlayMusic);
        NewGame();
    }
}

void DrawPausedBanner()
{
    QV_StartDrawing(QV_ScreenOutput());
    QV_Box2(PausedBannerX, PausedBannerY, PausedBannerWidth, PausedBannerHeight, 0xB0A090);
    QV_Box2(PausedBannerX + 2, PausedBannerY + 2, PausedBannerWidth - 4, PausedBannerHeight - 4, 0x000000);
    QV_FrontColor(255, 255, 255);
    QV_Locate(PausedBannerX + (PausedBannerWidth - QV_TextLength(PausedText)) / 2, PausedBannerY + 10);
    QV_DrawText(PausedText);
    QV_FrontColor(160, 170, 180);
    QV_Locate(PausedBannerX + (PausedBannerWidth - QV_TextLength(ResumeText)) / 2, PausedBannerY + 26);
    QV_DrawText(ResumeText);
    QV_StopDrawing();
}

// Damage beyond the gauge's end is lost; only a plane in play can die.
void DamageStep()
{
    DamageGauge += FrameDamage;
    if (DamageGauge <= DamageGaugeEnd)
        return;
    DamageGauge = DamageGaugeEnd;
    if (TitleMode == 0)
        DeathStep();
}

} // namespace

void NewGame()
{
    LoadBosses();
    TitleMusicPending = 1;
    LevelEnd = 0;
    ActiveBoss = 0;
    ShownBoss = 0;
    MapRow = AttractStartRow;
    AttractRow = AttractRestartRow;
    DamageGauge = DamageGaugeIdle;
    PlayerX = ParkedPlayerX;
    PlayerY = ParkedPlayerY;
    QuitFlag = 0;
    TitleMode = 1;
    ReadFirstWave();
}

void RunFrame()
{
    HandleWindowEvents();
    ExamineControls();
    if (TitleMode == 0)
        PlayerInputStep();
    ScrollStepOfFrame();
    QV_ClearScreen(0, 0, 0);
    DrawLevelMap();
    BossStep();
    EnemyShotWalk();
    BulletStep();
    EnemyStep();
    if (TitleMode != 0)
        TitleStep();
    else
        PlayerDrawStep();
    if (LevelEnd == 1)
        LevelEndStep();
    ExplosionWalk();
    DrawPanelFrame();
    UpdateProgressMarker();
    DamageStep();
    if (MapRow < GetReadyRows)
        QV_DisplayTransparentSprite(GetReadyBanner, BannerX, BannerY);
    DrawGaugesAndScores();
    if (QV_KeyboardPushed(CreditsKey) != 0)
        DrawCreditsLine();
    if (FrameParity >= 2)
        FrameParity = 0;
    WatchFrame();
    // The banner goes over the frame after its digest: a paused run shows
    // the same frames as one never paused.
    const bool pausing = TitleMode == 0 && PauseAsked(UseWindow != 0);
    if (pausing)
        DrawPausedBanner();
    QV_FlipBuffers();
    if (pausing && !WaitWhilePaused())
        QuitFlag = LeaveLoop;
}

void RunFrameLoop()
{
    while (QuitFlag == 0 && ControlledFramesLeft())
        RunFrame();
}
