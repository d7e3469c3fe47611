// The primitives the drawing layer draws with, in tervane::primitives:
// SDL_gfx's where the build has it (TERVANE_SDL_GFX), the runtime's own,
// which set the same pixels, where it has not.
#pragma once

#if TERVANE_SDL_GFX
#include <SDL_gfxPrimitives.h>

namespace tervane::primitives {
using ::boxColor;
using ::circleColor;
using ::ellipseColor;
using ::lineColor;
using ::pixelColor;
using ::stringColor;
}  // namespace tervane::primitives
#else
#include "runtime/screen/primitives.h"
#endif
