// Digital readings of the first joystick SDL knows: each axis and each way of
// its first hat (a pad's D-pad) reads -1, 0 or +1, each button 0 or 1. With
// no joystick open every query reads 0.
#pragma once

#include <cstdint>

// A raw axis value beyond this (either way) counts as pushed.
constexpr int32_t QV_JOYSTICK_DEAD_ZONE = 1000;

// Opens joystick 0. Returns the number of joysticks SDL reports, or 0 when
// the joystick subsystem cannot be started or no joystick can be opened.
int32_t QV_InitJoystick();

// Brings the readings up to date. Always 1.
int32_t QV_ExamineJoystick();

// Horizontal axis: -1 left, 0 centre, +1 right.
int32_t QV_JoystickAxisX();
// Vertical axis: -1 up, 0 centre, +1 down.
int32_t QV_JoystickAxisY();
// The first hat: -1 left or up, 0, +1 right or down; 0 without a hat.
int32_t QV_JoystickHatX();
int32_t QV_JoystickHatY();
// 1 while `button` (counted from 1) is pressed; 0 for a number below 1.
int32_t QV_JoystickButton(int32_t button);

// Closes the joystick, if one was opened.
void QV_FreeJoysticks();

// The digital reading of a raw SDL axis value (-32768 to 32767).
int32_t QV_JoystickAxisDirection(int32_t raw);
