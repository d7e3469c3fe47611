// SDL's joystick functions replaced at link time by stand-ins that play one
// device and record what is asked of it. Include it in one source of a test
// executable of its own: no other test should meet them. SDL's joystick
// subsystem itself starts for real.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace joystick_stand_in {

struct Device {
    int count = 1;      // joysticks SDL reports
    bool opens = true;  // whether opening gives a handle
    std::array<Sint16, 2> axes{};
    std::array<Uint8, 8> buttons{};
    int hats = 1;
    Uint8 hat = SDL_HAT_CENTERED;
    std::vector<int> opened;  // device indexes asked for
    std::vector<int> axesRead;
    std::vector<int> buttonsRead;
    int updates = 0;
    int closes = 0;
};

inline Device device;

inline SDL_Joystick* Handle()
{
    return reinterpret_cast<SDL_Joystick*>(&device);
}

}  // namespace joystick_stand_in

int SDL_NumJoysticks()
{
    return joystick_stand_in::device.count;
}

SDL_Joystick* SDL_JoystickOpen(int index)
{
    joystick_stand_in::device.opened.push_back(index);
    return joystick_stand_in::device.opens ? joystick_stand_in::Handle() : nullptr;
}

void SDL_JoystickUpdate()
{
    ++joystick_stand_in::device.updates;
}

Sint16 SDL_JoystickGetAxis(SDL_Joystick* joystick, int axis)
{
    EXPECT_EQ(joystick, joystick_stand_in::Handle());
    joystick_stand_in::device.axesRead.push_back(axis);
    return joystick_stand_in::device.axes.at(static_cast<size_t>(axis));
}

int SDL_JoystickNumHats(SDL_Joystick* joystick)
{
    EXPECT_EQ(joystick, joystick_stand_in::Handle());
    return joystick_stand_in::device.hats;
}

Uint8 SDL_JoystickGetHat(SDL_Joystick* joystick, int hat)
{
    EXPECT_EQ(joystick, joystick_stand_in::Handle());
    EXPECT_EQ(hat, 0);
    return joystick_stand_in::device.hat;
}

Uint8 SDL_JoystickGetButton(SDL_Joystick* joystick, int button)
{
    EXPECT_EQ(joystick, joystick_stand_in::Handle());
    joystick_stand_in::device.buttonsRead.push_back(button);
    return joystick_stand_in::device.buttons.at(static_cast<size_t>(button));
}

void SDL_JoystickClose(SDL_Joystick* joystick)
{
    EXPECT_EQ(joystick, joystick_stand_in::Handle());
    ++joystick_stand_in::device.closes;
}
