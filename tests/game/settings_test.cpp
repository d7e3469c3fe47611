#include "game/settings.h"

#include "game/game_screen.h"
#include "game/key_map.h"
#include "game/options_window.h"
#include "game/refused_settings.h"
#include "game/settings_place.h"
#include "game/startup.h"
#include "runtime/core/strings.h"
#include "runtime/input/keyboard.h"
#include "runtime/prefs/preferences.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "tests/game/settings_fixture.h"
#include "tests/runtime/input/key_events.h"
#include "tests/runtime/prefs/unprivileged.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST_F(SettingsTest, WithoutAFileTheDefaultsApply)
{
    testing::internal::CaptureStderr();
    ReadSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a first run is no failure";
    EXPECT_EQ(Settings.UseKeys, 0);
    EXPECT_EQ(Settings.UseAudio, 1);
    EXPECT_EQ(Settings.Use3D, 0);
    EXPECT_EQ(Settings.UseWindow, 0);
    EXPECT_EQ(Settings.HiScore, 0);
}

TEST(SettingsPlaceTest, AFileInTheStartFolderWinsElseTheConfigurationFolderElseTheStartFolder)
{
    const struct {
        bool fileHere;
        const char* home;
        const char* configHome;
        SettingsPlace expected;
    } cases[] = {
        {true, "/home/ann", "/cfg", {"/games/Tervane.ini", ""}},
        {false, "/home/ann", "/cfg", {"/cfg/tervane/Tervane.ini", "/cfg/tervane"}},
        {false, "/home/ann", nullptr, {"/home/ann/.config/tervane/Tervane.ini", "/home/ann/.config/tervane"}},
        {false, "/home/ann/", "", {"/home/ann/.config/tervane/Tervane.ini", "/home/ann/.config/tervane"}},
        {false, "/home/ann", "relative", {"/home/ann/.config/tervane/Tervane.ini", "/home/ann/.config/tervane"}},
        {false, nullptr, "/cfg/", {"/cfg/tervane/Tervane.ini", "/cfg/tervane"}},
        {false, nullptr, nullptr, {"/games/Tervane.ini", ""}},
        {false, "", "relative", {"/games/Tervane.ini", ""}},
    };
    for (const auto& c : cases) {
        const SettingsPlace place = ChooseSettingsPlace({"/games", c.fileHere, c.home, c.configHome});
        EXPECT_EQ(place.file, c.expected.file) << c.fileHere << " " << (c.home ? c.home : "-");
        EXPECT_EQ(place.folder, c.expected.folder) << c.fileHere << " " << (c.home ? c.home : "-");
    }
}

// Started where no file is, the game makes the configuration folder when
// it first writes, and keeps its file there.
TEST_F(SettingsTest, WithoutAFileHereTheFileGoesToTheConfigurationFolderMadeWhenMissing)
{
    fs::create_directory(folder / "start");
    fs::current_path(folder / "start");
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ReadSettings();
    Settings.HiScore = 12;
    WriteSettings();
    EXPECT_TRUE(fs::is_empty(folder / "start"));
    fs::current_path(folder / "config" / "tervane");
    EXPECT_NE(FileBytes().find("HiScore = 12\r\n"), std::string::npos);
    EXPECT_EQ(fs::status(folder / "config").permissions(), fs::perms::owner_all);
}

TEST_F(SettingsTest, ValuesReadAsNumbersAndMissingKeysTakeTheirDefaults)
{
    WriteFile("HiScore = abc\r\nUse3D = 1\r\nUseWindow = 7 modes\r\nUseKeys = -3\r\n");
    ReadSettings();
    EXPECT_EQ(Settings.HiScore, 0);
    EXPECT_EQ(Settings.Use3D, 1);
    EXPECT_EQ(Settings.UseWindow, 7);
    EXPECT_EQ(Settings.UseKeys, -3);
    EXPECT_EQ(Settings.UseAudio, 1);
    WriteFile("HiScore = -5\r\n");
    ReadSettings();
    EXPECT_EQ(Settings.HiScore, 0) << "no game plays, or records, a negative hi score";
}

TEST_F(SettingsTest, ReadingLeavesTheStringAreaAsItWas)
{
    WriteFile(DefaultFile);
    char* const base = QV_StringBase;
    ReadSettings();
    EXPECT_EQ(QV_StringBase, base);
}

