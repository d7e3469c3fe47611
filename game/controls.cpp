#include "game/controls.h"

#include "game/gamepad.h"
#include "game/owned_file.h"
#include "runtime/input/keyboard.h"
#include "runtime/input/screen_events.h"
#include "runtime/screen/screen.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int32_t EscapeKey = QV_KEY_ESCAPE;
constexpr int32_t PauseKey = QV_KEY_P;
constexpr int32_t StartKey = QV_KEY_S;
constexpr int32_t CreditsKey = QV_KEY_F12;
// Where the desktop takes Print Screen for itself, F10 does the same.
constexpr int32_t ScreenshotKey = QV_KEY_PRINT;
constexpr int32_t OtherScreenshotKey = QV_KEY_F10;
constexpr int32_t WatchLastKey = QV_KEY_R;

struct ControlsState {
    std::string replayPath;
    // Recording.
    Recording kind = Recording::Asked;
    StagedFile recording;
    std::optional<ReplayWriter> writer;
    bool writeFailed = false;
    // Playing back.
    bool playingBack = false;
    Replay replay;
    std::optional<ReplayCursor> cursor;
    bool viewerStopped = false;
    // Every run.
    ReplayFrame frame;
    int32_t frameNumber = 0;
    // Key events that belong to the next frame: those taken while the game
    // was paused, and the releases of taps held back (SpreadQuickTaps).
    std::vector<QV_KeyEvent> nextFrameKeys;
};

ControlsState controls;

void ReportWriteFailure()
{
    if (!controls.writeFailed)
        std::fprintf(stderr, "tervane: %s: the replay could not be written: %s\n", controls.replayPath.c_str(),
                     std::strerror(errno));
    controls.writeFailed = true;
}

bool Took(std::span<const QV_KeyEvent> events, int32_t key, int32_t down)
{
    for (const QV_KeyEvent& event : events) {
        if (event.symbol == key && event.down == down)
            return true;
    }
    return false;
}

// What the live keyboard took asks to leave, as a player leaves the game:
// Escape let go, or the window closed. It stops a replay's viewer, and it
// ends a pause.
bool LeaveAsked()
{
    return QV_QuitRequested() != 0 || Took(QV_KeyboardEventsTaken(), EscapeKey, 0);
}

// A replay already there gives way only to one with frames in it.
void PlaceRecordingWithFrames()
{
    if (controls.writer && !controls.writeFailed && controls.writer->HoldsFrames() && !controls.recording.Place())
        ReportWriteFailure();
}

// A key let go in the frame it went down in would never be seen held, and
// the keyboard takes such a tap for no tap at all. So its release waits for
// the next frame, and with it whatever else the key does in this frame:
// the next frame gets only the release, when the key ends up let go.
void SpreadQuickTaps(std::vector<QV_KeyEvent>& keys, std::vector<QV_KeyEvent>& later)
{
    enum : uint8_t { Untouched, PressedNow, Waiting };
    std::array<uint8_t, QV_KEYBOARD_KEYS> seen{};
    std::array<int32_t, QV_KEYBOARD_KEYS> endsDown{};
    std::vector<int32_t> waiting;
    std::erase_if(keys, [&](const QV_KeyEvent& event) {
        if (event.symbol < 0 || event.symbol >= QV_KEYBOARD_KEYS)
            return false;
        uint8_t& key = seen[event.symbol];
        if (key == PressedNow && event.down == 0) {
            key = Waiting;
            waiting.push_back(event.symbol);
        }
        if (key == Waiting) {
            endsDown[event.symbol] = event.down;
            return true;
        }
        if (event.down != 0)
            key = PressedNow;
        return false;
    });
    for (const int32_t symbol : waiting) {
        if (endsDown[symbol] == 0)
            later.push_back({symbol, 0});
    }
}

// The keys taken while the game was paused come first: they belong to the
// first frame after it. Only what this frame took live asks for a pause: the
// press that ended one is among the keys it left for this frame.
bool TakeLiveInput(bool joystick)
{
    QV_TakeKeyboardEvents();
    const std::span<const QV_KeyEvent> taken = QV_KeyboardEventsTaken();
    controls.frame.keys.swap(controls.nextFrameKeys);
    controls.nextFrameKeys.clear();
    controls.frame.keys.insert(controls.frame.keys.end(), taken.begin(), taken.end());
    bool padPause = false;
    if (joystick) {
        const PadInput pad = TakePadInput(controls.frame.keys);
        controls.frame.joystick = pad.reading;
        padPause = pad.pausePressed;
    }
    SpreadQuickTaps(controls.frame.keys, controls.nextFrameKeys);
    QV_ApplyKeyEvents(controls.frame.keys);
    if (controls.writer && !controls.writeFailed &&
        !controls.writer->WriteFrame(controls.frameNumber, controls.frame.keys, controls.frame.joystick))
        ReportWriteFailure();
    PlaceRecordingWithFrames();
    return Took(taken, PauseKey, 1) || padPause || QV_ScreenFocusLost() != 0;
}

