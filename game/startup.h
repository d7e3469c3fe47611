// Start-up and shutdown: starts every runtime layer in its order, runs the
// options window, opens the screen, loads the built-in pictures and sounds,
// plays, writes the settings and releases everything again.
#pragma once

#include "game/command_line.h"
#include "runtime/screen/screen.h"

#include <cstdint>
#include <span>

// Starts the runtime layers that need no device, in their order; the
// random generator is seeded from the clock.
void StartRuntimeLayers();

// ---- Game state ----------------------------------------------------------

// Every module's game state at its start values (the lists empty, the
// level map unbuilt) and DataCursor on the level map.
void InitialiseGameState();

// ---- Start-up steps that can fail ------------------------------------------
// Each returns the text of the error box to show, or nullptr on success.

// Starts sound when it was chosen. A failure switches sound off for the run
// and start-up goes on.
const char* StartSound();

// Starts the sprite layer and the keyboard, and the joystick when it was
// chosen.
const char* StartDevices();

// Opens the 640 x 480 screen in a window, enlarged by ChosenWindowScale(),
// or, failing depth 32, 24 and 16 in turn, full screen.
const char* OpenGameScreen();
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

// Tries full screen at each of `depths` in turn (the game's are 32, 24, 16)
// and stops at the first that opens; nullptr then, the message otherwise.
const char* OpenFullScreen(std::span<const int32_t> depths);

// ---- The game --------------------------------------------------------------

// Loads the built-in pictures (and sounds, with sound on), builds the level
// map and starts a new game on the attract pages. Needs the screen open.
void LoadGame();

// Runs the frame loop until the player leaves, then writes the settings
// with the hi score of this run; a replay (see controls.h) writes none.
void PlayAndSaveSettings();

// The whole program, started as `options` say. Ends the process with exit
// status 0; 1 when the options window cannot open for want of a display;
// 2 when a file the command line names cannot be used.
[[noreturn]] void RunTervane(const LaunchOptions& options);