TEST_F(SettingsTest, WritingGivesTheFiveLinesInOrderThenTheNewerOnes)
{
    Settings.UseKeys = 1;
    Settings.UseAudio = 0;
    Settings.Use3D = 0;
    Settings.UseWindow = 1;
    Settings.HiScore = 123456;
    Settings.WindowScale = 1;
    WriteSettings();
    EXPECT_EQ(FileBytes(),
              "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 123456\r\n" NEWER_SETTINGS);
}

TEST_F(SettingsTest, WrittenSettingsReadBackUnchanged)
{
    Settings.UseKeys = 0;
    Settings.UseAudio = 1;
    Settings.Use3D = 1;
    Settings.UseWindow = 0;
    Settings.HiScore = 2147483647;
    Settings.WindowScale = 3;
    KeyChoices.KeyFire = "left ctrl";
    WriteSettings();
    Settings.UseKeys = Settings.UseAudio = Settings.Use3D = Settings.UseWindow = Settings.HiScore =
        Settings.WindowScale = -1;
    KeyChoices.KeyFire.clear();
    ReadSettings();
    EXPECT_EQ(Settings.UseKeys, 0);
    EXPECT_EQ(Settings.UseAudio, 1);
    EXPECT_EQ(Settings.Use3D, 1);
    EXPECT_EQ(Settings.UseWindow, 0);
    EXPECT_EQ(Settings.HiScore, 2147483647);
    EXPECT_EQ(Settings.WindowScale, 3);
    EXPECT_EQ(KeyChoices.KeyFire, "left ctrl");
}

TEST_F(SettingsTest, AScaleOtherThanOneToFourReadsAsOne)
{
    const struct {
        const char* text;
        int32_t scale;
    } cases[] = {{"1", 1}, {"2", 2}, {"4", 4}, {"3 times", 3}, {"0", 1}, {"5", 1}, {"-2", 1}, {"big", 1}, {"", 1}};
    for (const auto& row : cases) {
        WriteFile(std::string("WindowScale = ") + row.text + "\r\n");
        ReadSettings();
        EXPECT_EQ(Settings.WindowScale, row.scale) << '"' << row.text << '"';
    }
}

// A player's file, hand-edited: the game writes back every line it knows,
// the player's key names (good or not) as they were, and the five lines
// older copies read first, as they always were.
TEST_F(SettingsTest, TheNewerSettingsAreKeptAsWrittenAfterTheFiveOldOnes)
{
    WriteFile("KeyFire = spcae\r\nMusicVolume = loud\r\nHiScore = 300\r\nJoyPause = 10\r\nKeyUp = w\r\n"
              "WindowScale = 2\r\nUseWindow = 1\r\n");
    testing::internal::CaptureStderr();
    ReadSettings();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(KeyChoices.KeyFire, "spcae");
    EXPECT_EQ(KeyChoices.KeyUp, "w");
    EXPECT_EQ(KeyChoices.KeyDown, "down");
    EXPECT_EQ(Settings.JoyPause, 10);
    EXPECT_EQ(Settings.MusicVolume, 100);
    WriteSettings();
    EXPECT_EQ(FileBytes(),
              "UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 300\r\n"
              "WindowScale = 2\r\nKeyUp = w\r\nKeyDown = down\r\nKeyLeft = left\r\nKeyRight = right\r\n"
              "KeyFire = spcae\r\nKeyStart = s\r\nJoyStart = 8\r\nJoyPause = 10\r\nMusicVolume = loud\r\n"
              "EffectsVolume = 100\r\n");
}

