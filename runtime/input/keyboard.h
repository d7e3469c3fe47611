// Polled keyboard: once per frame QV_ExamineKeyboard drains SDL's event queue
// into a table of held keys, which the queries then read. Keys are SDL 1.2
// key symbols.
#pragma once

#include <cstdint>
#include <span>

// Every SDL 1.2 key symbol is below this.
constexpr int32_t QV_KEYBOARD_KEYS = 512;
// QV_KeyboardReleased can only watch symbols below this.
constexpr int32_t QV_KEYBOARD_RELEASE_KEYS = 256;
// Argument of QV_KeyboardReleased meaning "any key".
constexpr int32_t QV_ANY_KEY = -1;
// What QV_KeySymbolFromName gives for a name that names no key.
constexpr int32_t QV_NO_KEY = -1;

// The SDL 1.2 symbols of the keys a game asks about by name.
constexpr int32_t QV_KEY_ESCAPE = 27;
constexpr int32_t QV_KEY_SPACE = 32;
constexpr int32_t QV_KEY_P = 112;
constexpr int32_t QV_KEY_R = 114;
constexpr int32_t QV_KEY_S = 115;
constexpr int32_t QV_KEY_UP = 273;
constexpr int32_t QV_KEY_DOWN = 274;
constexpr int32_t QV_KEY_RIGHT = 275;
constexpr int32_t QV_KEY_LEFT = 276;
constexpr int32_t QV_KEY_F10 = 291;
constexpr int32_t QV_KEY_F12 = 293;
constexpr int32_t QV_KEY_PRINT = 316;

// Clears the held keys, the screen's events (screen_events.h) and the key
// map and starts SDL video unless it already runs. Returns 1 when the
// keyboard can be used, 0 when SDL cannot be started.
int32_t QV_InitKeyboard();

// One press (down 1) or release (down 0) of an SDL key symbol.
struct QV_KeyEvent {
    int32_t symbol;
    int32_t down;
};

// Takes every pending SDL event, recording key presses and releases,
// translated through the key map, and handing the screen's own events to
// screen_events.h. Returns 1 if at least one event of any type was taken.
// The same as QV_TakeKeyboardEvents followed by QV_ApplyKeyEvents of what it
// took.
int32_t QV_ExamineKeyboard();

// The first half of an examination: takes every pending SDL event, keeping
// the key events translated through the key map (readable through
// QV_KeyboardEventsTaken) and the screen's events, but leaves the held keys
// as they were. Returns 1 if at least one event of any type was taken.
int32_t QV_TakeKeyboardEvents();

// The key events the last examination took, in the order they came.
std::span<const QV_KeyEvent> QV_KeyboardEventsTaken();

// The second half: records `events` in order as if they had just come from
// SDL. They are taken as already translated, so events recorded from an
// earlier examination come out the same under any key map. Symbols outside
// 0 to 511 are ignored.
void QV_ApplyKeyEvents(std::span<const QV_KeyEvent> events);

// 1 if `key` (0 to 511) was down at the last examination, else 0.
int32_t QV_KeyboardPushed(int32_t key);

// 1 exactly once for each release of `key` (0 to 255) that follows a call
// made while the key was held; keys let go without having been asked about
// while held are not reported. QV_ANY_KEY asks about symbols 0 to 254 at once.
int32_t QV_KeyboardReleased(int32_t key);

// The same rule for one key whose held state the caller keeps itself, for a
// caller that asks about the key only at times.
struct QV_KeyRelease {
    uint8_t armed = 0;  // a look saw the key held; its release is not reported yet

    // 1 when `held` is 0 and the key was held at an earlier look whose
    // release has not been reported; a look while held arms it.
    int32_t Seen(int32_t held);
};

// Sleeps until an event is waiting in SDL's queue, leaving it there for the
// next examination.
void QV_WaitForKeyboardEvent();

// One key the player chose for one of the game's: while the key map holds
// it, SDL's `chosen` reaches the game as `usual`.
struct QV_KeyMapping {
    int32_t chosen;
    int32_t usual;
};

// Replaces the key map with `mappings` (an empty span restores every key to
// itself). A usual key that no mapping chooses is dropped rather than passed
// on, so a moved action answers to its new key alone; keys the map does not
// mention reach the game as they are. Symbols outside 0 to 511 are ignored.
void QV_SetKeyMap(std::span<const QV_KeyMapping> mappings);

// The symbol whose SDL 1.2 key name (as SDL_GetKeyName gives it: "up",
// "space", "left ctrl") is `name`, ASCII case ignored; QV_NO_KEY for none.
// SDL knows its key names once video runs, so call it after QV_InitKeyboard.
int32_t QV_KeySymbolFromName(const char* name);

// Nothing to release: SDL as a whole is shut down by the sprite layer.
void QV_FreeKeyboards();
