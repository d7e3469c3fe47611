// The golden replays: each plays headless with the digest of every frame
// held against the one stored beside it. Any change in what the game draws
// fails here and names the first frame that differs; a change meant to
// alter the picture regenerates the digests (see docs/replays.md).
#include "tests/program/tervane_process.h"

#include <gtest/gtest.h>

namespace {

class GoldenReplayTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenReplayTest, DrawsEveryFrameAsStored)
{
    const std::string golden = std::string(GOLDEN_REPLAYS) + "/" + GetParam();
    TemporaryFolder folder;
    const TervaneRun run = RunTervaneProgram({"--timedemo", golden + ".tvr", "--frame-digests", "digests.txt"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::printf("%s: %s", GetParam(), run.out.c_str());

    const std::vector<std::string> stored = Lines(FileText(golden + ".digests"));
    const std::vector<std::string> drawn = Lines(FileText(folder / "digests.txt"));
    ASSERT_FALSE(stored.empty());
    const size_t common = std::min(stored.size(), drawn.size());
    for (size_t frame = 0; frame < common; ++frame)
        ASSERT_EQ(drawn[frame], stored[frame]) << "first differing frame: " << frame;
    EXPECT_EQ(drawn.size(), stored.size()) << "frames played";
    EXPECT_FALSE(fs::exists(folder / "Tervane.ini")) << "a replay writes no settings";
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenReplayTest, ::testing::Values("whole_level", "game_over"));

}  // namespace
