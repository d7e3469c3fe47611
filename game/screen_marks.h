// Small marks in the playfield's top corners, drawn over a finished frame
// after its digest, like the pause banner, so that they are in no frame of a
// run and in no screenshot: the mark of a replay being watched, and a short
// note of what the game just did (a screenshot saved).
#pragma once

#include <string>

// Shows `text` in the top right corner for the next second of frames.
void ShowNote(const std::string& text);

// Saves the frame on the screen now as a PNG in the screenshots folder
// (kept_files.h), named by the date and time, and notes whether it was; a
// failure is said on standard error, a success on standard output.
void TakeScreenshot();

// Draws the marks due this frame: "REPLAY · Esc stops" top left while a
// replay is watched, and the note.
void DrawScreenMarks();
