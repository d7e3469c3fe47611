#include "tests/game/game_fixture.h"
#include "tests/game/scratch_settings_folder.h"

#include "game/controls.h"
#include "game/options_window.h"
#include "runtime/gui/toolkit.h"
#include "runtime/screen/frame_digest.h"
#include "tests/runtime/core/array_blocks.h"
#include "tests/runtime/gui/gui_test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace {

// The settings after the five every copy of the game reads, at defaults.
constexpr const char* NewerSettings = "WindowScale = 1\r\nKeyUp = up\r\nKeyDown = down\r\nKeyLeft = left\r\n"
                                      "KeyRight = right\r\nKeyFire = space\r\nKeyStart = s\r\n"
                                      "JoyStart = 8\r\nJoyPause = 7\r\nMusicVolume = 100\r\nEffectsVolume = 100\r\n";

std::string ReadFile(const char* name)
{
    std::ifstream file(name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The start-up steps on their own, before any screen is open.
class StartupStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Settings.UseAudio = 0;
        Settings.UseKeys = 0;
        Settings.UseWindow = 0;
    }

    void TearDown() override
    {
        QV_FreeJoysticks();
        QV_FreeKeyboards();
        QV_FreeSounds();
        QV_FreeSprites();
    }
};

TEST_F(StartupStepTest, FailedSoundStartSwitchesSoundOffAndStartUpGoesOn)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Settings.UseAudio = 1;
    EXPECT_STREQ(StartSound(), "Failed to Initialize Sound Environment");
    EXPECT_EQ(Settings.UseAudio, 0);
    EXPECT_EQ(StartSound(), nullptr) << "with sound off nothing is tried";

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Settings.UseAudio = 1;
    EXPECT_EQ(StartSound(), nullptr);
    EXPECT_EQ(Settings.UseAudio, 1);
}

TEST_F(StartupStepTest, KeyboardControlStartsWithoutAJoystick)
{
    EXPECT_EQ(StartDevices(), nullptr);
}

// Full screen keeps a larger desktop's size (sdl12-compat's dummy driver
// has 1024 x 768; classic SDL's tells none) and the game draws 640 x 480.
TEST_F(StartupStepTest, ScreenOpensFullScreenAt32BitsOrInAWindow)
{
    ASSERT_EQ(StartDevices(), nullptr);
    const QV_ScreenSize desktop = QV_DesktopSize();
    const bool roomy = QV_LargestScaleWithin(640, 480, desktop) >= 1 && desktop.width * desktop.height > 640 * 480;
    ASSERT_EQ(OpenGameScreen(), nullptr);
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, roomy ? desktop.width : 640);
    EXPECT_EQ(screen->h, roomy ? desktop.height : 480);
    EXPECT_EQ(QV_Screen_Current->w, 640);
    EXPECT_EQ(QV_Screen_Current->h, 480);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);

    Settings.UseWindow = 1;
    ASSERT_EQ(OpenGameScreen(), nullptr);
    screen = SDL_GetVideoSurface();
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->h, 480);
    EXPECT_EQ(screen->flags & SDL_FULLSCREEN, 0u);
}

TEST_F(StartupStepTest, FullScreenFallsBackToTheNextDepthAndReportsWhenNoneOpens)
{
    // The dummy driver opens every usual depth, but refuses 64 bits per
    // pixel: that stands in for a display without 32-bit modes.
    ASSERT_EQ(StartDevices(), nullptr);
    const int32_t noThirtyTwo[] = {64, 24, 16};
    ASSERT_EQ(OpenFullScreen(noThirtyTwo), nullptr);
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->format->BitsPerPixel, 24);
    EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);

    const int32_t none[] = {64};
    EXPECT_STREQ(OpenFullScreen(none), "Failed to open Fullscreen, try Window Mode.");
}