// A pad button or a volume the game cannot use keeps its default in play, and
// the player hears why once on standard error and once on the game's screen.
TEST_F(SettingsTest, BadPadButtonsAndVolumesKeepTheirDefaultsAndSaySo)
{
    const struct {
        const char* file;
        std::array<int32_t, 4> values;  // JoyStart, JoyPause, MusicVolume, EffectsVolume
        const char* messages;
        size_t shownLines;
    } cases[] = {
        {"JoyStart = 10\r\nJoyPause = 9\r\nMusicVolume = 0\r\nEffectsVolume = 35\r\n", {10, 9, 0, 35}, "", 0},
        {"JoyStart = 1\r\nJoyPause = 33\r\nMusicVolume = -1\r\nEffectsVolume = 50%\r\n",
         {8, 7, 100, 100},
         "tervane: JoyStart = \"1\": not a button from 2 to 32; it stays on 8\n"
         "tervane: JoyPause = \"33\": not a button from 2 to 32; it stays on 7\n"
         "tervane: MusicVolume = \"-1\": not a volume from 0 to 100; it stays on 100\n"
         "tervane: EffectsVolume = \"50%\": not a volume from 0 to 100; it stays on 100\n",
         4},
        // Start moved onto pause's button: start goes back to its own.
        {"JoyStart = 7\r\n",
         {8, 7, 100, 100},
         "tervane: JoyStart = \"7\": that button starts and pauses both; it stays on 8\n",
         1},
        {"JoyStart = 9\r\nJoyPause = 9\r\n",
         {9, 7, 100, 100},
         "tervane: JoyPause = \"9\": that button starts and pauses both; it stays on 7\n",
         1},
    };
    for (const auto& row : cases) {
        WriteFile(row.file);
        testing::internal::CaptureStderr();
        ReadSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row.messages) << row.file;
        EXPECT_EQ((std::array{Settings.JoyStart, Settings.JoyPause, Settings.MusicVolume, Settings.EffectsVolume}),
                  row.values)
            << row.file;
        EXPECT_EQ(RefusedSettingLines().size(), row.shownLines) << row.file;
    }
    EXPECT_EQ(RefusedSettingLines()[0], "JoyPause = \"9\" refused, stays 7");
}

// A hi score the game cannot hold, or not wholly a number, is said; it plays
// as the number it plainly starts with, held to what the game can hold, and
// stays in the file as written until a higher score beats that number.
TEST_F(SettingsTest, AHiScoreNotWhollyANumberStaysInTheFileUntilBeaten)
{
    const struct {
        std::string text;
        const char* quoted;
        int32_t plays;
        int32_t beaten;  // -1: no score can beat it
    } cases[] = {
        {"3000000000", "3000000000", 2147483647, -1},
        {"5e3", "5e3", 5, 6},
        {"5 000", "5 000", 5, 6},
        {"\xff\xfe"
         "5000",
         "\\xff\\xfe5000", 0, 1},
        {"12345abc", "12345abc", 12345, 12346},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string line = "\r\nHiScore = " + c.text + "\r\n";
        WriteFile("UseKeys = 0" + line);
        testing::internal::CaptureStderr();
        ReadSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tervane: HiScore = \"" + std::string(c.quoted) +
                      "\": not a whole number from 0 to 2147483647; it stays on " + std::to_string(c.plays) + "\n");
        EXPECT_EQ(Settings.HiScore, c.plays);
        WriteSettings();
        EXPECT_NE(FileBytes().find(line), std::string::npos) << "not beaten by the same score";
        RaiseHiScore(c.beaten < 0 ? INT32_MAX : c.beaten);
        WriteSettings();
        const std::string written = c.beaten < 0 ? line : "\r\nHiScore = " + std::to_string(c.beaten) + "\r\n";
        EXPECT_NE(FileBytes().find(written), std::string::npos) << FileBytes();
    }
}

// What reaches the terminal is quoted and cut at 40 bytes, and only a
// longer value is marked as cut.
TEST_F(SettingsTest, RefusedValuesAreQuotedEscapedAndCutOnlyWhenLonger)
{
    testing::internal::CaptureStderr();
    RefuseSetting("KeyFire", std::string(40, 'x'), "why", "space");
    RefuseSetting("KeyUp", "a\x7f", "why", "up");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tervane: KeyFire = \"" + std::string(40, 'x') +
                  "\": why; it stays on space\n"
                  "tervane: KeyUp = \"a\\x7f\": why; it stays on up\n");
    EXPECT_EQ(RefusedSettingLines()[0], "KeyFire = \"" + std::string(12, 'x') + "\"... refused, stays space");
    ForgetRefusedSettings();
}

// The keyboard and the game's screen started, as start-up leaves them.
class StartedDevicesTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        Settings.UseKeys = 0;
        ASSERT_EQ(StartDevices(), nullptr);
    }

    void TearDown() override
    {
        Settings.CommandLineScale = 0;
        QV_FreeKeyboards();
        QV_FreeSprites();
        SettingsTest::TearDown();
    }

    // The symbol the game sees when `symbol` is pressed, or -1 for none.
    static int32_t SeenAs(int32_t symbol)
    {
        PushKeyDown(symbol);
        PushKeyUp(symbol);
        QV_ExamineKeyboard();
        const std::span<const QV_KeyEvent> taken = QV_KeyboardEventsTaken();
        return taken.empty() ? -1 : taken.front().symbol;
    }
};

