// Watching the frames a run presents: a digest of each one, written to a
// file so two builds can be compared frame by frame, and for a timedemo the
// time the whole run took.
#pragma once

#include <string>

// Writes one line per presented frame to `digestPath` (none when empty)
// and, when `timing`, reports the run's figures at the end. Returns an empty
// string, or the one line to show when the file cannot be created without
// waiting (see OpenOutputFile) or is the replay at `replayPath` itself.
std::string StartFrameWatch(const std::string& digestPath, const std::string& replayPath, bool timing);

// True when the run is a timedemo.
bool TimingFrames();

// Call as the frame loop starts.
void BeginWatchedFrames();

// Call with each frame complete on the screen, before it is presented.
void WatchFrame();

// Call after the last frame: a timedemo prints its figures on standard
// output. False when the digests could not be written whole.
bool EndWatchedFrames();
