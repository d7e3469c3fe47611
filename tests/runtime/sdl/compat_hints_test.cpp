// The sdl12-compat hints: asked for unless the user chose otherwise.
#include "runtime/sdl/compat_hints.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CompatHints, NearestScalingIsAskedForButTheUsersChoiceIsKept)
{
    unsetenv("SDL12COMPAT_SCALE_METHOD");
    QV_SetCompatHints();
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "nearest");

    setenv("SDL12COMPAT_SCALE_METHOD", "linear", 1);
    QV_SetCompatHints();
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "linear");
    unsetenv("SDL12COMPAT_SCALE_METHOD");
}