TEST_F(StartupStepTest, GameStateStartsAfreshOnEveryInitialisation)
{
    InitialiseGameState();
    EXPECT_EQ(Level.MapRow, 0);
    EXPECT_EQ(Level.ScrollY, MapBaseY);
    EXPECT_EQ(Level.ScrollStep, 0);
    EXPECT_EQ(Level.FrameParity, 0);
    EXPECT_EQ(Waves.EnemyFrame, 1);
    EXPECT_EQ(DataCursor, LevelMapStart());
    AddExplosion(1, 2, {3, 4});
    Player.Bullets[3].Active = 1;
    BossFight.Bosses[2].X = 7;
    Flow.Phase = GamePhase::Play;
    Scoring.Score = 95;

    InitialiseGameState();
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    EXPECT_EQ(Scoring.Score, 0);
    EXPECT_EQ(QV_CountList(&Hits.Explosions), 0);
    EXPECT_EQ(QV_CountList(&Waves.Enemies), 0);
    EXPECT_EQ(QV_CountList(&Hits.EnemyShots), 0);
    for (int32_t slot = 0; slot <= BulletUpperBound; ++slot)
        EXPECT_EQ(Player.Bullets[slot].Active, 0);
    EXPECT_EQ(BossFight.Bosses[2].X, 0);
}

// The bullets and the bosses are runtime arrays of records from start-up on;
// the map, one of integers, comes with its build. Each block holds exactly
// the elements declared.
TEST_F(StartupStepTest, GameArraysAreRuntimeArraysDeclaredWhenStartUpAsks)
{
    const auto typeWord = [](const void* elements) { return static_cast<const int32_t*>(elements)[-1]; };
    InitialiseGameState();
    EXPECT_EQ(typeWord(&Player.Bullets[0]), QV_ArrayOfRecords);
    EXPECT_BLOCK_BYTES(&Player.Bullets[0], 8 + 16 * 12);
    EXPECT_EQ(typeWord(&BossFight.Bosses[0]), QV_ArrayOfRecords);
    EXPECT_BLOCK_BYTES(&BossFight.Bosses[0], 8 + 36 * 5);
    EXPECT_FALSE(Level.LevelMap.has_value()) << "no map before its build";

    BuildLevelMap();
    int32_t* map = &(*Level.LevelMap)[0];
    EXPECT_EQ(map[-2], MapRows) << "the header word: the first dimension's count";
    EXPECT_EQ(typeWord(map), QV_ArrayOfIntegers);
    EXPECT_BLOCK_BYTES(map, 8 + 4 * 6417);
}

// ---- The whole program in a forked child ------------------------------------
// The child starts GTK and SDL afresh, so this process must not have started
// either; ctest runs each test in a process of its own.

// How the child ended (as waitpid tells) and what it wrote on standard error.
struct ChildRun {
    int status = -1;
    std::string errors;
};

// Runs the whole program in a child, in the current folder, once `prepare`
// has run there.
ChildRun RunProgramInChild(const std::function<void()>& prepare)
{
    ChildRun run;
    int ends[2];
    if (pipe(ends) != 0)
        return run;
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], STDERR_FILENO);
        close(ends[0]);
        close(ends[1]);
        prepare();
        RunTervane({});
    }
    close(ends[1]);
    char buffer[4096];
    for (ssize_t count; (count = read(ends[0], buffer, sizeof buffer)) != 0;) {
        if (count < 0 && errno != EINTR)
            break;
        if (count > 0)
            run.errors.append(buffer, static_cast<size_t>(count));
    }
    close(ends[0]);
    if (child > 0)
        waitpid(child, &run.status, 0);
    return run;
}

bool ExitedWith(const ChildRun& run, int code)
{
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == code;
}

