// The game's 640 x 480 screen: opened in a window or full screen as the
// settings say, the window fitted to the desktop, and switched from one to
// the other by Alt+Enter during the game.
#pragma once

#include "runtime/screen/screen.h"

#include <cstdint>
#include <span>
#include <string>

// Opens the screen in a window, enlarged by ChosenWindowScale(), or, failing
// depth 32, 24 and 16 in turn, full screen. Returns the text of the error
// box to show, or nullptr on success.
const char* OpenGameScreen();

// Tries full screen at each of `depths` in turn (the game's are 32, 24, 16)
// and stops at the first that opens; nullptr then, the message otherwise.
const char* OpenFullScreen(std::span<const int32_t> depths);

// The error box's text for `failure` to start SDL's video or, once it runs
// (`videoStarted`), to open the screen: SDL's own words for it under the
// game's; and when SDL was kept to the drivers that show a window and none
// could start, why, and on classic SDL 1.2 a way to play on sdl12-compat.
std::string ScreenFailureText(const char* failure, bool videoStarted);

// Lowers the window's scale for this run to the largest whose window fits
// `desktop` (QV_DesktopSize; 0 x 0, unknown, lowers nothing), saying so on
// standard error; the settings file keeps the player's.
void FitWindowToDesktop(QV_ScreenSize desktop);

// Alt+Enter: reopens the screen the other way, full screen or in a window,
// and keeps the choice in the settings file (a replay's viewer changes no
// file). The frame being drawn goes to the new screen. When the screen
// cannot open the other way it opens as it was; false when it can open
// neither way.
bool SwitchScreenMode();

// Alt+Enter during a pause: switches as SwitchScreenMode does and shows the
// paused frame, banner and all, on the new screen. False as there.
bool SwitchPausedScreen();
