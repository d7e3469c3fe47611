#include "runtime/input/keyboard.h"

#include "runtime/sdl/sdl_lifetime.h"

#include <SDL.h>

#include <array>
#include <vector>

namespace {

struct KeyboardState {
    // 1 while the key is down, as of the last examination.
    std::array<int8_t, QV_KEYBOARD_KEYS> held{};
    // 1 when a QV_KeyboardReleased call saw the key held and its release has
    // not been reported yet. Deliberately kept across QV_InitKeyboard.
    std::array<uint8_t, QV_KEYBOARD_RELEASE_KEYS> releaseArmed{};
    int32_t quitRequested = 0;
    // 1 when the last examination took the window's loss of the keyboard.
    int32_t focusLost = 0;
    // The key events of the last examination, kept for whoever replays them.
    std::vector<QV_KeyEvent> taken;
};

KeyboardState keyboard;

bool IsKey(int32_t key, int32_t limit)
{
    return key >= 0 && key < limit;
}

void RecordKey(int32_t symbol, int32_t down)
{
    if (IsKey(symbol, QV_KEYBOARD_KEYS))
        keyboard.held[symbol] = static_cast<int8_t>(down);
}

int32_t ReleasedKey(int32_t key)
{
    if (keyboard.held[key] == 1) {
        keyboard.releaseArmed[key] = 1;
        return 0;
    }
    if (keyboard.releaseArmed[key] != 0) {
        keyboard.releaseArmed[key] = 0;
        return 1;
    }
    return 0;
}

} // namespace

int32_t QV_InitKeyboard()
{
    keyboard.held.fill(0);
    keyboard.quitRequested = 0;
    keyboard.taken.clear();
    return QV_StartSDLVideo();
}

int32_t QV_ExamineKeyboard()
{
    const int32_t taken = QV_TakeKeyboardEvents();
    QV_ApplyKeyEvents(keyboard.taken);
    return taken;
}

int32_t QV_TakeKeyboardEvents()
{
    keyboard.taken.clear();
    keyboard.focusLost = 0;
    int32_t taken = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
            keyboard.taken.push_back({event.key.keysym.sym, 1});
            break;
        case SDL_KEYUP:
            keyboard.taken.push_back({event.key.keysym.sym, 0});
            break;
        case SDL_QUIT:
            keyboard.quitRequested = 1;
            break;
        case SDL_ACTIVEEVENT:
            if (event.active.gain == 0 && (event.active.state & SDL_APPINPUTFOCUS) != 0)
                keyboard.focusLost = 1;
            break;
        default:
            break;
        }
        taken = 1;
    }
    return taken;
}

std::span<const QV_KeyEvent> QV_KeyboardEventsTaken()
{
    return keyboard.taken;
}

void QV_ApplyKeyEvents(std::span<const QV_KeyEvent> events)
{
    for (const QV_KeyEvent& event : events)
        RecordKey(event.symbol, event.down);
}

int32_t QV_KeyboardPushed(int32_t key)
{
    return IsKey(key, QV_KEYBOARD_KEYS) ? keyboard.held[key] : 0;
}

int32_t QV_KeyboardReleased(int32_t key)
{
    if (key == QV_ANY_KEY) {
        int32_t any = 0;
        // The any-key scan stops one short of the table: symbol 255 takes no part.
        for (int32_t k = 0; k < QV_KEYBOARD_RELEASE_KEYS - 1; ++k)
            any |= ReleasedKey(k);
        return any;
    }
    return IsKey(key, QV_KEYBOARD_RELEASE_KEYS) ? ReleasedKey(key) : 0;
}

int32_t QV_KeyboardQuitRequested()
{
    return keyboard.quitRequested;
}

int32_t QV_KeyboardFocusLost()
{
    return keyboard.focusLost;
}

void QV_WaitForKeyboardEvent()
{
    // With no event to fill in, SDL 1.2 leaves the event in the queue for
    // the next examination; it sleeps between its looks at the queue.
    SDL_WaitEvent(nullptr);
}

void QV_FreeKeyboards()
{
}
