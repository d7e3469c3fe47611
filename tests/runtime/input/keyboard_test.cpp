#include "runtime/input/keyboard.h"
#include "runtime/input/screen_events.h"
#include "runtime/sdl/sdl_lifetime.h"
#include "tests/runtime/input/key_events.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int32_t kEscape = SDLK_ESCAPE;
constexpr int32_t kStart = SDLK_s;
constexpr int32_t kUp = SDLK_UP;

class KeyboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 0); }

    static void TearDownTestSuite() { QV_QuitSDL(); }

    void SetUp() override { ASSERT_EQ(QV_InitKeyboard(), 1); }

    // Lets every key go and collects the releases still armed, so no test
    // sees what an earlier one left behind.
    void TearDown() override
    {
        LetGoOfHeldKeys();
        QV_KeyboardReleased(QV_ANY_KEY);
    }
};

TEST_F(KeyboardTest, HeldKeyIsReportedReleasedOnceAfterItsKeyUp)
{
    PushKeyDown(kEscape);
    for (int frame = 0; frame < 3; ++frame) {
        QV_ExamineKeyboard();
        EXPECT_EQ(QV_KeyboardPushed(kEscape), 1);
        EXPECT_EQ(QV_KeyboardReleased(kEscape), 0);
    }
    PushKeyUp(kEscape);
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_KeyboardPushed(kEscape), 0);
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 1);
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 0);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 0);
}

TEST_F(KeyboardTest, ReleaseIsSeenOnlyForKeysAskedAboutWhileHeld)
{
    // Held and let go without a release query in between: never reported.
    PushKeyDown(kStart);
    QV_ExamineKeyboard();
    PushKeyUp(kStart);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(kStart), 0);

    // Down and up within one examination: never held, never released.
    PushKeyDown(kEscape);
    PushKeyUp(kEscape);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardPushed(kEscape), 0);
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 0);
}

TEST_F(KeyboardTest, ExaminationReportsWhetherAnyEventWasTaken)
{
    PushKeyDown(kUp);
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_ExamineKeyboard(), 0);
    EXPECT_EQ(QV_KeyboardPushed(kUp), 1);

    SDL_Event focus{};
    focus.type = SDL_ACTIVEEVENT;
    SDL_PushEvent(&focus);
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_KeyboardPushed(kUp), 1);

    // Word of the screen uncovered lasts one examination.
    SDL_Event exposed{};
    exposed.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&exposed);
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_ScreenExposed(), 1);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_ScreenExposed(), 0);
}

TEST_F(KeyboardTest, SecondInitialisationClearsHeldKeysButKeepsArmedReleases)
{
    PushKeyDown(kEscape);
    PushKeyDown(kUp);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 0);

    EXPECT_EQ(QV_InitKeyboard(), 1);
    EXPECT_EQ(QV_KeyboardPushed(kUp), 0);
    EXPECT_EQ(QV_KeyboardPushed(kEscape), 0);
    EXPECT_EQ(QV_KeyboardReleased(kEscape), 1);
}

TEST_F(KeyboardTest, AnyKeyReleaseCoversSymbolsBelow255Only)
{
    PushKeyDown(kStart);
    PushKeyDown(kUp);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(QV_ANY_KEY), 0);
    EXPECT_EQ(QV_KeyboardReleased(kUp), 0);

    PushKeyUp(kUp);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(QV_ANY_KEY), 0) << "arrow keys take no part";

    PushKeyUp(kStart);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(QV_ANY_KEY), 1);
    EXPECT_EQ(QV_KeyboardReleased(kStart), 0) << "the any-key query consumed it";
}

TEST_F(KeyboardTest, QuitRequestIsRememberedUntilReinitialised)
{
    EXPECT_EQ(QV_QuitRequested(), 0);
    PushQuitRequest();
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_QuitRequested(), 1);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_QuitRequested(), 1);
    QV_InitKeyboard();
    EXPECT_EQ(QV_QuitRequested(), 0);
}

TEST_F(KeyboardTest, KeysOutsideTheTablesReadAsUp)
{
    PushKeyDown(SDLK_F12);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardPushed(SDLK_F12), 1);
    EXPECT_EQ(QV_KeyboardPushed(-5), 0);
    EXPECT_EQ(QV_KeyboardPushed(QV_KEYBOARD_KEYS), 0);
    EXPECT_EQ(QV_KeyboardReleased(SDLK_F12), 0);
    EXPECT_EQ(QV_KeyboardReleased(QV_KEYBOARD_RELEASE_KEYS), 0);
}

// Alt+Enter switches the screen; with Enter as the start key it must not
// start a game, by its press or by its release.
TEST_F(KeyboardTest, AltEnterAsksForTheScreenSwitchAndNeverReachesTheGame)
{
    const QV_KeyMapping startOnEnter{SDLK_RETURN, kStart};
    QV_SetKeyMap({&startOnEnter, 1});
    for (const int32_t enter : {SDLK_RETURN, SDLK_KP_ENTER}) {
        PushKeyEvent(enter, true, KMOD_RALT);
        QV_ExamineKeyboard();
        EXPECT_EQ(QV_ScreenSwitchAsked(), 1) << enter;
        EXPECT_TRUE(QV_KeyboardEventsTaken().empty()) << enter;
        EXPECT_EQ(QV_KeyboardReleased(kStart), 0);
        PushKeyUp(enter);
        QV_ExamineKeyboard();
        EXPECT_EQ(QV_ScreenSwitchAsked(), 0) << "asked once";
        EXPECT_TRUE(QV_KeyboardEventsTaken().empty()) << "its release is the screen's too";
        EXPECT_EQ(QV_KeyboardReleased(kStart), 0);
    }

    // A release that went astray while the screen reopened: the next plain
    // Enter is the start key again, press and release.
    PushKeyEvent(SDLK_RETURN, true, KMOD_LALT);
    QV_ExamineKeyboard();
    PushKeyDown(SDLK_RETURN);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_ScreenSwitchAsked(), 0);
    EXPECT_EQ(QV_KeyboardReleased(kStart), 0);
    PushKeyUp(SDLK_RETURN);
    QV_ExamineKeyboard();
    EXPECT_EQ(QV_KeyboardReleased(kStart), 1);
    QV_SetKeyMap({});
}

}  // namespace
