// The controls the game sees each frame, made here once a frame into one
// value. They come live from the keyboard and joystick, live and recorded
// to a replay, or from a replay played back, where the live keyboard only
// stops the playback.
#pragma once

#include "game/replay_file.h"

#include <cstdint>
#include <string>

// What the player asks of the plane in one frame.
struct PlayerInput {
    int32_t X = 0;      // -1 left, 0, +1 right
    int32_t Y = 0;      // -1 up, 0, +1 down
    bool Fire = false;  // the fire control is held
};

// What the player asks of the game in one frame.
struct FrameControls {
    // From the joystick in joystick mode, from the arrow keys and the fire
    // key otherwise.
    PlayerInput player;
    // The start key, or the pad's start button, is down. The game asks for
    // its release only on some pages, so the game keeps what it has seen of
    // it (QV_KeyRelease).
    bool startHeld = false;
    bool leave = false;    // Escape let go, or the window closed
    bool credits = false;  // F12 held: the credits line shows
    // P or the pad's pause button pressed, or the keyboard's focus gone to
    // another window, in a window or full screen. A replay never pauses: it
    // shows the frames of the run, paused or not.
    bool pause = false;
    bool switchScreen = false;  // Alt+Enter: the other kind of screen
    // Print Screen or F10 pressed on the live keyboard, while playing or
    // watching.
    bool screenshot = false;
    // R let go on the live keyboard; never while watching a replay.
    bool watchLast = false;
};

// Who asked for a recording: the player, on the command line, or the game,
// which keeps every run. A kept run that cannot be written whole is said so
// once, and fails nothing else.
enum class Recording { Asked, Kept };

// Records the live controls into a new replay at `path`, written beside it
// under a temporary name until it holds frames: a replay already at `path` is
// replaced only then, and stays when the run ends before its first frame.
// Returns an empty string, or the one line to show when the file cannot be
// created.
std::string StartRecording(const std::string& path, Recording kind);

// Reads and checks the replay at `path`, whose input the controls then
// give. Returns an empty string, or the one line to show.
std::string StartPlayback(const std::string& path);

// Takes the controls live and unrecorded again, after a replay was watched.
void TakeLiveControls();

// True while the controls come from a replay.
bool PlayingBack();

// The replay's header; meaningful while PlayingBack.
const ReplayHeader& PlaybackHeader();

// Call once the run's settings are final, before the first frame: the
// recording's header is written then. A replay starts with no key held, as
// the game does, whatever the live keyboard holds.
void BeginControlledFrames(const ReplayHeader& header);

// False once a replay has no frame left or its viewer has stopped it.
bool ControlledFramesLeft();

// Takes this frame's input, records it to a replay being made or takes it
// from the replay played back, and makes the frame's controls from it. The
// joystick is read, and steers, only when `joystick` is true. A key let go
// in the frame it went down in is let go in the next frame instead, so that
// a tap quicker than a frame is seen held once, as a slower one is.
FrameControls TakeFrameControls(bool joystick);

// How a pause ended.
enum class PauseEnd {
    Resume,        // P or the pad's pause button
    Leave,         // Escape or the window's close button
    SwitchScreen,  // Alt+Enter: the paused frame goes to the other kind of screen and the pause goes on
};

// Sleeps until the player resumes, leaves or asks for the other kind of
// screen, showing the paused frame again wherever another window uncovers it.
// The keys pressed and let go meanwhile reach the game with the next frame's
// input, so a key let go during the pause is up when play goes on.
PauseEnd WaitWhilePaused();

// Completes a recording, and says on standard error when a replay was cut
// short or could not be written whole; a replay the player asked for is
// said on standard output, with where it went and its frames. False when
// that replay could not be written whole.
bool EndControlledFrames();
