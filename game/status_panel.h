// Status panel: the frame strips around the playfield, the panel picture at
// the right with its progress and damage markers, and the six-digit score
// and hi score.
#pragma once

#include <cstdint>

// ---- State ---------------------------------------------------------------

extern int32_t Score;
extern char* ScoreText;   // the six digits last built for the panel
extern int32_t ProgressX; // x of the progress marker, 490 to 624

// ---- Frame steps (in the order the frame runs them) -----------------------

// The four frame strips and the panel picture.
void DrawPanelFrame();

// Places the progress marker for MapRow.
void UpdateProgressMarker();

// The two gauge markers, the hi-score update and both rows of digits.
void DrawGaugesAndScores();

// The credits line over the bottom of the playfield (drawn while F12 is held).
void DrawCreditsLine();
