// Without SDL_VIDEODRIVER the game starts only on a video driver that shows
// a window: with no display it neither draws itself into the terminal
// (classic SDL 1.2's text drivers) nor plays where nobody sees it
// (sdl12-compat's offscreen driver), but says why and ends.
#include "runtime/sdl/sdl_library.h"
#include "tests/program/tervane_process.h"

TEST(ScreenFailureTest, WithoutADisplayTheGameSaysWhyInsteadOfDrawingElsewhere)
{
    TemporaryFolder folder;
    const TervaneRun run = RunTervaneProgram({"--timedemo", GOLDEN_REPLAYS "/game_over.tvr"}, folder, RLIM_INFINITY,
                                             {{"SDL_VIDEODRIVER", nullptr}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("tervane: Failed to Initialize DirectX 7 or later\nSDL: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\n\nNo window could open: "), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("LD_LIBRARY_PATH=") != std::string::npos, !QV_RunsOnSDL2()) << run.err;
}
