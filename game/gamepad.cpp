#include "game/gamepad.h"

#include "game/settings_state.h"
#include "runtime/input/joystick.h"

namespace {

constexpr int32_t FireButton = 1;

struct PadButtons {
    bool startHeld = false;
    bool pauseHeld = false;
};

PadButtons pad;

// The stick wins on an axis it pushes; the D-pad counts only where the stick
// rests, so the two together never make more than one step.
int32_t Steer(int32_t stick, int32_t hat)
{
    return stick != 0 ? stick : hat;
}

// True when the button is down now and was not at the last look.
bool WentDown(int32_t button, bool& held)
{
    const bool wasHeld = held;
    held = QV_JoystickButton(button) != 0;
    return held && !wasHeld;
}

}  // namespace

PadInput TakePadInput(std::vector<QV_KeyEvent>& keys)
{
    QV_ExamineJoystick();
    PadInput input;
    input.reading = {Steer(QV_JoystickAxisX(), QV_JoystickHatX()), Steer(QV_JoystickAxisY(), QV_JoystickHatY()),
                     QV_JoystickButton(FireButton)};
    const bool startWasHeld = pad.startHeld;
    pad.startHeld = QV_JoystickButton(Settings.JoyStart) != 0;
    if (pad.startHeld != startWasHeld)
        keys.push_back({QV_KEY_S, pad.startHeld ? 1 : 0});
    input.pausePressed = WentDown(Settings.JoyPause, pad.pauseHeld);
    return input;
}

bool PadResumes()
{
    QV_ExamineJoystick();
    return WentDown(Settings.JoyPause, pad.pauseHeld);
}