TEST_F(StartedDevicesTest, BadKeyNamesLeaveTheirActionOnItsUsualKeyAndSaySoOnce)
{
    const struct {
        std::string file;
        // The key each action ends up on: up, down, left, right, fire, start.
        std::array<int32_t, 6> keys;
        std::string messages;  // matched against what standard error says
    } cases[] = {
        {"", {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s}, ""},
        {"KeyUp = W\r\nKeyStart = up\r\nKeyFire = left ctrl\r\n",
         {SDLK_w, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_LCTRL, SDLK_UP},
         ""},
        {"KeyFire = spcae\r\nKeyLeft = \r\n",
         {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s},
         "tervane: KeyLeft = \"\": no key has that name; it stays on left\n"
         "tervane: KeyFire = \"spcae\": no key has that name; it stays on space\n"},
        {"KeyStart = escape\r\nKeyFire = F12\r\nKeyDown = p\r\n",
         {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s},
         "tervane: KeyDown = \"p\": Escape, F12 and P cannot be given to another action; it stays on down\n"
         "tervane: KeyFire = \"F12\": Escape, F12 and P cannot be given to another action; it stays on space\n"
         "tervane: KeyStart = \"escape\": Escape, F12 and P cannot be given to another action; it stays on s\n"},
        // Fire keeps Space, which up asked for too.
        {"KeyUp = space\r\n",
         {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s},
         "tervane: KeyUp = \"space\": that key is given to another action too; it stays on up\n"},
        // Up and down both go back, which takes the up arrow from fire.
        {"KeyUp = x\r\nKeyDown = x\r\nKeyFire = up\r\nKeyRight = d\r\n",
         {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_d, SDLK_SPACE, SDLK_s},
         "tervane: KeyUp = \"x\": that key is given to another action too; it stays on up\n"
         "tervane: KeyDown = \"x\": that key is given to another action too; it stays on down\n"
         "tervane: KeyFire = \"up\": that key is given to another action too; it stays on space\n"},
        // Spaces around a name are no part of it; what reaches the terminal
        // is quoted, escaped and cut short.
        {"KeyStart = a \r\nKeyUp =\tleft ctrl\t\r\nKeyFire = \x1b[2J\"\\\xff\r\nKeyDown = " + std::string(5000, 'x') +
             "\r\n",
         {SDLK_LCTRL, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_a},
         "tervane: KeyDown = \"" + std::string(40, 'x') +
             "\"...: no key has that name; it stays on down\n"
             "tervane: KeyFire = \"\\x1b[2J\\\"\\\\\\xff\": no key has that name; it stays on space\n"},
    };
    const int32_t usual[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s};
    for (const auto& row : cases) {
        WriteFile(row.file);
        ReadSettings();
        testing::internal::CaptureStderr();
        ApplyKeySettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row.messages) << row.file;
        for (size_t action = 0; action < std::size(usual); ++action)
            EXPECT_EQ(SeenAs(row.keys[action]), usual[action]) << row.file << " action " << action;
    }
}

TEST_F(StartedDevicesTest, TheWindowIsAsLargeAsTheFileOrTheCommandLineAsks)
{
    WriteFile("UseWindow = 1\r\nWindowScale = 3\r\n");
    ReadSettings();
    ASSERT_EQ(OpenGameScreen(), nullptr);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1920);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 1440);
    EXPECT_EQ(QV_Screen_Current->w, 640);
    Settings.CommandLineScale = 2;
    ASSERT_EQ(OpenGameScreen(), nullptr);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 960);
    WriteSettings();
    EXPECT_NE(FileBytes().find("WindowScale = 3\r\n"), std::string::npos) << "--scale is not saved";
    // Full screen draws the game's 640 x 480 whatever the scale.
    Settings.UseWindow = 0;
    ASSERT_EQ(OpenGameScreen(), nullptr);
    EXPECT_EQ(QV_Screen_Current->w, 640);
}

TEST_F(SettingsTest, AWindowTooLargeForTheDesktopIsLoweredForThisRunOnly)
{
    WriteFile("WindowScale = 4\r\n");
    ReadSettings();
    testing::internal::CaptureStderr();
    FitWindowToDesktop({0, 0});
    FitWindowToDesktop({2560, 1920});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "unknown or large enough";
    EXPECT_EQ(ChosenWindowScale(), 4);
    testing::internal::CaptureStderr();
    FitWindowToDesktop({1920, 1080});
    FitWindowToDesktop({600, 400});
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "tervane: a window at scale 4 (2560 x 1920) would not fit the 1920 x 1080 desktop; the window opens at scale "
        "2\n"
        "tervane: a window at scale 2 (1280 x 960) would not fit the 600 x 400 desktop; the window opens at scale 1\n");
    EXPECT_EQ(ChosenWindowScale(), 1);
    WriteSettings();
    EXPECT_NE(FileBytes().find("WindowScale = 4\r\n"), std::string::npos) << "the file keeps the player's";
    Settings.CommandLineScale = 0;
}