size_t LinesHolding(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The player in the child, acting from a toolkit timer that the program's own
// event waits run: it answers every "Error" box with Ok (telling its text on
// standard error), acts once the options window waits with "Start Game"
// focused, and once more when the game runs (in windowed mode the frame loop
// keeps the toolkit's events flowing).
struct Player {
    std::function<void()> atOptions{};
    std::function<void()> inGame{};
    bool optionsSeen = false;
    bool gameSeen = false;
};

Player player;

gboolean PlayerStep(gpointer)
{
    GtkWidget* start = QV_Gadget.objects[7].widget;
    if (GtkWidget* box = TopLevelTitled("Error")) {
        std::vector<GtkWidget*> labels;
        CollectWidgets(box, GTK_TYPE_LABEL, labels);
        std::fprintf(stderr, "error box: %s\n", labels.empty() ? "" : gtk_label_get_text(GTK_LABEL(labels[0])));
        if (GtkWidget* ok = ButtonLabelled(box, "Ok"))
            gtk_button_clicked(GTK_BUTTON(ok));
    } else if (!player.optionsSeen && QV_WindowID2(OptionsWindowNumber) && start && gtk_widget_is_focus(start)) {
        player.optionsSeen = true;
        player.atOptions();
    } else if (!player.gameSeen && SDL_GetVideoSurface() != nullptr && Flow.QuitFlag == 0) {
        player.gameSeen = true;
        std::fputs("game running\n", stderr);
        player.inGame();
    }
    return G_SOURCE_CONTINUE;
}

void Play(Player script)
{
    player = std::move(script);
    g_timeout_add(5, PlayerStep, nullptr);
}

void PressStartGame()
{
    gtk_button_clicked(GTK_BUTTON(QV_Gadget.objects[7].widget));
}

void LeaveTheGame()
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

class WholeProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QV_ToolkitRunning() || SDL_WasInit(SDL_INIT_EVERYTHING) != 0)
            GTEST_SKIP() << "an earlier test in this process started GTK or SDL; run this one on its own";
    }

    ScratchSettingsFolder folder;
};

// Without a display there is nothing the player can choose: one line says
// why, the status is 1 and the settings file stays as it was.
TEST_F(WholeProgramTest, WithoutADisplayItSaysSoAndEndsWithStatusOne)
{
    const std::string settings = "UseKeys = 1\nHiScore = 77\n";
    std::ofstream("Tervane.ini") << settings;
    for (const char* display : {static_cast<const char*>(nullptr), ":4095"}) {
        const ChildRun run = RunProgramInChild([display] {
            unsetenv("WAYLAND_DISPLAY");
            if (display)
                setenv("DISPLAY", display, 1);
            else
                unsetenv("DISPLAY");
        });
        EXPECT_TRUE(ExitedWith(run, 1)) << run.status;
        EXPECT_EQ(run.errors,
                  "tervane: the options window could not open because there is no display"
                  " (DISPLAY is unset or unreachable)\n");
        EXPECT_EQ(ReadFile("Tervane.ini"), settings);
    }
}

TEST_F(WholeProgramTest, ClosingTheOptionsWindowEndsQuietlyAndLeavesTheFileAsItWas)
{
    const std::string settings = "UseKeys = 1\rHiScore = 77\r";
    std::ofstream("Tervane.ini", std::ios::binary) << settings;
    const ChildRun run =
        RunProgramInChild([] { Play({.atOptions = [] { gtk_window_close(GTK_WINDOW(OptionsWindowHandle())); }}); });
    EXPECT_TRUE(ExitedWith(run, 0)) << run.status;
    EXPECT_EQ(LinesHolding(run.errors, "error box"), 0u) << run.errors;
    EXPECT_EQ(ReadFile("Tervane.ini"), settings);
}

