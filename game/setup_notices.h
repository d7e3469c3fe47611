// What the game's screen tells the player about their own setup: the start
// prompt naming a start key they moved, the credits page's controls naming
// their keys or their pad's buttons, and the settings the game refused.
// Both are drawn over a finished frame after its digest, so a run shows the
// same frames under any settings file.
#pragma once

#include <cstdint>
#include <string>

// A black plate in the banners' frame, on the current drawing output: the
// ground of the pause banner and of the notices below.
void DrawPlate(int32_t x, int32_t y, int32_t width, int32_t height);

// `text` in the game's own 8 x 8 lettering with its top left at x, y, in the
// front colour, on the current drawing output.
void DrawTextAt(const std::string& text, int32_t x, int32_t y);

// Over the prompt of the title picture (or, with `restart`, of the
// level-complete picture) when the start key is not S: "PRESS  RETURN  TO
// START" on the picture's plate and in its lettering (lettering.h). Nothing
// with the usual key.
void DrawStartKeyPrompt(bool restart);

// Over the controls of the credits picture, when a key was moved or the pad
// plays: every key the game answers to, in the picture's place and
// lettering, with a line for pausing; with the pad, its stick and the
// buttons that fire, start and pause. Nothing with the usual keys.
void DrawCreditsControls();

// The refused settings, one line each at the foot of the playfield, for the
// first few seconds of attract pages it is called on; nothing when none was
// refused.
void DrawRefusedSettings();
