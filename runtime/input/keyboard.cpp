#include "runtime/input/keyboard.h"

#include "runtime/input/screen_events.h"
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
    // What the QV_KeyboardReleased calls have seen of each key.
    // Deliberately kept across QV_InitKeyboard.
    std::array<QV_KeyRelease, QV_KEYBOARD_RELEASE_KEYS> releases{};
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

bool IsMappable(const QV_KeyMapping& mapping)
{
    return IsKey(mapping.chosen, QV_KEYBOARD_KEYS) && IsKey(mapping.usual, QV_KEYBOARD_KEYS);
}

int32_t Translated(int32_t symbol)
{
    return IsKey(symbol, QV_KEYBOARD_KEYS) ? keyboard.keyMap[symbol] : symbol;
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
    tervane::input::ForgetScreenEvents();
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
    tervane::input::StartScreenEvents();
    int32_t taken = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        const bool isKey = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (!tervane::input::TakeScreenEvent(event) && isKey)
            TakeKeyEvent(event.key.keysym.sym, event.type == SDL_KEYDOWN ? 1 : 0);
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
            any |= keyboard.releases[k].Seen(keyboard.held[k]);
        return any;
    }
    return IsKey(key, QV_KEYBOARD_RELEASE_KEYS) ? keyboard.releases[key].Seen(keyboard.held[key]) : 0;
}

int32_t QV_KeyRelease::Seen(int32_t held)
{
    if (held != 0) {
        armed = 1;
        return 0;
    }
    if (armed == 0)
        return 0;
    armed = 0;
    return 1;
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
