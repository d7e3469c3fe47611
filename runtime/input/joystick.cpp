#include "runtime/input/joystick.h"

#include "runtime/sdl/sdl_lifetime.h"

#include <SDL.h>

namespace {

struct JoystickState {
    SDL_Joystick* device = nullptr;
};

JoystickState joystick;

int32_t ReadAxis(int axis)
{
    if (joystick.device == nullptr)
        return 0;
    return QV_JoystickAxisDirection(SDL_JoystickGetAxis(joystick.device, axis));
}

Uint8 ReadHat()
{
    // SDL reads a hat the joystick lacks as centred, but complains of it.
    if (joystick.device == nullptr || SDL_JoystickNumHats(joystick.device) < 1)
        return SDL_HAT_CENTERED;
    return SDL_JoystickGetHat(joystick.device, 0);
}

// -1, 0 or +1 from a hat's two opposite ways.
int32_t HatDirection(Uint8 less, Uint8 more)
{
    const Uint8 hat = ReadHat();
    return ((hat & more) != 0 ? 1 : 0) - ((hat & less) != 0 ? 1 : 0);
}

}  // namespace

int32_t QV_JoystickAxisDirection(int32_t raw)
{
    if (raw > QV_JOYSTICK_DEAD_ZONE)
        return 1;
    if (raw < -QV_JOYSTICK_DEAD_ZONE)
        return -1;
    return 0;
}

int32_t QV_InitJoystick()
{
    joystick.device = nullptr;
    if (QV_StartSDLSubsystem(SDL_INIT_JOYSTICK) == 0)
        return 0;
    const int32_t count = SDL_NumJoysticks();
    if (count <= 0)
        return 0;
    joystick.device = SDL_JoystickOpen(0);
    return joystick.device != nullptr ? count : 0;
}

int32_t QV_ExamineJoystick()
{
    // SDL's update walks a table that exists only while its joystick
    // subsystem runs.
    if (joystick.device != nullptr)
        SDL_JoystickUpdate();
    return 1;
}

int32_t QV_JoystickAxisX()
{
    return ReadAxis(0);
}

int32_t QV_JoystickAxisY()
{
    return ReadAxis(1);
}

int32_t QV_JoystickHatX()
{
    return HatDirection(SDL_HAT_LEFT, SDL_HAT_RIGHT);
}

int32_t QV_JoystickHatY()
{
    return HatDirection(SDL_HAT_UP, SDL_HAT_DOWN);
}

int32_t QV_JoystickButton(int32_t button)
{
    // SDL checks only the upper end of the button number, so a number below
    // 1 would read in front of its button table.
    if (joystick.device == nullptr || button < 1)
        return 0;
    return SDL_JoystickGetButton(joystick.device, button - 1) != 0 ? 1 : 0;
}

void QV_FreeJoysticks()
{
    if (joystick.device == nullptr)
        return;
    SDL_JoystickClose(joystick.device);
    joystick.device = nullptr;
}
