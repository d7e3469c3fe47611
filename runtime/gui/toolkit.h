// The GTK start-up shared by the window, gadget and requester layers.
//
// Whichever layer comes first starts the toolkit; the others find it running.
// Without a display the toolkit cannot start, and every layer then refuses to
// create widgets instead of letting GTK abort the program.
#pragma once

// Starts GTK unless it runs already. Returns true when it runs.
bool QV_StartToolkit();

// True once QV_StartToolkit has succeeded.
bool QV_ToolkitRunning();

// Dispatches every event GTK has pending, so that the screen is up to date
// and the signal handlers have run when this returns.
void QV_FlushToolkitEvents();