// -1, 0 or +1 from two opposite keys; both held cancel out.
int32_t KeyAxis(int32_t lessKey, int32_t moreKey)
{
    return QV_KeyboardPushed(moreKey) - QV_KeyboardPushed(lessKey);
}

PlayerInput PlayerInputOf(bool joystick)
{
    if (joystick) {
        const JoystickReading& reading = controls.frame.joystick;
        return {reading.x, reading.y, reading.button != 0};
    }
    return {KeyAxis(QV_KEY_LEFT, QV_KEY_RIGHT), KeyAxis(QV_KEY_UP, QV_KEY_DOWN), QV_KeyboardPushed(QV_KEY_SPACE) != 0};
}

void LetGoOfHeldKeys()
{
    std::vector<QV_KeyEvent> releases;
    for (int32_t key = 0; key < QV_KEYBOARD_KEYS; ++key) {
        if (QV_KeyboardPushed(key) != 0)
            releases.push_back({key, 0});
    }
    QV_ApplyKeyEvents(releases);
}

void TakeReplayedInput()
{
    QV_TakeKeyboardEvents();
    controls.viewerStopped = LeaveAsked();
    controls.cursor->Next(controls.frame);
    QV_ApplyKeyEvents(controls.frame.keys);
}

}  // namespace

std::string StartRecording(const std::string& path, Recording kind)
{
    controls = {};
    controls.replayPath = path;
    controls.kind = kind;
    return controls.recording.Open(path);
}

std::string StartPlayback(const std::string& path)
{
    controls = {};
    controls.replayPath = path;
    std::string error = LoadReplay(path, controls.replay);
    controls.playingBack = error.empty();
    return error;
}

void TakeLiveControls()
{
    controls = {};
}

bool PlayingBack()
{
    return controls.playingBack;
}

const ReplayHeader& PlaybackHeader()
{
    return controls.replay.header;
}

void BeginControlledFrames(const ReplayHeader& header)
{
    controls.frameNumber = 0;
    controls.frame = {};
    if (PlayingBack()) {
        LetGoOfHeldKeys();
        controls.cursor.emplace(controls.replay);
        return;
    }
    if (!controls.recording.Stream())
        return;
    controls.writer.emplace(controls.recording.Stream());
    if (!controls.writer->WriteHeader(header))
        ReportWriteFailure();
}

bool ControlledFramesLeft()
{
    if (!PlayingBack())
        return true;
    return !controls.viewerStopped && controls.frameNumber < controls.replay.frameCount;
}

FrameControls TakeFrameControls(bool joystick)
{
    FrameControls frame;
    if (PlayingBack())
        TakeReplayedInput();
    else
        frame.pause = TakeLiveInput(joystick);
    ++controls.frameNumber;
    frame.player = PlayerInputOf(joystick);
    frame.startHeld = QV_KeyboardPushed(StartKey) != 0;
    // Asked every frame, so every release of Escape is seen.
    frame.leave = QV_KeyboardReleased(EscapeKey) != 0 || QV_QuitRequested() != 0;
    frame.credits = QV_KeyboardPushed(CreditsKey) != 0;
    frame.switchScreen = QV_ScreenSwitchAsked() != 0;
    const std::span<const QV_KeyEvent> live = QV_KeyboardEventsTaken();
    frame.screenshot = Took(live, ScreenshotKey, 1) || Took(live, OtherScreenshotKey, 1);
    frame.watchLast = !PlayingBack() && Took(live, WatchLastKey, 0);
    return frame;
}

PauseEnd WaitWhilePaused()
{
    for (;;) {
        QV_WaitForKeyboardEvent();
        QV_TakeKeyboardEvents();
        if (LeaveAsked())
            return PauseEnd::Leave;
        if (QV_ScreenExposed() != 0)
            QV_ShowScreenAgain();
        const std::span<const QV_KeyEvent> taken = QV_KeyboardEventsTaken();
        controls.nextFrameKeys.insert(controls.nextFrameKeys.end(), taken.begin(), taken.end());
        if (Took(taken, PauseKey, 1) || PadResumes())
            return PauseEnd::Resume;
        if (QV_ScreenSwitchAsked() != 0)
            return PauseEnd::SwitchScreen;
    }
}

bool EndControlledFrames()
{
    const bool recorded = controls.writer.has_value();
    if (controls.writer) {
        if (!controls.writeFailed && !controls.writer->Finish(controls.frameNumber))
            ReportWriteFailure();
        PlaceRecordingWithFrames();
        controls.writer.reset();
    }
    if (!controls.recording.Close())
        ReportWriteFailure();
    if (recorded && controls.kind == Recording::Asked && !controls.writeFailed) {
        std::printf("tervane: replay saved to %s, %d frames\n", controls.replayPath.c_str(), controls.frameNumber);
        std::fflush(stdout);
    }
    if (PlayingBack() && controls.replay.cutShort && !controls.viewerStopped)
        std::fprintf(stderr, "tervane: %s: cut short after %d frames; the recording was stopped before its end\n",
                     controls.replayPath.c_str(), controls.replay.frameCount);
    return !controls.writeFailed || controls.kind == Recording::Kept;
}
