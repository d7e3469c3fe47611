#include "game/startup.h"

#include "game/assets.h"
#include "game/bosses.h"
#include "game/controls.h"
#include "game/enemy_waves.h"
#include "game/frame_loop.h"
#include "game/frame_watch.h"
#include "game/game_screen.h"
#include "game/kept_files.h"
#include "game/key_map.h"
#include "game/level_map.h"
#include "game/options_window.h"
#include "game/player.h"
#include "game/run_end.h"
#include "game/score.h"
#include "game/settings.h"
#include "game/shots_explosions.h"
#include "game/sound_cues.h"
#include "game/sound_loading.h"
#include "game/status_panel.h"
#include "runtime/core/random.h"
#include "runtime/core/strings.h"
#include "runtime/gui/gadgets.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/toolkit.h"
#include "runtime/gui/windows.h"
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/prefs/preferences.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/image_decoders.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "runtime/sound/sound.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* ErrorTitle = "Error";
constexpr const char* JoystickFailure = "Failed to Initialize Joystick, choose Keyboard.";
constexpr int32_t FrameRate = 75;

// False when the player closed the options window (or it could not be
// opened): the settings file is then left as it was.
bool ChooseOptions()
{
    ReadSettings();
#ifdef __EMSCRIPTEN__
    // A web page has no options window yet: the settings file's or the
    // defaults, as they are.
    return true;
#else
    if (RunOptionsWindow() == 0)
        return false;
    WriteSettings();
    QV_CloseWindow(OptionsWindowNumber);
    return true;
#endif
}

// In the box, and on standard error for a player who started the game from
// a terminal or has no display for the box.
void ReportError(const std::string& text)
{
    std::fprintf(stderr, "tervane: %s\n", text.c_str());
    QV_MessageRequester2(ErrorTitle, text.c_str(), 0);
}

// Closing the options window is the player's choice; a window that cannot
// open for want of a display is a failure, and said so.
int OptionsWindowExitStatus()
{
    if (QV_ToolkitRunning())
        return 0;
    std::fputs("tervane: the options window could not open because there is no display"
               " (DISPLAY is unset or unreachable)\n",
               stderr);
    return 1;
}

void OnHangUp(int)
{
    std::raise(SIGTERM);
}

// A closed terminal ends the game as SIGTERM does: once SDL runs it turns
// that into a quit request, and the settings and hi score are saved; before
// that, with the options window still open, the program ends with the file
// untouched. A hang-up ignored from the start (nohup) stays ignored.
void EndOnHangUpAsOnTerminate()
{
    struct sigaction action = {};
    if (sigaction(SIGHUP, nullptr, &action) != 0 || action.sa_handler == SIG_IGN)
        return;
    action.sa_handler = OnHangUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

// Past the file size limit (ulimit -f), or into a pipe whose reader has
// gone, a write fails like any other, and is said so, instead of killing the
// game before it could save.
void FailWritesInsteadOfDying()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

// Every layer's release is safe whether or not the layer was started.
[[noreturn]] void ShutDown(int status = 0)
{
    // Start-up that fails once the device is open may end with the sounds
    // still loading into the store about to be freed.
    FinishLoadingSounds();
    QV_FreeJoysticks();
    QV_FreeKeyboards();
    QV_FreeSounds();
    QV_FreeSprites();
    QV_FreeWindows();
    QV_FreePreferences();
    std::exit(status);
}

[[noreturn]] void Fail(const std::string& text)
{
    ReportError(text);
    ShutDown(1);
}

bool PlaysReplay(const LaunchOptions& options)
{
    return options.mode == LaunchMode::Play || options.mode == LaunchMode::Timedemo;
}

// The replay --play-last names: the newest kept run.
std::string LastRunFile(std::string& error)
{
    const std::string folder = KeptRunsFolder();
    std::string file = LastKeptRun(folder);
    if (file.empty())
        error = "no run has been kept yet in " + (folder.empty() ? std::string("the data folder") : folder);
    return file;
}

// Opens the files the command line names, before anything else starts.
std::string OpenLaunchFiles(const LaunchOptions& options)
{
    std::string error;
    const std::string replayFile = options.playLast ? LastRunFile(error) : options.replayFile;
    if (!error.empty())
        return error;
    if (options.mode == LaunchMode::Record)
        error = StartRecording(replayFile, Recording::Asked);
    else if (PlaysReplay(options))
        error = StartPlayback(replayFile);
    if (error.empty())
        error = StartFrameWatch(options.digestFile, replayFile, options.mode == LaunchMode::Timedemo);
    return error;
}

// A replay brings the seed and the settings that change play; the screen
// and sound come from the settings, which are only read. A timedemo is
// silent.
void TakeReplayHeader()
{
    const ReplayHeader& header = PlaybackHeader();
    QV_RandomSeed(header.seed);
    TakeReplaySettings(header.useKeys, header.hiScore, TimingFrames());
}

void SettleReplaySettings()
{
    ReadSettings();
    TakeReplayHeader();
}

// The game as it was after start-up, on the title page, for another run in
// the same process.
void RestartGame()
{
    StopGameSounds();
    QV_BlankScreen();
    InitialiseGameState();
    BuildLevelMap();
    NewGame();
}

ReplayHeader RecordedHeader()
{
    return {VersionText(), QV_StartSeed(), Settings.UseKeys, Settings.HiScore};
}

// One run: from the first frame until the loop ends. False when a replay
// or digests the command line asked for could not be written whole.
bool PlayOneRun()
{
    BeginRun();
    BeginControlledFrames(RecordedHeader());
    BeginWatchedFrames();
    RunFrameLoop();
    return EndRun();
}

}  // namespace

