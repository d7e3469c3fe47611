// Pause: P during play stops the game until P again, with the banner over
// the frame; keys let go meanwhile are up when play goes on; Escape and the
// window's close still end the game; and the run itself is unchanged.
#include "tests/game/game_fixture.h"

#include "game/controls.h"
#include "runtime/screen/frame_digest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

class PauseTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        StartPlaying();
    }

    std::vector<uint64_t> DigestsOf(int frames)
    {
        std::vector<uint64_t> digests;
        for (int i = 0; i < frames; ++i) {
            RunFrame();
            digests.push_back(QV_ScreenDigest());
        }
        return digests;
    }
};

// The banner's border, 0x90A0B0, at its top-left corner.
bool BannerOnScreen()
{
    SDL_Surface* screen = QV_Screen_Current;
    const auto* row = static_cast<const Uint8*>(screen->pixels) + 218 * screen->pitch;
    return reinterpret_cast<const Uint32*>(row)[172] == SDL_MapRGB(screen->format, 0x90, 0xA0, 0xB0);
}

// Presses `key` (P unless told) once the game shows its pause banner, as a
// player would: the press reaches the pause however the frame and the thread
// fall.
class PauseLifter {
public:
    explicit PauseLifter(int32_t key = SDLK_p)
        : thread_([key] {
              while (!BannerOnScreen())
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              PushKeyDown(key);
              PushKeyUp(key);
          })
    {
    }
    ~PauseLifter() { thread_.join(); }

private:
    std::thread thread_;
};

TEST_F(PauseTest, WaitingForPResumesAndKeysLetGoMeanwhileAreUp)
{
    PushKeyDown(SDLK_RIGHT);
    PushKeyDown(SDLK_SPACE);
    RunFrames(2);
    const int32_t x = Player.PlayerX;

    // What the player does while the game waits.
    PushKeyUp(SDLK_RIGHT);
    PushKeyUp(SDLK_SPACE);
    PushKeyDown(SDLK_p);
    EXPECT_EQ(WaitWhilePaused(), PauseEnd::Resume);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_RIGHT), 1) << "nothing reaches the game before the next frame";

    for (int i = 0; i < 8; ++i)
        RunFrame();
    EXPECT_EQ(Player.PlayerX, x) << "the plane stays where the pause found it";
    EXPECT_EQ(QV_KeyboardPushed(SDLK_SPACE), 0);

    PushKeyDown(SDLK_ESCAPE);
    PushKeyUp(SDLK_ESCAPE);
    EXPECT_EQ(WaitWhilePaused(), PauseEnd::Leave) << "Escape ends the game from a pause";
    PushQuitRequest();
    EXPECT_EQ(WaitWhilePaused(), PauseEnd::Leave) << "and so does closing the window";
}

TEST_F(PauseTest, PShowsTheBannerAndAPausedRunIsTheSameRun)
{
    // The same stretch of play twice over, from the same start: once
    // straight through, once paused in its eleventh frame.
    const std::vector<uint64_t> straight = DigestsOf(20);
    TearDown();
    SetUp();
    std::vector<uint64_t> paused = DigestsOf(10);
    ASSERT_FALSE(BannerOnScreen());
    PushKeyDown(SDLK_p);
    {
        PauseLifter lifter;
        RunFrame();
    }
    EXPECT_TRUE(BannerOnScreen()) << "the frame the pause began in carries the banner";
    EXPECT_NE(QV_ScreenDigest(), straight[10]);
    const std::vector<uint64_t> after = DigestsOf(9);
    paused.insert(paused.end(), after.begin(), after.end());
    for (size_t frame = 0; frame < paused.size(); ++frame) {
        const size_t same = frame < 10 ? frame : frame + 1;
        EXPECT_EQ(paused[frame], straight[same]) << "frame " << same;
    }
    EXPECT_EQ(Flow.QuitFlag, 0);
}

TEST_F(PauseTest, LeavingTheGameForAnotherWindowPausesItInFullScreenToo)
{
    ASSERT_EQ(Settings.UseWindow, 0);
    SDL_Event away{};
    away.type = SDL_ACTIVEEVENT;
    away.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&away);
    {
        PauseLifter lifter;
        RunFrame();
    }
    EXPECT_TRUE(BannerOnScreen());
    EXPECT_EQ(Flow.QuitFlag, 0);
}

TEST_F(PauseTest, EscapeDuringAPauseEndsTheGame)
{
    PushKeyDown(SDLK_p);
    {
        PauseLifter lifter(SDLK_ESCAPE);
        RunFrame();
    }
    EXPECT_NE(Flow.QuitFlag, 0) << "the game ends rather than going on";
}

TEST_F(PauseTest, NeitherPNorLeavingTheWindowPausesAReplay)
{
    const std::string replay = WatchAnIdleReplay(10);
    PushKeyDown(SDLK_p);
    SDL_Event focus{};
    focus.active = {SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS};
    SDL_PushEvent(&focus);
    EXPECT_FALSE(TakeFrameControls(false).pause);
    std::remove(replay.c_str());
    StartPlayback("");  // live controls again for the tests that follow
}

TEST_F(PauseTest, TheAttractPagesDoNotPause)
{
    NewGame();
    PushKeyDown(SDLK_p);
    RunFrame();  // would wait for ever on the title page if it paused
    PushKeyUp(SDLK_p);
    RunFrame();
    EXPECT_FALSE(PlaneInPlay());
    EXPECT_FALSE(BannerOnScreen());
}

}  // namespace
