// The environment hints: asked for unless the user chose otherwise.
#include "runtime/sdl/environment_hints.h"

#include "runtime/sdl/sdl_library.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(EnvironmentHints, EachIsAskedForButTheUsersChoiceIsKept)
{
    const struct {
        const char* name;
        const char* asked;
        const char* users;
    } hints[] = {
        {"SDL12COMPAT_SCALE_METHOD", "nearest", "linear"},
        {"SDL_RENDER_DRIVER", "software", "opengl"},
        {"SDL_FRAMEBUFFER_ACCELERATION", "0", "1"},
        {"XCOMPOSEFILE", "/dev/null", "/home/player/.XCompose"},
        {"SDL_VIDEODRIVER", QV_RunsOnSDL2() ? "x11,wayland" : "x11", "dummy"},
    };
    for (const auto& hint : hints) {
        unsetenv(hint.name);
        QV_SetEnvironmentHints();
        EXPECT_STREQ(getenv(hint.name), hint.asked) << hint.name;

        setenv(hint.name, hint.users, 1);
        QV_SetEnvironmentHints();
        EXPECT_STREQ(getenv(hint.name), hint.users) << hint.name;
        unsetenv(hint.name);
    }
    EXPECT_TRUE(QV_WindowDriversOnly());
}