void StartRuntimeLayers()
{
    QV_InitStrings(QV_StringAreaSize);
    QV_Init2DDrawing();
    QV_InitImageDecoder();
    QV_InitGadget();
    QV_InitMisc();
    QV_InitWindow();
    QV_InitPreference();
}

void InitialiseGameState()
{
    StartReading(LevelMapStart());
    Flow = {};
    Level = {};
    Player = {};
    Hits = {};
    Waves = {};
    BossFight = {};
    Panel = {};
    Scoring = {};
}

const char* StartSound()
{
    if (Settings.UseAudio == 0 || QV_InitSound() != nullptr)
        return nullptr;
    SwitchSoundOff();
    return "Failed to Initialize Sound Environment";
}

const char* StartDevices()
{
    if (QV_InitSprite() == nullptr || QV_InitKeyboard() == 0)
        return "Failed to Initialize DirectX 7 or later";
    // A replay brings its joystick readings with it.
    if (Settings.UseKeys != 0 && !PlayingBack() && QV_InitJoystick() == 0)
        return JoystickFailure;
    return nullptr;
}

void LoadGame()
{
    LoadBuiltInAssets(Settings.UseAudio);
    ApplySoundVolumes();
    BuildLevelMap();
    NewGame();
}

void WatchRun(const std::string& path)
{
    const SettingsState player = Settings;
    if (const std::string error = StartPlayback(path); !error.empty()) {
        std::fprintf(stderr, "tervane: %s\n", error.c_str());
    } else {
        TakeReplayHeader();
        RestartGame();
        PlayOneRun();
    }
    TakeLiveControls();
    Settings = player;
    // The next run's seed comes from the clock, as at start-up.
    QV_InitMisc();
    RestartGame();
}

bool PlayAndSaveSettings()
{
    bool written = PlayOneRun();
    while (Flow.WatchLast) {
        WatchRun(LastKeptRun(KeptRunsFolder()));
        StartKeptRun();
        written &= PlayOneRun();
    }
    return written;
}

void RunTervane(const LaunchOptions& options)
{
    if (const std::string error = OpenLaunchFiles(options); !error.empty()) {
        std::fprintf(stderr, "tervane: %s\n", error.c_str());
        std::exit(2);
    }
    EndOnHangUpAsOnTerminate();
    FailWritesInsteadOfDying();
    StartRuntimeLayers();
    InitialiseGameState();
    if (PlayingBack())
        SettleReplaySettings();
    else if (!ChooseOptions())
        ShutDown(OptionsWindowExitStatus());
    if (options.mode == LaunchMode::Normal)
        StartKeptRun();
    if (const char* warning = StartSound(); warning != nullptr)
        ReportError(warning);
    // The sounds need only the open device: they load while video starts.
    StartLoadingSounds(Settings.UseAudio);
    EndRunWhenTheDisplayGoes();
    if (const char* failure = StartDevices(); failure != nullptr)
        Fail(failure == JoystickFailure ? failure : ScreenFailureText(failure, false));
    ApplyKeySettings();
    SetCommandLineScale(options.scale);
    FitWindowToDesktop(QV_DesktopSize());
    if (const char* failure = OpenGameScreen(); failure != nullptr)
        Fail(ScreenFailureText(failure, true));
    QV_SetFrameRate(TimingFrames() ? 0 : FrameRate);
    LoadGame();
    ShutDown(PlayAndSaveSettings() ? 0 : 1);
}
