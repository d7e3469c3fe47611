#include "runtime/input/joystick.h"
#include "runtime/sdl/sdl_lifetime.h"

#include <gtest/gtest.h>

namespace {

TEST(JoystickAxisTest, OnlyValuesBeyondTheDeadZoneReadAsPushed)
{
    EXPECT_EQ(QV_JoystickAxisDirection(0), 0);
    EXPECT_EQ(QV_JoystickAxisDirection(1000), 0);
    EXPECT_EQ(QV_JoystickAxisDirection(-1000), 0);
    EXPECT_EQ(QV_JoystickAxisDirection(1001), 1);
    EXPECT_EQ(QV_JoystickAxisDirection(-1001), -1);
    EXPECT_EQ(QV_JoystickAxisDirection(32767), 1);
    EXPECT_EQ(QV_JoystickAxisDirection(-32768), -1);
}

// Build machines have no joystick; where one is plugged in this test says
// nothing about the no-device path.
TEST(JoystickTest, WithoutADeviceEveryQueryReadsZero)
{
    if (QV_InitJoystick() != 0) {
        QV_FreeJoysticks();
        GTEST_SKIP() << "a joystick is attached";
    }
    EXPECT_EQ(QV_ExamineJoystick(), 1);
    EXPECT_EQ(QV_JoystickAxisX(), 0);
    EXPECT_EQ(QV_JoystickAxisY(), 0);
    EXPECT_EQ(QV_JoystickButton(1), 0);
    QV_FreeJoysticks();
    QV_FreeJoysticks();
    EXPECT_EQ(QV_JoystickAxisX(), 0);
    QV_QuitSDL();
}

TEST(JoystickTest, QueriesBeforeAnyStartReadZero)
{
    QV_FreeJoysticks();
    EXPECT_EQ(QV_ExamineJoystick(), 1);
    EXPECT_EQ(QV_JoystickAxisY(), 0);
    EXPECT_EQ(QV_JoystickHatX(), 0);
    EXPECT_EQ(QV_JoystickButton(1), 0);
}

}  // namespace
