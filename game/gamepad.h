// The pad as the game reads it in joystick mode: the stick and the D-pad fly
// the plane, button 1 fires, and the start and pause buttons the settings
// name stand in for the start key and P.
#pragma once

#include "game/replay_file.h"
#include "runtime/input/keyboard.h"

#include <vector>

struct PadInput {
    // On each axis the stick's direction, or the D-pad's while the stick
    // rests inside its dead zone on that axis; button 1.
    JoystickReading reading;
    bool pausePressed = false;  // the pause button went down
};

// Examines the pad for this frame. Each change of the start button since the
// last call is added to `keys` as a press or release of the usual start key,
// so a pad starts a game wherever the key does and a replay keeps it as one.
PadInput TakePadInput(std::vector<QV_KeyEvent>& keys);

// For the pause: examines the pad and tells whether the pause button went
// down since it was last looked at.
bool PadResumes();
