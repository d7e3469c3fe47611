// A run recorded through the real keyboard path (key events in SDL's queue)
// and played back by the program itself, headless, draws the same frames.
#include "game/command_line.h"
#include "game/controls.h"
#include "runtime/screen/frame_digest.h"
#include "tests/game/game_fixture.h"
#include "tests/program/tervane_process.h"

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
    ASSERT_EQ(StartRecording(folder / "run.tvr"), "");
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
    ASSERT_TRUE(std::regex_match(run.out, figures, std::regex(R"((\d+) frames in [0-9.]+ seconds, [0-9.]+ frames per second, digest [0-9a-f]{16}\n)"))) << run.out;
    EXPECT_EQ(figures[1], std::to_string(digests_.size()));
    EXPECT_FALSE(fs::exists(folder / "Tervane.ini")) << "a replay writes no settings";
}

} // namespace