TEST_F(SettingsTest, AFileThatCannotBeCreatedIsSkipped)
{
    // Not even root makes a folder where a file stands.
    std::ofstream(folder / "blocked") << "";
    setenv("XDG_CONFIG_HOME", (folder / "blocked").c_str(), 1);
    ReadSettings();
    char* const base = QV_StringBase;
    Settings.HiScore = 99;
    testing::internal::CaptureStderr();
    WriteSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tervane: cannot save " + (folder / "blocked").string() +
                  "/tervane/Tervane.ini (Not a directory); the file is left "
                  "as it was\n");
    EXPECT_EQ(QV_StringBase, base);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(SettingsTest, TheHiScoreWrittenIsTheHigherOfThisRunsAndTheFiles)
{
    // Another copy of the game, playing in the same folder, saved 9000.
    WriteFile("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 9000\r\n");
    Settings.UseKeys = 1;
    Settings.UseAudio = 0;
    Settings.Use3D = 1;
    Settings.UseWindow = 1;
    Settings.HiScore = 500;
    Settings.WindowScale = 1;
    WriteSettings();
    EXPECT_EQ(FileBytes(),
              "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 1\r\nUseWindow = 1\r\nHiScore = 9000\r\n" NEWER_SETTINGS);
    Settings.HiScore = 9001;
    WriteSettings();
    EXPECT_EQ(FileBytes(),
              "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 1\r\nUseWindow = 1\r\nHiScore = 9001\r\n" NEWER_SETTINGS);
}

