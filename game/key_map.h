// The keys the player plays with. Each of six actions has a setting naming
// its key as SDL 1.2 names it ("up", "space", "left ctrl"); the keyboard
// layer turns the chosen keys into the game's usual ones as events arrive,
// so the rules and the replays only ever see the usual keys.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The chosen key names, as the settings file gives them.
struct ChosenKeys {
    std::string KeyUp = "up";
    std::string KeyDown = "down";
    std::string KeyLeft = "left";
    std::string KeyRight = "right";
    std::string KeyFire = "space";
    std::string KeyStart = "s";
};

// Written by this module alone; the rest of the game reads it.
extern ChosenKeys KeyChoices;

// One action the player can move to a key of their choice.
struct PlayerKey {
    const char* setting;              // its key in the settings file
    const char* usualName;            // the name of its usual key, the setting's default
    int32_t usual;                    // the symbol the game's rules ask about
    std::string ChosenKeys::*chosen;  // the name the player chose
};

// The six actions, in the order of their settings.
std::span<const PlayerKey> PlayerKeys();

// The name the player chose for an action's key, and the choosing of one;
// spaces and tabs around a name are dropped.
const std::string& ChosenName(const PlayerKey& key);
void ChooseKey(const PlayerKey& key, const std::string& name);

// A chosen key the keyboard layer was not given, and why.
struct KeyRefusal {
    const PlayerKey* key;
    const char* why;
};

// Hands the chosen keys to the keyboard layer, which must be started. A name
// that names no key, a key given to two actions, Escape, F12 and P (which
// stay the game's own) each leave the action on its usual key; these are
// returned in the order found. The names themselves are left as the player
// wrote them.
std::vector<KeyRefusal> ApplyPlayerKeys();

// The name of the key that starts a game, as the player wrote it, when the
// last ApplyPlayerKeys gave starting a key other than S; empty otherwise.
std::string MovedStartKeyName();

// The name of the key an action answers to since the last ApplyPlayerKeys:
// the player's, as written, when it was given; its usual key's otherwise.
std::string KeyNameInUse(const PlayerKey& key);

// True when the last ApplyPlayerKeys gave any action a key other than its
// usual one.
bool AnyKeyMoved();
