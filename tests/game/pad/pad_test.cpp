// The game in joystick mode with a pad that is there (joystick_stand_in.h):
// the D-pad flies where the stick rests, and the start and pause buttons
// stand for the start key and P.
#include "tests/game/game_fixture.h"

#include "game/controls.h"
#include "game/gamepad.h"
#include "tests/runtime/input/joystick_device/joystick_stand_in.h"

namespace {

using joystick_stand_in::device;

class PadTest : public GameTest {
protected:
    void SetUp() override
    {
        device = {};
        GameTest::SetUp();
        Settings.UseKeys = 1;
        ASSERT_EQ(QV_InitJoystick(), 1);
    }

    // Buttons are counted from 1, as the settings count them.
    static void Hold(int32_t button, bool held) { device.buttons.at(size_t(button - 1)) = held ? 1 : 0; }

    static void StartWithThePad()
    {
        Hold(Settings.JoyStart, true);
        RunFrame();
        Hold(Settings.JoyStart, false);
        RunFrame();
        ASSERT_TRUE(PlaneInPlay());
    }
};

TEST_F(PadTest, TheStartButtonStartsAGameAsTheStartKeyDoesOnItsRelease)
{
    Hold(Settings.JoyStart, true);
    RunFrame();
    EXPECT_FALSE(PlaneInPlay());
    Hold(Settings.JoyStart, false);
    RunFrame();
    EXPECT_TRUE(PlaneInPlay());
}

TEST_F(PadTest, TheDPadFliesOnTheAxesWhereTheStickRestsAndNeverAddsAStep)
{
    StartWithThePad();

    const struct {
        std::array<Sint16, 2> stick;
        Uint8 hat;
        int32_t dx;
        int32_t dy;
    } cases[] = {
        {{0, 0}, SDL_HAT_RIGHT, 1, 0},
        {{900, -900}, SDL_HAT_LEFTUP, -1, -1},  // inside the dead zone
        {{32767, 0}, SDL_HAT_LEFT, 1, 0},       // the stick wins
        {{32767, 0}, SDL_HAT_RIGHTDOWN, 1, 1},  // one step right, not two
    };
    for (const auto& row : cases) {
        device.axes = row.stick;
        device.hat = row.hat;
        const int32_t x = Player.PlayerX;
        const int32_t y = Player.PlayerY;
        RunFrame();
        EXPECT_EQ(Player.PlayerX - x, row.dx * Player.PlayerSpeed) << int(row.hat);
        EXPECT_EQ(Player.PlayerY - y, row.dy * Player.PlayerSpeed) << int(row.hat);
    }
}

TEST_F(PadTest, HoldingButtonOneFires)
{
    StartWithThePad();
    const auto bulletsFlying = [] {
        int32_t flying = 0;
        for (int32_t slot = 0; slot <= BulletUpperBound; ++slot)
            flying += Player.Bullets[slot].Active;
        return flying;
    };
    RunFrames(16);
    ASSERT_EQ(bulletsFlying(), 0);
    Hold(1, true);
    RunFrames(16);
    EXPECT_GT(bulletsFlying(), 0);
}

// A pause waits for the player, so its two halves are asked one by one.
TEST_F(PadTest, ThePauseButtonAsksForAPauseAndEndsItOnItsNextPress)
{
    Hold(Settings.JoyPause, true);
    EXPECT_TRUE(TakeFrameControls(true).pause);
    EXPECT_FALSE(PadResumes()) << "still the press that paused";
    Hold(Settings.JoyPause, false);
    EXPECT_FALSE(PadResumes());
    Hold(Settings.JoyPause, true);
    EXPECT_TRUE(PadResumes());
    EXPECT_FALSE(TakeFrameControls(true).pause) << "a button held is one press";
}

}  // namespace
