#include "tests/game/game_fixture.h"

#include "runtime/gui/toolkit.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs the test in a fresh empty working folder, where the settings file
// is looked for.
class ScratchFolder {
public:
    ScratchFolder()
        : previous_(fs::current_path())
    {
        std::string pattern = (fs::temp_directory_path() / "tervane-startup-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        fs::current_path(folder_);
    }

    ~ScratchFolder()
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    fs::path previous_;
    fs::path folder_;
};

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
        UseAudio = 0;
        UseKeys = 0;
        UseWindow = 0;
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
    UseAudio = 1;
    EXPECT_STREQ(StartSound(), "Failed to Initialize Sound Environment");
    EXPECT_EQ(UseAudio, 0);
    EXPECT_EQ(StartSound(), nullptr) << "with sound off nothing is tried";

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseAudio = 1;
    EXPECT_EQ(StartSound(), nullptr);
    EXPECT_EQ(UseAudio, 1);
}

TEST_F(StartupStepTest, JoystickChosenWithoutOneEndsStartUp)
{
    UseKeys = 1;
    const char* failure = StartDevices();
    if (failure == nullptr)
        GTEST_SKIP() << "a joystick is attached";
    EXPECT_STREQ(failure, "Failed to Initialize Joystick");
}

TEST_F(StartupStepTest, KeyboardControlStartsWithoutAJoystick)
{
    EXPECT_EQ(StartDevices(), nullptr);
}

TEST_F(StartupStepTest, ScreenOpensFullScreenAt32BitsOrInAWindow)
{
    ASSERT_EQ(StartDevices(), nullptr);
    ASSERT_EQ(OpenGameScreen(), nullptr);
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->h, 480);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);

    UseWindow = 1;
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

TEST_F(StartupStepTest, ContainersAreCreatedEmptyAndAgainOnRequest)
{
    InitialiseGameState();
    EXPECT_EQ(MapRow, 0);
    EXPECT_EQ(ScrollY, MapBaseY);
    EXPECT_EQ(ScrollStep, 0);
    EXPECT_EQ(FrameParity, 0);
    EXPECT_EQ(EnemyFrame, 1);
    EXPECT_EQ(DataCursor, LevelMapStart());
    AddExplosion(1, 2, 3, 4);
    Bullets[3].Active = 1;
    Bosses[2].X = 7;

    CreateGameContainers();
    EXPECT_EQ(QV_CountList(&Explosions), 0);
    EXPECT_EQ(QV_CountList(&Enemies), 0);
    EXPECT_EQ(QV_CountList(&EnemyShots), 0);
    for (int32_t slot = 0; slot <= BulletUpperBound; ++slot)
        EXPECT_EQ(Bullets[slot].Active, 0);
    EXPECT_EQ(Bosses[2].X, 0);
    EXPECT_EQ(Bosses[4].Sprite, 0);
}

// Without a display the options window cannot open: the program ends at
// once, with status 0, and leaves the settings file as it was. The program
// runs in a forked child, which writes into this test's working folder.
TEST(StartupTest, NoOptionsWindowEndsWithStatusZeroAndTheFileUntouched)
{
    if (QV_ToolkitRunning())
        GTEST_SKIP() << "an earlier test started the toolkit in this process; the child would share its display";
    ScratchFolder folder;
    const std::string settings = "UseKeys = 1\nHiScore = 77\n";
    std::ofstream("Tervane.ini") << settings;
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            RunTervane({});
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile("Tervane.ini"), settings);
}

// Leaving the loop writes the settings, with this run's hi score, before
// anything is released.
class PlayToTheEndTest : public GameTest {};

TEST_F(PlayToTheEndTest, EscapeWritesTheSettingsWithTheNewHiScore)
{
    ScratchFolder folder;
    HiScore = 40;
    Score = 125;
    PushKeyDown(SDLK_ESCAPE);
    RunFrame();
    PushKeyUp(SDLK_ESCAPE);
    PlayAndSaveSettings();
    EXPECT_EQ(QuitFlag, 2);
    const std::string written = ReadFile("Tervane.ini");
    EXPECT_EQ(written, "UseKeys = 0\r\nUseAudio = 0\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 125\r\n");
}

} // namespace
