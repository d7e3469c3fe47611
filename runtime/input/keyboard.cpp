#include "runtime/input/keyboard.h"

#include "runtime/sdl/sdl_lifetime.h"

#include <SDL.h>

#include <array>
#include <strings.h>
#include <vector>

static_assert(QV_KEY_ESCAPE == SDLK_ESCAPE && QV_KEY_SPACE == SDLK_SPACE && QV_KEY_P == SDLK_p && QV_KEY_S == SDLK_s);
static_assert(QV_KEY_UP == SDLK_UP && QV_KEY_DOWN == SDLK_DOWN && QV_KEY_RIGHT == SDLK_RIGHT &&
              QV_KEY_LEFT == SDLK_LEFT);
static_assert(QV_KEY_F12 == SDLK_F12);

namespace {

// What the key map turns a key into that the game should not see.
constexpr int32_t DroppedKey = QV_NO_KEY;

using KeyMap = std::array<int32_t, QV_KEYBOARD_KEYS>;

constexpr KeyMap IdentityKeyMap()
{
    KeyMap map{};
    for (int32_t key = 0; key < QV_KEYBOARD_KEYS; ++key)
        map[key] = key;
    return map;
}

struct KeyboardState {
    // 1 while the key is down, as of the last examination.
    std::array<int8_t, QV_KEYBOARD_KEYS> held{};
    // 1 when a QV_KeyboardReleased call saw the key held and its release has
    // not been reported yet. Deliberately kept across QV_InitKeyboard.
    std::array<uint8_t, QV_KEYBOARD_RELEASE_KEYS> releaseArmed{};
    int32_t quitRequested = 0;
    // 1 when the last examination took the window's loss of the keyboard.
    int32_t focusLost = 0;
    // 1 when the last examination took word of the screen uncovered.
    int32_t screenExposed = 0;
    // 1 when the last examination took Alt+Enter.
    int32_t screenSwitchAsked = 0;
    // The Enter key (main or keypad) whose press was Alt+Enter, so its
    // release is kept from the game too; SDLK_UNKNOWN for none.
    int32_t switchingEnter = SDLK_UNKNOWN;
    // The key events of the last examination, kept for whoever replays them.
    std::vector<QV_KeyEvent> taken;
    // What each symbol SDL delivers reaches the game as.
    KeyMap keyMap = IdentityKeyMap();
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

bool IsMappable(const QV_KeyMapping& mapping)
{
    return IsKey(mapping.chosen, QV_KEYBOARD_KEYS) && IsKey(mapping.usual, QV_KEYBOARD_KEYS);
}

int32_t Translated(int32_t symbol)
{
    return IsKey(symbol, QV_KEYBOARD_KEYS) ? keyboard.keyMap[symbol] : symbol;
}

bool IsEnter(int32_t symbol)
{
    return symbol == SDLK_RETURN || symbol == SDLK_KP_ENTER;
}

// Alt+Enter and the release of its Enter are the screen's, not the game's.
// A press of Enter without Alt means that release never came (it can go
// astray while the screen is reopened), so the game sees Enter again.
bool TakenForScreenSwitch(const SDL_KeyboardEvent& key)
{
    const int32_t symbol = key.keysym.sym;
    if (!IsEnter(symbol))
        return false;
    if (key.type == SDL_KEYDOWN) {
        const bool switching = (key.keysym.mod & KMOD_ALT) != 0;
        keyboard.switchingEnter = switching ? symbol : SDLK_UNKNOWN;
        if (switching)
            keyboard.screenSwitchAsked = 1;
        return switching;
    }
    if (symbol != keyboard.switchingEnter)
        return false;
    keyboard.switchingEnter = SDLK_UNKNOWN;
    return true;
}

void TakeKeyEvent(int32_t symbol, int32_t down)
{
    const int32_t seen = Translated(symbol);
    if (seen != DroppedKey)
        keyboard.taken.push_back({seen, down});
}

}  // namespace

int32_t QV_InitKeyboard()
{
    keyboard.held.fill(0);
    keyboard.quitRequested = 0;
    keyboard.switchingEnter = SDLK_UNKNOWN;
    keyboard.taken.clear();
    keyboard.keyMap = IdentityKeyMap();
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
    keyboard.screenExposed = 0;
    keyboard.screenSwitchAsked = 0;
    int32_t taken = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (!TakenForScreenSwitch(event.key))
                TakeKeyEvent(event.key.keysym.sym, event.type == SDL_KEYDOWN ? 1 : 0);
            break;
        case SDL_QUIT: keyboard.quitRequested = 1; break;
        case SDL_VIDEOEXPOSE: keyboard.screenExposed = 1; break;
        case SDL_ACTIVEEVENT:
            if (event.active.gain == 0 && (event.active.state & SDL_APPINPUTFOCUS) != 0)
                keyboard.focusLost = 1;
            break;
        default: break;
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

int32_t QV_KeyboardScreenExposed()
{
    return keyboard.screenExposed;
}

int32_t QV_KeyboardScreenSwitchAsked()
{
    return keyboard.screenSwitchAsked;
}

void QV_WaitForKeyboardEvent()
{
    // With no event to fill in, SDL 1.2 leaves the event in the queue for
    // the next examination; it sleeps between its looks at the queue.
    SDL_WaitEvent(nullptr);
}

void QV_SetKeyMap(std::span<const QV_KeyMapping> mappings)
{
    keyboard.keyMap = IdentityKeyMap();
    // Dropping every usual key first lets a key chosen for another action
    // take its new meaning whatever the order of the mappings.
    for (const QV_KeyMapping& mapping : mappings) {
        if (IsMappable(mapping))
            keyboard.keyMap[mapping.usual] = DroppedKey;
    }
    for (const QV_KeyMapping& mapping : mappings) {
        if (IsMappable(mapping))
            keyboard.keyMap[mapping.chosen] = mapping.usual;
    }
}

int32_t QV_KeySymbolFromName(const char* name)
{
    // SDL 1.2 has no lookup by name; its names are unique, and every symbol
    // without one shares the same placeholder, which names no key.
    const char* const unnamed = SDL_GetKeyName(SDLK_UNKNOWN);
    if (name == nullptr || strcasecmp(name, unnamed) == 0)
        return QV_NO_KEY;
    for (int32_t symbol = 0; symbol < SDLK_LAST; ++symbol) {
        if (strcasecmp(SDL_GetKeyName(static_cast<SDLKey>(symbol)), name) == 0)
            return symbol;
    }
    return QV_NO_KEY;
}

void QV_FreeKeyboards() {}
