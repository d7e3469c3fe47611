// Start-up and shutdown: starts every runtime layer in its order, runs the
// options window, opens the screen, loads the built-in pictures and sounds,
// plays, writes the settings and releases everything again.
#pragma once

#include "game/command_line.h"

#include <cstdint>

// Starts the runtime layers that need no device, in their order; the
// random generator is seeded from the clock.
void StartRuntimeLayers();

// ---- Game state ----------------------------------------------------------

// Every module's game state at its start values (the lists empty, the
// level map unbuilt) and DataCursor on the level map.
void InitialiseGameState();

// ---- Start-up steps that can fail ------------------------------------------
// Each returns the text of the error box to show, or nullptr on success.

// Starts sound when it was chosen. A failure switches sound off for the run,
// not in the saved settings, and start-up goes on.
const char* StartSound();

// Starts the sprite layer and the keyboard, and the joystick when it was
// chosen.
const char* StartDevices();

// ---- The game --------------------------------------------------------------

// Loads the built-in pictures (and sounds, with sound on, unless they are
// loading already: it waits for them), builds the level map and starts a new
// game on the attract pages. Needs the screen open.
void LoadGame();

// Runs the frame loop until the player leaves, then writes the settings
// with the hi score of this run; a replay (see controls.h) writes none.
// False when a replay or digests the command line asked for could not be
// written whole.
// After a run that ended on R, the last kept run is watched, and a new run
// starts on the title page.
bool PlayAndSaveSettings();

// Watches the replay at `path` (a failure to read it is said on standard
// error), then puts the game back on the title page with the player's own
// settings and a new seed, ready for another run.
void WatchRun(const std::string& path);

// The whole program, started as `options` say. Ends the process with exit
// status 0; 1 when the options window cannot open for want of a display, or
// when a device or the screen fails after an error box said so, or when a
// replay or digests asked for could not be written whole, or when the display
// went away once the options window was answered (run_end.h); 2 when a file
// the command line names cannot be used.
[[noreturn]] void RunTervane(const LaunchOptions& options);
