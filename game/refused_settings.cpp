#include "game/refused_settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A value longer than this is cut short on the game's screen, so that the
// line fits the playfield in the game's 8-pixel text.
constexpr size_t ShownValueLength = 12;

std::vector<std::string> refusedLines;

std::string ShownValue(const std::string& value)
{
    return value.size() <= ShownValueLength ? value : value.substr(0, ShownValueLength - 3) + "...";
}

} // namespace

void RefuseSetting(const char* setting, const std::string& value, const char* why, const std::string& kept)
{
    std::fprintf(stderr, "tervane: %s = %s: %s; it stays on %s\n", setting, value.c_str(), why, kept.c_str());
    const std::string line = std::string(setting) + " = " + ShownValue(value) + " refused, stays " + kept;
    if (std::find(refusedLines.begin(), refusedLines.end(), line) == refusedLines.end())
        refusedLines.push_back(line);
}

std::span<const std::string> RefusedSettingLines()
{
    return refusedLines;
}

void ForgetRefusedSettings()
{
    refusedLines.clear();
}
