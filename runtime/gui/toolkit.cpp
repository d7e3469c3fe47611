#include "runtime/gui/toolkit.h"

#include <gtk/gtk.h>

namespace {

struct ToolkitState {
    bool running = false;
};

ToolkitState toolkit;

}  // namespace

bool QV_StartToolkit()
{
    // gtk_init would end the process without a display; the check variant
    // lets the layers refuse their work instead.
    if (!toolkit.running)
        toolkit.running = gtk_init_check(nullptr, nullptr);
    return toolkit.running;
}

bool QV_ToolkitRunning()
{
    return toolkit.running;
}

void QV_FlushToolkitEvents()
{
    if (!toolkit.running)
        return;
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}
