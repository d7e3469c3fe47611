// The joystick layer against a joystick that is there: SDL's joystick
// functions are replaced by stand-ins that play one device and record what
// the layer asks of it. SDL's joystick subsystem itself starts for real.
#include "runtime/input/joystick.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct Device {
    int count = 1;      // joysticks SDL reports
    bool opens = true;  // whether opening gives a handle
    std::array<Sint16, 2> axes{};
    std::array<Uint8, 8> buttons{};
    std::vector<int> opened;  // device indexes asked for
    std::vector<int> axesRead;
    std::vector<int> buttonsRead;
    int updates = 0;
    int closes = 0;
};

Device device;

SDL_Joystick* Handle()
{
    return reinterpret_cast<SDL_Joystick*>(&device);
}

} // namespace

int SDL_NumJoysticks()
{
    return device.count;
}

SDL_Joystick* SDL_JoystickOpen(int index)
{
    device.opened.push_back(index);
    return device.opens ? Handle() : nullptr;
}

void SDL_JoystickUpdate()
{
    ++device.updates;
}

Sint16 SDL_JoystickGetAxis(SDL_Joystick* joystick, int axis)
{
    EXPECT_EQ(joystick, Handle());
    device.axesRead.push_back(axis);
    return device.axes.at(static_cast<size_t>(axis));
}

Uint8 SDL_JoystickGetButton(SDL_Joystick* joystick, int button)
{
    EXPECT_EQ(joystick, Handle());
    device.buttonsRead.push_back(button);
    return device.buttons.at(static_cast<size_t>(button));
}

void SDL_JoystickClose(SDL_Joystick* joystick)
{
    EXPECT_EQ(joystick, Handle());
    ++device.closes;
}

namespace {

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

TEST_F(JoystickDevice, FreeingClosesItOnceAndAfterwardsNothingReachesSdl)
{
    ASSERT_EQ(QV_InitJoystick(), 1);
    QV_FreeJoysticks();
    QV_FreeJoysticks();
    EXPECT_EQ(device.closes, 1);

    device.axes = {32767, 32767};
    device.buttons[0] = 1;
    EXPECT_EQ(QV_ExamineJoystick(), 1);
    EXPECT_EQ(QV_JoystickAxisX(), 0);
    EXPECT_EQ(QV_JoystickAxisY(), 0);
    EXPECT_EQ(QV_JoystickButton(1), 0);
    EXPECT_EQ(device.updates, 0);
    EXPECT_TRUE(device.axesRead.empty() && device.buttonsRead.empty());
}

} // namespace
