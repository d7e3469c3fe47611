#include "game/key_map.h"

#include "runtime/input/keyboard.h"

#include <algorithm>
#include <array>
#include <string>

ChosenKeys KeyChoices;

namespace {

const PlayerKey Actions[] = {
    {"KeyUp", "up", QV_KEY_UP, &ChosenKeys::KeyUp},
    {"KeyDown", "down", QV_KEY_DOWN, &ChosenKeys::KeyDown},
    {"KeyLeft", "left", QV_KEY_LEFT, &ChosenKeys::KeyLeft},
    {"KeyRight", "right", QV_KEY_RIGHT, &ChosenKeys::KeyRight},
    {"KeyFire", "space", QV_KEY_SPACE, &ChosenKeys::KeyFire},
    {"KeyStart", "s", QV_KEY_S, &ChosenKeys::KeyStart},
};
constexpr size_t KeyCount = std::size(Actions);
constexpr size_t StartAction = 5;

// Whether the last ApplyPlayerKeys gave each action a key other than its usual one.
std::array<bool, KeyCount> keysMoved{};

size_t ActionOf(const PlayerKey& key)
{
    return size_t(&key - Actions);
}

// Leaving the game, the credits line and the pause answer to their keys
// whatever the player chooses.
bool IsFixedKey(int32_t symbol)
{
    return symbol == QV_KEY_ESCAPE || symbol == QV_KEY_F12 || symbol == QV_KEY_P;
}

// Spaces and tabs around a name are not part of it, as around any value.
std::string Trimmed(const std::string& name)
{
    const size_t first = name.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

// Each action's chosen symbol, or its usual one when the name is refused.
std::array<int32_t, KeyCount> NamedKeys(std::vector<KeyRefusal>& refusals)
{
    std::array<int32_t, KeyCount> symbols{};
    for (size_t action = 0; action < KeyCount; ++action) {
        const PlayerKey& key = Actions[action];
        const int32_t symbol = QV_KeySymbolFromName(ChosenName(key).c_str());
        symbols[action] = key.usual;
        if (symbol == QV_NO_KEY)
            refusals.push_back({&key, "no key has that name"});
        else if (IsFixedKey(symbol))
            refusals.push_back({&key, "Escape, F12 and P cannot be given to another action"});
        else
            symbols[action] = symbol;
    }
    return symbols;
}

bool SharesItsKey(const std::array<int32_t, KeyCount>& symbols, size_t action)
{
    for (size_t other = 0; other < KeyCount; ++other) {
        if (other != action && symbols[other] == symbols[action])
            return true;
    }
    return false;
}

// An action that shares its key goes back to its usual one. That can make
// it collide with another action's choice in turn; the usual keys differ
// from each other, so a few rounds always end with every key on one action.
void SeparateSharedKeys(std::array<int32_t, KeyCount>& symbols, std::vector<KeyRefusal>& refusals)
{
    for (bool moved = true; moved;) {
        moved = false;
        std::array<int32_t, KeyCount> next = symbols;
        for (size_t action = 0; action < KeyCount; ++action) {
            if (symbols[action] != Actions[action].usual && SharesItsKey(symbols, action)) {
                refusals.push_back({&Actions[action], "that key is given to another action too"});
                next[action] = Actions[action].usual;
                moved = true;
            }
        }
        symbols = next;
    }
}

}  // namespace

std::span<const PlayerKey> PlayerKeys()
{
    return Actions;
}

const std::string& ChosenName(const PlayerKey& key)
{
    return KeyChoices.*key.chosen;
}

void ChooseKey(const PlayerKey& key, const std::string& name)
{
    KeyChoices.*key.chosen = Trimmed(name);
}

std::vector<KeyRefusal> ApplyPlayerKeys()
{
    std::vector<KeyRefusal> refusals;
    std::array<int32_t, KeyCount> symbols = NamedKeys(refusals);
    SeparateSharedKeys(symbols, refusals);
    std::array<QV_KeyMapping, KeyCount> mappings{};
    for (size_t action = 0; action < KeyCount; ++action) {
        mappings[action] = {symbols[action], Actions[action].usual};
        keysMoved[action] = symbols[action] != Actions[action].usual;
    }
    QV_SetKeyMap(mappings);
    return refusals;
}

std::string MovedStartKeyName()
{
    return keysMoved[StartAction] ? ChosenName(Actions[StartAction]) : std::string();
}

std::string KeyNameInUse(const PlayerKey& key)
{
    return keysMoved[ActionOf(key)] ? ChosenName(key) : key.usualName;
}

bool AnyKeyMoved()
{
    return std::find(keysMoved.begin(), keysMoved.end(), true) != keysMoved.end();
}