// Two copies ending at once, as when the terminal running both closes: each
// reads the stored score, compares and replaces under the lock, so the higher
// score always stays. Each copy saves in its own folder of `folders`.
void SaveTwoCopiesAtOnce(const std::array<fs::path, 2>& folders)
{
    for (int run = 0; run < 20; ++run) {
        std::ofstream(folders[0] / "Tervane.ini", std::ios::binary) << DefaultFile;
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        std::array<pid_t, 2> copies{};
        for (size_t copy = 0; copy < copies.size(); ++copy) {
            copies[copy] = fork();
            if (copies[copy] == 0) {
                close(start[1]);
                char byte;
                (void)!read(start[0], &byte, 1);  // returns once the parent lets go
                fs::current_path(folders[copy]);
                Settings.HiScore = (copy + run) % 2 == 0 ? 100 : 200;
                WriteSettings();
                std::_Exit(0);
            }
        }
        close(start[0]);
        close(start[1]);
        for (const pid_t copy : copies) {
            int status = 0;
            ASSERT_EQ(waitpid(copy, &status, 0), copy);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        ReadSettings();
        ASSERT_EQ(Settings.HiScore, 200) << "run " << run;
    }
}

// Run these many times over with --gtest_repeat.
TEST_F(SettingsTest, TwoCopiesSavingAtOnceNeverLowerTheHiScore)
{
    SaveTwoCopiesAtOnce({folder, folder});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// One file shared by two folders through symbolic links is locked as one.
TEST_F(SettingsTest, TwoCopiesSavingThroughLinksToOneFileNeverLowerTheHiScore)
{
    for (const char* other : {"a", "b"}) {
        fs::create_directory(other);
        fs::create_symlink("../Tervane.ini", folder / other / "Tervane.ini");
    }
    SaveTwoCopiesAtOnce({folder / "a", folder / "b"});
}

// Lines the game can take as its own are read; a file it cannot wholly
// understand gives what it can, one line says so, and it is never replaced.
TEST_F(SettingsTest, AFileNotWhollyUnderstoodIsReadAsFarAsItGoesAndLeftAlone)
{
    for (const char* understood : {"[Tervane]\r\nHiScore = 4242\r\n", "HiScore\t=\t4242\r\n"}) {
        WriteFile(understood);
        testing::internal::CaptureStderr();
        ReadSettings();
        WriteSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(Settings.HiScore, 4242) << understood;
        EXPECT_NE(FileBytes().find("\r\nHiScore = 4242\r\n"), std::string::npos) << understood;
    }
    const struct {
        std::string bytes;
        int32_t hiScore;
        const char* reason;
    } cases[] = {
        {"\xFF\xFEH\0i\0S\0c\0o\0r\0e\0=\0\x34\0"s, 0, "it holds lines that are not the game's settings"},
        {"UseKeys = 1\r\n" + std::string(QV_PreferenceMaxFileSize, '\n') + "HiScore = 4242\r\n", 0,
         "it is larger than the 1 MiB the game reads"},
        {"HiScore = 4242\r\n[Other]\r\n", 4242, "it holds lines that are not the game's settings"},
        {"HiScore = 100\r\nHiScore = 5000\r\n", 100, "it gives HiScore more than once"},
    };
    for (const auto& c : cases) {
        WriteFile(c.bytes);
        testing::internal::CaptureStderr();
        ReadSettings();
        Settings.HiScore = std::max(Settings.HiScore, 10);
        WriteSettings();
        WriteSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tervane: cannot read " + scratch.File() + " (" + std::string(c.reason) +
                      "); every setting it does not give takes its default, and the file is left as it is\n");
        EXPECT_TRUE(FileBytes() == c.bytes) << c.reason;
    }
}

// The number the file's HiScore line plainly starts with, 0 for none.
long long StoredHiScore()
{
    QV_OpenPreferences("Tervane.ini");
    char* const base = QV_StringBase;
    const long long score = std::strtoll(QV_ReadPreferenceString("HiScore", "0", base), nullptr, 10);
    QV_StringBase = base;
    QV_ClosePreferences();
    return score;
}

// Files mutated at random, as a damaged disk or a careless edit leaves them,
// through both writes of a run: each one the game does not wholly understand
// stays byte for byte, and no hi score a file held is written back lower.
TEST_F(SettingsTest, MutatedFilesAreKeptOrNeverLoseTheirHiScore)
{
    // Half the edits fall on the HiScore line.
    const std::string base = "HiScore = 9000\r\nUseKeys = 1\r\nUseAudio = 0\r\nKeyFire = left ctrl\r\nJoyStart = 9\r\n";
    const std::string pieces[] = {"\r\n", "\n",   "=",       " = ", "[", ";",  "\t",
                                  "\0"s,  "\xff", "HiScore", "9",   "-", "e3", "99999999999"};
    std::mt19937 random(34);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = base;
        while (bytes == base) {
            for (unsigned edit = 1 + random() % 4; edit > 0; --edit) {
                const size_t at = random() % (std::min<size_t>(random() % 2 ? 17 : SIZE_MAX, bytes.size()) + 1);
                if (random() % 3 == 0)
                    bytes.insert(at, pieces[random() % std::size(pieces)]);
                else if (random() % 2 == 0)
                    bytes.erase(at, random() % 6);
                else if (at < bytes.size())
                    bytes[at] = static_cast<char>(random());
            }
        }
        SCOPED_TRACE(testing::PrintToString(bytes));
        WriteFile(bytes);
        const bool understood = QV_OpenPreferences("Tervane.ini") && QV_PreferencesUnderstood();
        const long long held = StoredHiScore();
        testing::internal::CaptureStderr();
        ReadSettings();
        WriteSettings();
        RaiseHiScore(5000);
        WriteSettings();
        testing::internal::GetCapturedStderr();
        if (understood)
            EXPECT_GE(StoredHiScore(), std::max(held, 5000LL));
        else
            EXPECT_EQ(FileBytes(), bytes);
    }
}

// A file the player cannot read, met as a player meets it: as an unprivileged
// user in a child (root reads every file), in a folder that user owns.
TEST_F(SettingsTest, AnUnreadableFileGivesTheDefaultsOneLineWhyAndIsNeverReplaced)
{
    ASSERT_TRUE(GiveToUnprivilegedUser(folder));
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            WriteFile("UseKeys = 1\r\nHiScore = 5000\r\n");
            chmod("Tervane.ini", 0);
            ReadSettings();
            const bool defaults = Settings.UseKeys == 0 && Settings.UseAudio == 1 && Settings.Use3D == 0 &&
                Settings.UseWindow == 0 && Settings.HiScore == 0;
            WriteSettings();  // after "Start Game"
            Settings.HiScore = 300;
            WriteSettings();  // at the end of the game
            std::_Exit(defaults ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^tervane: cannot read " + scratch.File() + " \\(Permission denied\\)[^\n]*\n$");
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nHiScore = 5000\r\n");
    EXPECT_EQ(fs::status("Tervane.ini").permissions(), fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
