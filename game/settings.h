// The settings kept in "Tervane.ini" (where, settings_place.h says): the four
// the options window (options_window.h) lets the player change before the
// game starts, the hi score, the window's scale and the player's keys
// (key_map.h). Every message about the file names its full path.
#pragma once

#include "game/settings_state.h"

#include <cstdint>

// Reads the settings from the file, which this chooses for the run
// (settings_place.h); missing keys or file give the defaults
// (keyboard, sound on, no shadows, full screen, hi score 0, scale 1, the
// usual keys, pad buttons 8 and 7, full volumes); text that is not a number
// reads as 0 and a scale other than 1 to 4 as 1; the key names are checked
// when the keyboard takes them. A pad button or volume that is not a whole
// number in its range, or a pause button that is the start button, keeps its
// default with one line on standard error (refused_settings.h), and stays in
// the file as written. So does a hi score that is not a whole number from 0
// to 2147483647, which plays as the number it plainly starts with, held
// within that range, and is replaced only by a higher score. A file that is
// there but cannot be read, or not wholly (see preferences.h), gives the
// defaults for what it does not give, with one line on standard error saying
// why; it is then never replaced.
void ReadSettings();

// Hands the chosen keys to the keyboard layer (key_map.h), which must be
// started; each key it refuses is reported as the other settings are.
void ApplyKeySettings();

// What the options window lets the player choose.
struct ChosenOptions {
    int32_t UseKeys;
    int32_t UseAudio;
    int32_t Use3D;
    int32_t UseWindow;
};
void TakeChosenOptions(const ChosenOptions& chosen);

// A replay's settings for the run it plays back; `silent` switches sound off.
void TakeReplaySettings(int32_t useKeys, int32_t hiScore, bool silent);

// Sound could not start: the run plays silent, UseAudio is saved as chosen.
void SwitchSoundOff();

// The player switched between window (1) and full screen (0) while playing.
void ChooseWindowMode(int32_t useWindow);

void SetCommandLineScale(int32_t scale);

// The scale the window opens at: CommandLineScale when given, else WindowScale.
int32_t ChosenWindowScale();

// A score above the hi score becomes the hi score.
void RaiseHiScore(int32_t score);

// Replaces the file with every setting, the five that older copies of the
// game read first, each at its current value; its folder is made first when
// missing. HiScore first takes the file's
// own if that is higher, under a lock that other copies writing in the same
// folder wait for, so a copy of the game that ends later never lowers a score
// another one saved. When the file cannot be written, or is not the player's
// to replace (see preferences.h), it is left as it was and one line on
// standard error says why, unless reading it already did.
void WriteSettings();
