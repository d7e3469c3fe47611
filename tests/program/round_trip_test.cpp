// A run recorded through the real keyboard path (key events in SDL's queue)
// and played back by the program itself, headless, draws the same frames.
#include "game/command_line.h"
#include "game/controls.h"
#include "runtime/screen/frame_digest.h"
#include "tests/game/game_fixture.h"
#include "tests/program/tervane_process.h"

#include <iterator>
#include <regex>

namespace {

class ReplayRoundTripTest : public GameTest {
protected:
    std::vector<std::string> digests_;

    void Frame()
    {
        RunFrame();
        digests_.push_back(DigestLine(digests_.size(), QV_ScreenDigest()));
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }
};

TEST_F(ReplayRoundTripTest, ARunRecordedThroughTheKeyboardPlaysBackFrameForFrame)
{
    TemporaryFolder folder;
    ASSERT_EQ(StartRecording(folder / "run.tvr", Recording::Asked), "");
    BeginControlledFrames({VersionText(), 12345, Settings.UseKeys, Settings.HiScore});

    Frames(40);
    PushKeyDown(SDLK_s);
    Frame();
    PushKeyUp(SDLK_s);
    Frame();
    ASSERT_TRUE(PlaneInPlay());
    PushKeyDown(SDLK_SPACE);
    for (int stretch = 0; stretch < 12; ++stretch) {
        const int32_t key = stretch % 3 == 0 ? SDLK_LEFT : stretch % 3 == 1 ? SDLK_UP : SDLK_RIGHT;
        PushKeyDown(key);
        Frames(25);
        PushKeyUp(key);
        Frames(5);
    }
    // Pressed and let go between two frames: the release rule must come
    // out the same on playback.
    PushKeyDown(SDLK_DOWN);
    PushKeyUp(SDLK_DOWN);
    PushKeyUp(SDLK_SPACE);
    Frames(30);
    PushKeyDown(SDLK_ESCAPE);
    Frame();
    PushKeyUp(SDLK_ESCAPE);
    Frame();
    EXPECT_NE(Flow.QuitFlag, 0);
    EndControlledFrames();

    const TervaneRun run = RunTervaneProgram({"--timedemo", "run.tvr", "--frame-digests", "digests.txt"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> played = Lines(FileText(folder / "digests.txt"));
    ASSERT_EQ(played.size(), digests_.size());
    for (size_t frame = 0; frame < played.size(); ++frame)
        ASSERT_EQ(played[frame], digests_[frame]) << "first differing frame " << frame;
    std::smatch figures;
    ASSERT_TRUE(std::regex_match(
        run.out, figures,
        std::regex(R"((\d+) frames in [0-9.]+ seconds, [0-9.]+ frames per second, digest [0-9a-f]{16}\n)")))
        << run.out;
    EXPECT_EQ(figures[1], std::to_string(digests_.size()));
    EXPECT_FALSE(fs::exists(folder / "Tervane.ini")) << "a replay writes no settings";
}

// A replay already in the file stays until the new recording holds frames on
// disk; by the first flush, at frame 75, a killed game's replay plays those.
TEST_F(ReplayRoundTripTest, ARecordingReplacesAnOldReplayOnlyOnceItHoldsFrames)
{
    TemporaryFolder folder;
    const std::string path = folder / "run.tvr";
    std::ofstream(path, std::ios::binary) << "old replay";
    ASSERT_EQ(StartRecording(path, Recording::Asked), "");
    EXPECT_TRUE(EndControlledFrames()) << "the options window closed: nothing recorded";
    EXPECT_EQ(FileText(path), "old replay");
    EXPECT_EQ(RunTervaneProgram({"--record", "run.tvr"}, folder).status, 1) << "no display for the options window";
    EXPECT_EQ(FileText(path), "old replay");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    // Through a link, which stays one.
    fs::create_symlink("run.tvr", folder / "link.tvr");
    ASSERT_EQ(StartRecording(folder / "link.tvr", Recording::Asked), "");
    BeginControlledFrames({VersionText(), 12345, 0, 0});
    Frames(75);
    EXPECT_EQ(FileText(path), "old replay");
    Frames(5);
    const std::string killed = FileText(path);
    Replay replay;
    ASSERT_EQ(ParseReplay(std::vector<uint8_t>(killed.begin(), killed.end()), replay), "");
    EXPECT_GE(replay.frameCount, 75);
    EXPECT_TRUE(EndControlledFrames());
    EXPECT_TRUE(fs::is_symlink(folder / "link.tvr"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

// A link to a replay yet to be made makes it, as the settings file's do.
TEST_F(ReplayRoundTripTest, ARecordingThroughADanglingLinkMakesItsTarget)
{
    TemporaryFolder folder;
    fs::create_directory(folder.Path() / "adir");
    fs::create_symlink("adir/target.tvr", folder / "link.tvr");
    ASSERT_EQ(StartRecording(folder / "link.tvr", Recording::Asked), "");
    BeginControlledFrames({VersionText(), 12345, 0, 0});
    Frames(80);
    EXPECT_TRUE(EndControlledFrames());
    EXPECT_TRUE(fs::is_symlink(folder / "link.tvr"));
    Replay replay;
    EXPECT_EQ(LoadReplay(folder / "adir/target.tvr", replay), "");
}

TEST_F(ReplayRoundTripTest, ARecordingThatCannotBeWrittenWholeIsSaidAndFails)
{
    ASSERT_EQ(StartRecording("/dev/full", Recording::Asked), "");
    testing::internal::CaptureStderr();
    BeginControlledFrames({VersionText(), 12345, 0, 0});
    Frames(80);
    EXPECT_FALSE(EndControlledFrames());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tervane: /dev/full: the replay could not be written: No space left on device\n");
}

}  // namespace
