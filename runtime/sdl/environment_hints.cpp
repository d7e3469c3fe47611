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

// The drivers that show the game: a web page's own canvas, or a window on
// X11 (or Wayland, through SDL 2, which tries a list in turn).
const char* WindowDrivers()
{
#ifdef __EMSCRIPTEN__
    return "web";
#else
    return QV_RunsOnSDL2() ? "x11,wayland" : "x11";
#endif
}

}  // namespace

void QV_SetEnvironmentHints()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    if (!IsSet("SDL_VIDEODRIVER")) {
        setenv("SDL_VIDEODRIVER", WindowDrivers(), 1);
        windowDriversOnly = true;
    }
}

bool QV_WindowDriversOnly()
{
    return windowDriversOnly;
}
