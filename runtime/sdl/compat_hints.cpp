#include "runtime/sdl/compat_hints.h"

#include <cstdlib>

void QV_SetCompatHints()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}
