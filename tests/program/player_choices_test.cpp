// The player's own keys and window scale change nothing the game computes:
// a run played on remapped keys draws the frames of the same run on the
// usual keys, its replay plays back the same under any key map, and the
// program draws the same frames at every scale.
#include "game/command_line.h"
#include "game/controls.h"
#include "game/frame_watch.h"
#include "game/key_map.h"
#include "tests/game/game_fixture.h"
#include "tests/program/tervane_process.h"

#include <array>

namespace {

// The keys of the six actions: up, down, left, right, fire, start.
using ActionKeys = std::array<int32_t, 6>;
constexpr size_t Up = 0, Left = 2, Right = 3, Fire = 4, Start = 5;

constexpr ActionKeys UsualKeys = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_s};

class PlayerChoicesTest : public GameTest {
protected:
    void TearDown() override
    {
        UseTheseKeys({"up", "down", "left", "right", "space", "s"});
        GameTest::TearDown();
    }

    static void UseTheseKeys(const std::array<const char*, 6>& names)
    {
        for (size_t action = 0; action < names.size(); ++action)
            ChooseKey(PlayerKeys()[action], names[action]);
        ApplyKeySettings();
    }

    // Plays a short game with `keys` from a fresh start, recording it to
    // `replay`; returns each frame's digest as --frame-digests writes it,
    // through the game's own frame watch (a moved start key is named over
    // the title after the digest).
    std::vector<std::string> PlayAGame(const ActionKeys& keys, const std::string& replay)
    {
        const auto frames = [](int count) {
            for (int i = 0; i < count; ++i)
                RunFrame();
        };
        const std::string digests = replay + ".digests";
        EXPECT_EQ(StartRecording(replay, Recording::Asked), "");
        EXPECT_EQ(StartFrameWatch(digests, "", false), "");
        BeginControlledFrames({VersionText(), 12345, Settings.UseKeys, Settings.HiScore});
        BeginWatchedFrames();
        frames(10);
        PushKeyDown(keys[Start]);
        frames(1);
        PushKeyUp(keys[Start]);
        frames(1);
        EXPECT_TRUE(PlaneInPlay());
        PushKeyDown(keys[Fire]);
        for (const size_t direction : {Left, Up, Right}) {
            PushKeyDown(keys[direction]);
            frames(20);
            PushKeyUp(keys[direction]);
        }
        PushKeyUp(keys[Fire]);
        frames(10);
        EndWatchedFrames();
        EndControlledFrames();
        StartFrameWatch("", "", false);
        return Lines(FileText(digests));
    }

    // Starts the game over as the fixture does.
    void Restart()
    {
        GameTest::TearDown();
        GameTest::SetUp();
    }
};

TEST_F(PlayerChoicesTest, ARunOnRemappedKeysDrawsTheSameFramesAndPlaysBackTheSameUnderAnotherMap)
{
    TemporaryFolder folder;
    const std::vector<std::string> usual = PlayAGame(UsualKeys, folder / "usual.tvr");

    Restart();
    // Start moves to the up arrow, whose action moves to 'w'.
    UseTheseKeys({"w", "s", "a", "d", "left ctrl", "up"});
    const std::vector<std::string> remapped =
        PlayAGame({SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_LCTRL, SDLK_UP}, folder / "remapped.tvr");
    ASSERT_EQ(remapped, usual);

    std::ofstream(folder / "Tervane.ini", std::ios::binary) << "KeyUp = space\r\nKeyFire = up\r\nKeyStart = x\r\n";
    const TervaneRun run = RunTervaneProgram({"--timedemo", "remapped.tvr", "--frame-digests", "digests.txt"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Lines(FileText(folder / "digests.txt")), usual);
}

TEST_F(PlayerChoicesTest, TheProgramDrawsTheSameFramesAtEveryScale)
{
    TemporaryFolder folder;
    PlayAGame(UsualKeys, folder / "run.tvr");
    std::ofstream(folder / "Tervane.ini", std::ios::binary) << "UseWindow = 1\r\nWindowScale = 2\r\n";
    std::vector<std::string> digests;
    for (const char* scale : {"1", "3", "4"}) {
        const TervaneRun run =
            RunTervaneProgram({"--timedemo", "run.tvr", "--scale", scale, "--frame-digests", "digests.txt"}, folder);
        ASSERT_EQ(run.status, 0) << run.err;
        digests.push_back(FileText(folder / "digests.txt"));
    }
    EXPECT_EQ(digests[1], digests[0]);
    EXPECT_EQ(digests[2], digests[0]);
    EXPECT_NE(FileText(folder / "Tervane.ini").find("WindowScale = 2"), std::string::npos);
}

TEST(ScaleOptionTest, TakesOneToFourAndRefusesAnythingElse)
{
    for (const char* scale : {"1", "2", "3", "4"}) {
        const char* const arguments[] = {"--scale", scale};
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.action, CommandLineAction::Run) << scale;
        EXPECT_EQ(line.options.scale, scale[0] - '0');
    }
    EXPECT_EQ(ParseCommandLine(std::array<const char*, 0>{}).options.scale, 0);
    for (const char* scale : {"--scale=0", "--scale=5", "--scale=02", "--scale=2x", "--scale=", "--scale"}) {
        const char* const arguments[] = {scale};
        EXPECT_EQ(ParseCommandLine(arguments).action, CommandLineAction::Refuse) << scale;
    }
    TemporaryFolder folder;
    const TervaneRun run = RunTervaneProgram({"--scale", "9"}, folder);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--scale"), std::string::npos) << run.err;
}

}  // namespace
