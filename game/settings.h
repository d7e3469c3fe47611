// The settings kept in "Tervane.ini", and the options window that lets the
// player change the first four before the game starts. The window's scale
// and the player's keys (key_map.h) are set in the file alone.
#pragma once

#include <cstdint>

typedef struct _GtkWidget GtkWidget;

// ---- Settings ---------------------------------------------------------------
extern int32_t UseKeys;    // 1 = joystick control, 0 = keyboard
extern int32_t UseAudio;   // 1 = sound on
extern int32_t Use3D;      // "Hardware Shadows": kept and written back only
extern int32_t UseWindow;  // 1 = play in a 640 x 480 window, 0 = full screen
extern int32_t HiScore;    // best score so far
// 1 to 4: the window shows every pixel of the 640 x 480 frame as N x N.
extern int32_t WindowScale;
// --scale N: the window's scale for this run only, never saved; 0 when the
// command line gives none.
extern int32_t CommandLineScale;

// The scale the window opens at: CommandLineScale when given, else WindowScale.
int32_t ChosenWindowScale();

// The options window once opened; kept after it is closed.
constexpr int32_t OptionsWindowNumber = 0;
extern GtkWidget* OptionsWindow;

// Reads the settings from the file; missing keys or file give the defaults
// (keyboard, sound on, no shadows, full screen, hi score 0, scale 1, the
// usual keys); text that is not a number reads as 0, and a scale other than
// 1 to 4 as 1; the key names are checked when the keyboard takes them. A file that is there but cannot be read
// gives the defaults too, with one line on standard error saying why; it is
// then never replaced.
void ReadSettings();

// Shows the options window with the current settings and waits until the
// player presses "Start Game" (the settings then take the window's choices,
// QuitFlag becomes 1 and the result is 1) or closes the window (result 0).
// Also 0, without waiting, when the window or its gadgets cannot be created.
// On 1 the window is left open: the caller writes the settings and then
// closes it.
int32_t RunOptionsWindow();

// Replaces the file with every setting, the five that older copies of the
// game read first, each at its current value; skipped silently when the file
// cannot be created or is not the player's to replace (unreadable or
// read-only). HiScore first takes the file's own if that is higher, so a copy
// of the game that ends later never lowers a score another one saved.
void WriteSettings();
