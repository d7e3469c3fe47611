// Start-up and shutdown: starts every runtime layer in its order, runs the
// options window, opens the screen, loads the built-in pictures and sounds,
// plays, writes the settings and releases everything again.
#pragma once

// Creates the bullet array, the enemy, explosion and enemy-shot lists and
// the boss array, all empty (emptying and re-creating them when called
// again).
void CreateGameContainers();

// The whole program. Ends the process with exit status 0 on every path.
[[noreturn]] void RunTervane();
