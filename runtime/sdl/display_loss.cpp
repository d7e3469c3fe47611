#include "runtime/sdl/display_loss.h"

#ifdef __EMSCRIPTEN__
// A web page has no display connection to lose.
void QV_OnDisplayLost(QV_DisplayLostCall) {}
#else
#include <X11/Xlib.h>
#include <unistd.h>

namespace {

QV_DisplayLostCall displayLost = nullptr;

int OnConnectionLost(Display*)
{
    _exit(displayLost());
}

}  // namespace

void QV_OnDisplayLost(QV_DisplayLostCall ending)
{
    displayLost = ending;
    XSetIOErrorHandler(OnConnectionLost);
}
#endif
