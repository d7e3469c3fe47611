// The files the game keeps for the player outside the settings: every run
// it records, in the data folder, and the screenshots, in the pictures
// folder, each named by the date and time it was made.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// How many recorded runs are kept: the newest.
constexpr int32_t KeptRunsCount = 20;

// $XDG_DATA_HOME/tervane/replays, or ~/.local/share/tervane/replays when
// that is unset or not absolute; empty with neither set.
std::string KeptRunsFolder(const char* dataHome, const char* home);
// $XDG_PICTURES_DIR/Tervane, or ~/Pictures/Tervane; empty with neither set.
std::string ScreenshotsFolder(const char* picturesDir, const char* home);
// The same, from this process's environment.
std::string KeptRunsFolder();
std::string ScreenshotsFolder();

// "2026-12-08_21-45-51", the local time `when`: names made so sort by age.
std::string DateTimeName(std::time_t when);

// Makes `folder` and the folders above it as needed. An empty string, or the
// one line to show.
std::string MakeFolder(const std::string& folder);

// The name a run started at `start` keeps once it is over:
// "2026-12-08_21-45-51_score-1230.tvr". While it runs it is
// DateTimeName(start) + ".tvr".
std::string KeptRunName(std::time_t start, int32_t score);

// Removes all but the newest `count` runs in `folder`: the files named as
// runs are named, and nothing else.
void KeepNewestRuns(const std::string& folder, int32_t count);

// The path of the newest run in `folder`, or empty when there is none.
std::string LastKeptRun(const std::string& folder);

// ---- The run being kept ------------------------------------------------------

// Starts recording this run into the kept runs' folder, named by the time it
// starts. When it cannot, says so on standard error, once in a process, and
// the game goes on unrecorded.
void StartKeptRun();

// Notes that play has begun in the run being kept.
void NoteGamePlayed();

// Ends the run started by StartKeptRun (nothing when none was). A run in
// which a game was played takes the name with `score`, and only the newest
// KeptRunsCount runs stay; a run of attract pages alone is not kept. Call
// after EndControlledFrames.
void FinishKeptRun(int32_t score);

// True when R on the title page has a run to watch: the game keeps runs this
// time (no replay asked for on the command line), and this run, being kept,
// has played a game, or a run was kept before.
bool KeptRunToWatch();
