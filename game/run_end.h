// The end of a run, however it comes: the player leaving, a signal, or the
// display going away under the game.
#pragma once

// Call as each run of the process begins: the next EndRun ends it.
void BeginRun();

// Completes the replay and the digests the command line asked for, and the
// run being kept (kept_files.h), and, unless a replay was played back, saves
// the settings with the run's hi score (see WriteSettings). Only the first
// call after BeginRun does so; a later one returns the first one's answer.
// False when a replay or digests could not be written whole.
bool EndRun();

// From now on the display going away ends the run as EndRun does, says so on
// standard error and ends the program with status 1. Call it once the
// options window has been answered and before the screen opens (see
// display_loss.h).
void EndRunWhenTheDisplayGoes();
