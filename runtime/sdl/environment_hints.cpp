#include "runtime/sdl/environment_hints.h"

#include <cstdlib>

void QV_SetEnvironmentHints()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("XCOMPOSEFILE", "/dev/null", 0);
}
