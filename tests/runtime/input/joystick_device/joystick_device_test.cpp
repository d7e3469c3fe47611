// The joystick layer against a joystick that is there (joystick_stand_in.h).
#include "runtime/input/joystick.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "tests/runtime/input/joystick_device/joystick_stand_in.h"

#include <vector>

namespace {

using joystick_stand_in::Device;
using joystick_stand_in::device;

class JoystickDevice : public ::testing::Test {
protected:
    void SetUp() override { device = Device{}; }
    void TearDown() override
    {
        QV_FreeJoysticks();
        QV_QuitSDL();
    }
};

TEST_F(JoystickDevice, OpensTheFirstJoystickAndReportsHowManyThereAre)
{
    device.count = 2;
    EXPECT_EQ(QV_InitJoystick(), 2);
    EXPECT_EQ(device.opened, std::vector<int>{0});
    QV_FreeJoysticks();

    device = Device{};
    device.count = 0;
    EXPECT_EQ(QV_InitJoystick(), 0);
    EXPECT_TRUE(device.opened.empty());

    device.count = 1;
    device.opens = false;
    EXPECT_EQ(QV_InitJoystick(), 0);
    EXPECT_EQ(QV_JoystickAxisX(), 0);
    EXPECT_EQ(QV_JoystickButton(1), 0);
    EXPECT_TRUE(device.axesRead.empty() && device.buttonsRead.empty()) << "asked SDL without a joystick";
}

TEST_F(JoystickDevice, XIsAxisZeroYIsAxisOneAndButtonNIsSdlsNMinusOne)
{
    ASSERT_EQ(QV_InitJoystick(), 1);
    EXPECT_EQ(QV_ExamineJoystick(), 1);
    EXPECT_EQ(device.updates, 1);

    device.axes = {1001, -1001};
    EXPECT_EQ(QV_JoystickAxisX(), 1);
    EXPECT_EQ(QV_JoystickAxisY(), -1);
    device.axes = {-32768, 1000};
    EXPECT_EQ(QV_JoystickAxisX(), -1);
    EXPECT_EQ(QV_JoystickAxisY(), 0);
    EXPECT_EQ(device.axesRead, (std::vector<int>{0, 1, 0, 1}));

    device.buttons[0] = 1;
    device.buttons[4] = 1;
    EXPECT_EQ(QV_JoystickButton(1), 1);
    EXPECT_EQ(QV_JoystickButton(2), 0);
    EXPECT_EQ(QV_JoystickButton(5), 1);
    EXPECT_EQ(QV_JoystickButton(0), 0);
    EXPECT_EQ(device.buttonsRead, (std::vector<int>{0, 1, 4}));
}

TEST_F(JoystickDevice, TheFirstHatReadsAsTwoAxesAndWithoutAHatAsCentred)
{
    ASSERT_EQ(QV_InitJoystick(), 1);
    const struct {
        Uint8 hat;
        int32_t x;
        int32_t y;
    } ways[] = {{SDL_HAT_CENTERED, 0, 0},
                {SDL_HAT_UP, 0, -1},
                {SDL_HAT_RIGHTDOWN, 1, 1},
                {SDL_HAT_LEFTUP, -1, -1},
                {SDL_HAT_LEFT, -1, 0}};
    for (const auto& way : ways) {
        device.hat = way.hat;
        EXPECT_EQ(QV_JoystickHatX(), way.x) << int(way.hat);
        EXPECT_EQ(QV_JoystickHatY(), way.y) << int(way.hat);
    }
    device.hats = 0;
    EXPECT_EQ(QV_JoystickHatX(), 0);
    EXPECT_EQ(QV_JoystickHatY(), 0);
}

TEST_F(JoystickDevice, FreeingClosesItOnceAndAfterwardsNothingReachesSdl)
{
    ASSERT_EQ(QV_InitJoystick(), 1);
    QV_FreeJoysticks();
    QV_FreeJoysticks();
    EXPECT_EQ(device.closes, 1);

    device.axes = {32767, 32767};
    device.buttons[0] = 1;
    device.hat = SDL_HAT_UP;
    EXPECT_EQ(QV_ExamineJoystick(), 1);
    EXPECT_EQ(QV_JoystickHatY(), 0);
    EXPECT_EQ(QV_JoystickAxisX(), 0);
    EXPECT_EQ(QV_JoystickAxisY(), 0);
    EXPECT_EQ(QV_JoystickButton(1), 0);
    EXPECT_EQ(device.updates, 0);
    EXPECT_TRUE(device.axesRead.empty() && device.buttonsRead.empty());
}

}  // namespace