// Started where no settings file is, the game keeps its file in the home's
// configuration folder, made when missing; a file where it starts is the
// one it keeps.
TEST_F(WholeProgramTest, TheSettingsAreKeptHereWhenAFileIsHereElseInTheConfigurationFolder)
{
    const auto runWithHome = [] {
        return RunProgramInChild([] {
            unsetenv("XDG_CONFIG_HOME");
            setenv("HOME", std::filesystem::absolute("home").c_str(), 1);
            // In a window, where the frame loop keeps the player's timer running.
            Play({.atOptions =
                      [] {
                          QV_SetGadgetState(4, 1);
                          PressStartGame();
                      },
                  .inGame = LeaveTheGame});
        });
    };
    ChildRun run = runWithHome();
    EXPECT_TRUE(ExitedWith(run, 0)) << run.status << run.errors;
    const std::string kept = "home/.config/tervane/Tervane.ini";
    EXPECT_EQ(ReadFile(kept.c_str()),
              std::string("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 0\r\n") +
                  NewerSettings);
    EXPECT_FALSE(std::filesystem::exists("Tervane.ini"));

    std::ofstream("Tervane.ini") << "UseWindow = 1\r\nHiScore = 77\r\n";
    run = runWithHome();
    EXPECT_TRUE(ExitedWith(run, 0)) << run.status << run.errors;
    EXPECT_NE(ReadFile("Tervane.ini").find("UseWindow = 1\r\nHiScore = 77\r\n"), std::string::npos);
    EXPECT_NE(ReadFile(kept.c_str()).find("HiScore = 0\r\n"), std::string::npos) << "left alone";
}

// The device may be back next time: the player's choice is saved as made.
TEST_F(WholeProgramTest, ASoundDriverThatCannotOpenGivesOneErrorBoxAndStartUpGoesOn)
{
    std::ofstream("Tervane.ini") << "UseWindow = 1\r\nHiScore = 77\r\n";
    const ChildRun run = RunProgramInChild([] {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        Play({.atOptions = PressStartGame, .inGame = LeaveTheGame});
    });
    EXPECT_TRUE(ExitedWith(run, 0)) << run.status;
    EXPECT_EQ(LinesHolding(run.errors, "error box"), 1u) << run.errors;
    EXPECT_EQ(LinesHolding(run.errors, "error box: Failed to Initialize Sound Environment\n"), 1u) << run.errors;
    EXPECT_EQ(LinesHolding(run.errors, "game running"), 1u) << run.errors;
    EXPECT_EQ(ReadFile("Tervane.ini"),
              std::string("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 77\r\n") +
                  NewerSettings);
}

TEST_F(WholeProgramTest, AJoystickThatCannotOpenSaysToChooseTheKeyboardAndEndsWithStatusOne)
{
    std::ofstream("Tervane.ini") << "UseKeys = 1\r\nUseWindow = 1\r\n";
    const ChildRun run = RunProgramInChild([] { Play({.atOptions = PressStartGame, .inGame = LeaveTheGame}); });
    if (LinesHolding(run.errors, "game running") != 0)
        GTEST_SKIP() << "a joystick is attached";
    EXPECT_TRUE(ExitedWith(run, 1)) << run.status;
    EXPECT_EQ(LinesHolding(run.errors, "error box: Failed to Initialize Joystick, choose Keyboard.\n"), 1u)
        << run.errors;
}

// A closed terminal during play saves the settings and the hi score, as
// SIGTERM does; with the options window still open it ends the program
// before anything was chosen, so the file stays as it was.
TEST_F(WholeProgramTest, AHangUpEndsTheProgramAsSigtermDoes)
{
    const std::string settings = "UseWindow = 1\r\nHiScore = 77\r\n";
    std::ofstream("Tervane.ini") << settings;
    const ChildRun beforeTheGame = RunProgramInChild([] { Play({.atOptions = [] { std::raise(SIGHUP); }}); });
    EXPECT_TRUE(WIFSIGNALED(beforeTheGame.status)) << beforeTheGame.status;
    EXPECT_EQ(ReadFile("Tervane.ini"), settings);

    const ChildRun inTheGame = RunProgramInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Play({.atOptions = PressStartGame, .inGame = [] {
                  Settings.HiScore = 4321;
                  std::raise(SIGHUP);
              }});
    });
    EXPECT_TRUE(ExitedWith(inTheGame, 0)) << inTheGame.status << inTheGame.errors;
    EXPECT_EQ(ReadFile("Tervane.ini"),
              std::string("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 4321\r\n") +
                  NewerSettings);
}

