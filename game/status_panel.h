// Status panel: the frame strips around the playfield, the panel picture at
// the right with its progress and damage markers, and the six-digit score
// and hi score (score.h keeps them; the panel only shows them).
#pragma once

#include <array>
#include <cstdint>

// ---- State ---------------------------------------------------------------

struct PanelState {
    int32_t ProgressX = 0;  // x of the progress marker, 490 to 624
};

// Written by this module alone; the rest of the game reads it.
extern PanelState Panel;

// The six digits the panel shows for a value, most significant first: the
// last six decimal digits of its magnitude.
std::array<int32_t, 6> ScoreDigits(int32_t value);

// ---- Frame steps (in the order the frame runs them) -----------------------

// The four frame strips and the panel picture.
void DrawPanelFrame();

// Places the progress marker for MapRow.
void UpdateProgressMarker();

// The two gauge markers and both rows of digits.
void DrawGaugesAndScores();

// The credits line over the bottom of the playfield (drawn while F12 is held).
void DrawCreditsLine();
