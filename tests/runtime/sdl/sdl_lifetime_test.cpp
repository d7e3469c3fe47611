// SDL's lifetime as the layers share it: each starts what it needs, closing
// the screen stops video for everyone, and freeing the sprites stops it all.
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "runtime/sdl/sdl_lifetime.h"
#include "runtime/sound/sound.h"
#include "tests/runtime/input/key_events.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(SdlLifetime, TheGamesStartUpOrderStartsEveryLayerAndFreeingTheSpritesStopsThemAll)
{
    ASSERT_NE(QV_InitSound(), nullptr) << SDL_GetError();
    EXPECT_EQ(QV_SDL_State, 0) << "audio starts apart from the flags";
    ASSERT_NE(QV_InitSprite(), nullptr);
    EXPECT_EQ(QV_SDL_State, 1);
    EXPECT_EQ(QV_SDL_VideoState, 1);
    EXPECT_EQ(QV_InitKeyboard(), 1);
    QV_InitJoystick();
    EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    ASSERT_NE(QV_OpenWindowedScreen(nullptr, 0, 0, 64, 48), nullptr);
    struct sigaction quit = {};
    sigaction(SIGQUIT, nullptr, &quit);
    EXPECT_EQ(quit.sa_handler, SIG_DFL) << "SDL's crash handler, which can hang in a signal, stays out";

    QV_FreeJoysticks();
    QV_FreeKeyboards();
    QV_FreeSounds();
    EXPECT_NE(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    QV_FreeSprites();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    EXPECT_EQ(QV_SDL_State, 0);
    EXPECT_EQ(QV_SDL_VideoState, 0);
}

TEST(SdlLifetime, AfterTheScreenClosesTheKeyboardAndAWindowStartVideoAgain)
{
    ASSERT_NE(QV_InitSprite(), nullptr);
    ASSERT_NE(QV_OpenScreen(64, 48, 32), nullptr);
    QV_CloseScreen();
    EXPECT_EQ(QV_SDL_VideoState, 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);

    ASSERT_EQ(QV_InitKeyboard(), 1);
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    PushKeyDown(SDLK_SPACE);
    EXPECT_EQ(QV_ExamineKeyboard(), 1);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_SPACE), 1);

    ASSERT_NE(QV_OpenScreen(64, 48, 32), nullptr);
    QV_CloseScreen();
    ASSERT_NE(QV_OpenWindowedScreen(nullptr, 0, 0, 64, 48), nullptr);
    EXPECT_EQ(QV_SDL_VideoState, 1);
    QV_FreeSprites();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

}  // namespace