// An X server of the test's own, on the first free display number.
class XServer {
public:
    XServer()
    {
        int ends[2];
        if (pipe(ends) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ends[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            const std::string told = std::to_string(ends[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", told.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   nullptr);
            _exit(127);
        }
        close(ends[1]);
        char number[16] = {};
        if (read(ends[0], number, sizeof number - 1) > 0)
            display_ = ":" + std::string(number, std::strcspn(number, "\n"));
        close(ends[0]);
    }
    ~XServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    pid_t Pid() const { return pid_; }
    const std::string& Display() const { return display_; }  // empty when it did not start

private:
    pid_t pid_ = -1;
    std::string display_;
};

// The X server ending under the game, past the options window, on the
// attract pages and during a pause: the run's hi score is saved as at
// SIGTERM, one line says why, and the status is 1. The game starts on an X
// server of its own; one that refuses the game's first connections (a loaded
// Xvfb can, several times running while other tests start theirs) is tried
// again after a pause.
TEST_F(WholeProgramTest, TheDisplayGoingAwaySavesTheHiScoreAndSaysSo)
{
    const auto endTheServerWhenPaused = [](pid_t server) {
        std::thread([server] {
            PushKeyDown(SDLK_s);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            PushKeyUp(SDLK_s);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            PushKeyDown(SDLK_p);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            kill(server, SIGTERM);
        }).detach();
    };
    for (const bool paused : {false, true}) {
        std::ofstream("Tervane.ini") << "UseWindow = 1\r\nHiScore = 77\r\n";
        ChildRun run;
        for (int attempt = 0; attempt < 10 && LinesHolding(run.errors, "game running") == 0; ++attempt) {
            if (attempt > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const XServer server;
            ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
            run = RunProgramInChild([&server, paused, endTheServerWhenPaused] {
                setenv("DISPLAY", server.Display().c_str(), 1);
                setenv("SDL_VIDEODRIVER", "x11", 1);
                Play({.atOptions = PressStartGame, .inGame = [&server, paused, endTheServerWhenPaused] {
                          RaiseHiScore(4321);
                          if (paused)
                              endTheServerWhenPaused(server.Pid());
                          else
                              kill(server.Pid(), SIGTERM);
                      }});
            });
        }
        EXPECT_TRUE(ExitedWith(run, 1)) << run.status;
        EXPECT_EQ(run.errors, "game running\ntervane: the display went away\n") << "paused " << paused;
        EXPECT_EQ(ReadFile("Tervane.ini"),
                  std::string("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 4321\r\n") +
                      NewerSettings);
    }
}

// Leaving the loop writes the settings, with this run's hi score, before
// anything is released.
class PlayToTheEndTest : public GameTest {};

TEST_F(PlayToTheEndTest, EscapeWritesTheSettingsWithTheNewHiScore)
{
    ScratchSettingsFolder folder;
    Settings.HiScore = 40;
    Scoring.Score = 125;
    PushKeyDown(SDLK_ESCAPE);
    RunFrame();
    PushKeyUp(SDLK_ESCAPE);
    PlayAndSaveSettings();
    EXPECT_EQ(Flow.QuitFlag, 2);
    const std::string written = ReadFile("Tervane.ini");
    EXPECT_EQ(written,
              std::string("UseKeys = 0\r\nUseAudio = 0\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 125\r\n") +
                  NewerSettings);
}

// Alt+Enter, on the attract pages and in play: the screen opens the other
// way, the frames drawn are those of a run never switched, and UseWindow is
// saved as the options window would save it.
class ScreenSwitchTest : public GameTest {
protected:
    // Twelve frames with play started in the sixth; Alt+Enter pushed
    // before the frames in `switches`, after which `check` runs.
    template <class Check>
    static std::vector<uint64_t> Digests(std::initializer_list<int> switches, Check check)
    {
        std::vector<uint64_t> digests;
        for (int frame = 0; frame < 12; ++frame) {
            const bool switching = std::find(switches.begin(), switches.end(), frame) != switches.end();
            if (switching)
                PushAltEnter();
            if (frame == 5 || frame == 6)
                PushKeyEvent(SDLK_s, frame == 5);
            RunFrame();
            if (switching)
                check();
            digests.push_back(QV_ScreenDigest());
        }
        return digests;
    }

    ScratchSettingsFolder folder_;
};

TEST_F(ScreenSwitchTest, AltEnterSwitchesTheScreenKeepingTheFramesAndSavesTheChoice)
{
    const std::vector<uint64_t> straight = Digests({}, [] {});
    TearDown();
    SetUp();
    int32_t window = 0;
    const std::vector<uint64_t> switched = Digests({2, 8}, [&window] {
        window = 1 - window;
        EXPECT_EQ(Settings.UseWindow, window);
        EXPECT_EQ((SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) == 0, window == 1);
        EXPECT_NE(ReadFile("Tervane.ini").find(window == 1 ? "UseWindow = 1\r\n" : "UseWindow = 0\r\n"),
                  std::string::npos);
    });
    EXPECT_EQ(switched, straight);
    EXPECT_EQ(Flow.Phase, GamePhase::Play) << "Enter let go is not the start key";
}

// A replay plays with its own control setting and hi score, silent for a
// timedemo: none of that is the player's to save, whatever the screen.
TEST_F(ScreenSwitchTest, AltEnterWhileWatchingAReplayLeavesTheSettingsFileAsItWas)
{
    const std::string settings = "UseKeys = 1\nHiScore = 77\n";
    std::ofstream("Tervane.ini") << settings;
    const std::string replay = WatchAnIdleReplay(10);
    PushAltEnter();
    RunFrame();
    EXPECT_EQ(Settings.UseWindow, 1) << "the screen switched";
    EXPECT_EQ(ReadFile("Tervane.ini"), settings);
    std::remove(replay.c_str());
}

// Alt+Enter during a pause: the pause goes on on the other screen, which
// shows the paused frame as it was.
TEST_F(ScreenSwitchTest, AltEnterDuringAPauseShowsThePausedFrameOnTheOtherScreen)
{
    RunFrames(3);
    const uint64_t paused = QV_ScreenDigest();
    PushAltEnter();
    ASSERT_EQ(WaitWhilePaused(), PauseEnd::SwitchScreen);
    ASSERT_TRUE(SwitchPausedScreen());
    EXPECT_EQ(Settings.UseWindow, 1);
    EXPECT_EQ(QV_ScreenDigest(), paused);
}

// Full screen on a desktop with room shows the frame enlarged in its middle,
// on black.
TEST_F(ScreenSwitchTest, FullScreenShowsTheFrameEnlargedInTheMiddle)
{
    RunFrames(3);
    SDL_Surface* shown = SDL_GetVideoSurface();
    const int32_t scale = QV_LargestScaleWithin(640, 480, {shown->w, shown->h});
    const int32_t left = (shown->w - 640 * scale) / 2;
    const int32_t top = (shown->h - 480 * scale) / 2;
    for (int32_t y = 0; y < 480; y += 7) {
        for (int32_t x = 0; x < 640; x += 5)
            ASSERT_EQ(PixelOf(shown, left + x * scale + scale - 1, top + y * scale), ScreenPixel(x, y))
                << x << ", " << y;
    }
    if (left > 0) {
        EXPECT_EQ(PixelOf(shown, left - 1, shown->h / 2), 0u);
    }
    if (top > 0) {
        EXPECT_EQ(PixelOf(shown, shown->w / 2, top - 1), 0u);
    }
}

}  // namespace
