// The keys the player plays with. Each of six actions has a setting naming
// its key as SDL 1.2 names it ("up", "space", "left ctrl"); the keyboard
// layer turns the chosen keys into the game's usual ones as events arrive,
// so the rules and the replays only ever see the usual keys.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The chosen key names, as the settings file gives them.
extern std::string KeyUp;
extern std::string KeyDown;
extern std::string KeyLeft;
extern std::string KeyRight;
extern std::string KeyFire;
extern std::string KeyStart;

// One action the player can move to a key of their choice.
struct PlayerKey {
    const char* setting;    // its key in the settings file
    const char* usualName;  // the name of its usual key, the setting's default
    int32_t usual;          // the symbol the game's rules ask about
    std::string* chosen;    // the name the player chose
};

// The six actions, in the order of their settings.
std::span<const PlayerKey> PlayerKeys();

// Hands the chosen keys to the keyboard layer, which must be started. A name
// that names no key, a key given to two actions, Escape, F12 and P (which
// stay the game's own) each leave the action on its usual key, said in one line
// on standard error; the names themselves are left as the player wrote them.
void ApplyPlayerKeys();
