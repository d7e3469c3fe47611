// The key map: keys the player chose reach the game as the game's usual
// keys, and key names look up as SDL names them.
#include "runtime/input/keyboard.h"
#include "runtime/sdl/sdl_lifetime.h"
#include "tests/runtime/input/key_events.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

class KeyMapTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 0); }
    static void TearDownTestSuite() { QV_QuitSDL(); }

    void SetUp() override { ASSERT_EQ(QV_InitKeyboard(), 1); }

    void TearDown() override
    {
        QV_SetKeyMap({});
        LetGoOfHeldKeys();
        QV_KeyboardReleased(QV_ANY_KEY);
    }

    // What the game sees held after `symbol` goes down.
    static std::array<int32_t, 3> HeldAfterPressing(int32_t symbol, std::array<int32_t, 3> asked)
    {
        PushKeyDown(symbol);
        QV_ExamineKeyboard();
        std::array<int32_t, 3> held{};
        for (size_t i = 0; i < asked.size(); ++i)
            held[i] = QV_KeyboardPushed(asked[i]);
        PushKeyUp(symbol);
        QV_ExamineKeyboard();
        return held;
    }
};

TEST_F(KeyMapTest, NamesLookUpAsSdlGivesThem)
{
    EXPECT_EQ(QV_KeySymbolFromName("space"), SDLK_SPACE);
    EXPECT_EQ(QV_KeySymbolFromName("Left Ctrl"), SDLK_LCTRL);
    EXPECT_EQ(QV_KeySymbolFromName("s"), SDLK_s);
    EXPECT_EQ(QV_KeySymbolFromName("up"), SDLK_UP);
    EXPECT_EQ(QV_KeySymbolFromName("f12"), SDLK_F12);
    for (const char* nothing : {"", "spacebar", "space ", "unknown key"})
        EXPECT_EQ(QV_KeySymbolFromName(nothing), QV_NO_KEY) << '"' << nothing << '"';
    EXPECT_EQ(QV_KeySymbolFromName(nullptr), QV_NO_KEY);
}

TEST_F(KeyMapTest, ChosenKeysArriveAsTheUsualOnesAndTheMovedUsualKeysAreDropped)
{
    // Up on 'w', start on the up arrow, fire on left ctrl.
    const QV_KeyMapping map[] = {{SDLK_w, SDLK_UP}, {SDLK_UP, SDLK_s}, {SDLK_LCTRL, SDLK_SPACE}};
    QV_SetKeyMap(map);
    const std::array<int32_t, 3> asked{SDLK_UP, SDLK_s, SDLK_SPACE};
    EXPECT_EQ(HeldAfterPressing(SDLK_w, asked), (std::array<int32_t, 3>{1, 0, 0}));
    EXPECT_EQ(HeldAfterPressing(SDLK_UP, asked), (std::array<int32_t, 3>{0, 1, 0}));
    EXPECT_EQ(HeldAfterPressing(SDLK_LCTRL, asked), (std::array<int32_t, 3>{0, 0, 1}));
    // 's' and Space now belong to no action.
    PushKeyDown(SDLK_s);
    PushKeyDown(SDLK_SPACE);
    QV_ExamineKeyboard();
    EXPECT_TRUE(QV_KeyboardEventsTaken().empty());
    EXPECT_EQ(QV_KeyboardPushed(SDLK_s) + QV_KeyboardPushed(SDLK_SPACE), 0);
    // Keys the map does not mention pass as they are.
    EXPECT_EQ(HeldAfterPressing(SDLK_F12, {SDLK_F12, SDLK_ESCAPE, SDLK_x}), (std::array<int32_t, 3>{1, 0, 0}));
}

TEST_F(KeyMapTest, EventsAppliedDirectlyAreNotTranslatedAgain)
{
    const QV_KeyMapping map[] = {{SDLK_w, SDLK_UP}, {SDLK_UP, SDLK_s}};
    QV_SetKeyMap(map);
    // As a replay feeds what a recording under another map took.
    const QV_KeyEvent recorded[] = {{SDLK_UP, 1}, {SDLK_w, 1}};
    QV_ApplyKeyEvents(recorded);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_UP), 1);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_w), 1);
    EXPECT_EQ(QV_KeyboardPushed(SDLK_s), 0);
    const QV_KeyEvent letGo[] = {{SDLK_UP, 0}, {SDLK_w, 0}};
    QV_ApplyKeyEvents(letGo);
}

TEST_F(KeyMapTest, AnEmptyMapOrAFreshKeyboardPassesEveryKey)
{
    const QV_KeyMapping map[] = {{SDLK_w, SDLK_UP}};
    QV_SetKeyMap(map);
    ASSERT_EQ(QV_InitKeyboard(), 1);
    EXPECT_EQ(HeldAfterPressing(SDLK_w, {SDLK_w, SDLK_UP, SDLK_s}), (std::array<int32_t, 3>{1, 0, 0}));
    QV_SetKeyMap(map);
    QV_SetKeyMap({});
    EXPECT_EQ(HeldAfterPressing(SDLK_UP, {SDLK_w, SDLK_UP, SDLK_s}), (std::array<int32_t, 3>{0, 1, 0}));
}

}  // namespace
