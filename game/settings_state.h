// The settings as the game reads them while it runs; settings.h reads and
// writes them in "Tervane.ini" and makes every change.
#pragma once

#include <cstdint>

struct SettingsState {
    int32_t UseKeys = 0;    // 1 = joystick control, 0 = keyboard
    int32_t UseAudio = 0;   // 1 = sound on
    int32_t Use3D = 0;      // "Hardware Shadows": kept and written back only
    int32_t UseWindow = 0;  // 1 = play in a 640 x 480 window, 0 = full screen
    int32_t HiScore = 0;    // best score so far
    // 1 to 4: the window shows every pixel of the 640 x 480 frame as N x N.
    int32_t WindowScale = 1;
    // The window's scale for this run only, never saved: --scale N, or a
    // smaller one when that or WindowScale would not fit the desktop; 0
    // for none.
    int32_t CommandLineScale = 0;
    // Pad buttons, counted from 1 as button 1 fires: JoyStart starts a game
    // where the start key does, JoyPause pauses and resumes where P does.
    int32_t JoyStart = 8;
    int32_t JoyPause = 7;
    // 0 to 100: the loudness of the music and of the effects, in percent.
    int32_t MusicVolume = 100;
    int32_t EffectsVolume = 100;
    // 1 when sound was chosen but could not start: this run is silent, and
    // the file keeps the player's choice.
    int32_t SoundFailed = 0;
};

// Written by settings.cpp alone; the rest of the game reads it.
extern SettingsState Settings;
