// The options window that lets the player change four of the settings
// (settings.h) before the game starts.
#pragma once

#include <cstdint>

constexpr int32_t OptionsWindowNumber = 0;

// Shows the options window with the current settings and waits until the
// player presses "Start Game" or Enter (the settings then take the window's
// choices and the result is 1) or closes the window, by its close button or
// Escape (result 0). Also 0, without
// waiting, when the window or its gadgets cannot be created. On 1 the window
// is left open: the caller writes the settings and then closes it.
int32_t RunOptionsWindow();

// The options window's handle once opened (kept after it is closed), for
// the runtime calls that expect one; nullptr before.
void* OptionsWindowHandle();
