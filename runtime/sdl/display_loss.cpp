#include "runtime/sdl/display_loss.h"

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
