#include "runtime/sdl/environment_hints.h"

#include "runtime/sdl/sdl_library.h"

#include <cstdlib>

namespace {

bool windowDriversOnly = false;

// SDL takes an empty driver name for no driver at all.
bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

void QV_SetEnvironmentHints()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    if (!IsSet("SDL_VIDEODRIVER")) {
        // SDL 2 tries a list in turn; classic SDL 1.2 takes one name.
        setenv("SDL_VIDEODRIVER", QV_RunsOnSDL2() ? "x11,wayland" : "x11", 1);
        windowDriversOnly = true;
    }
}

bool QV_WindowDriversOnly()
{
    return windowDriversOnly;
}
